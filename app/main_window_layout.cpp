// WM_SIZE: the top row of controls, the filter bar, the list and the back
// buffer.
#include "app/core/top_row_layout.h"
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "search/filter_state.h"

namespace quillmor {
namespace {

// A combo box's height given to SetWindowPos is that of its open list; the
// closed box keeps the height of its items.
constexpr int32_t kDroppedListHeight96 = 320;

void Defer(HDWP& defer, HWND control, const Rect& r, int height, bool show) {
  if (control == nullptr || defer == nullptr) return;
  const UINT visibility = show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  defer = DeferWindowPos(defer, control, nullptr, r.left, r.top, r.Width(), height,
                         SWP_NOZORDER | SWP_NOACTIVATE | visibility);
}

void LayOutTopRowControls(MainWindow& w) {
  const MainWindowControls& c = w.controls;
  const FilterSettings& presets = w.app.filters.presets;
  const TopRowLayout row = LayOutTopRow(w.clientWidth, presets.sizePreset == kSizeCustom,
                                        presets.timePreset == kTimeCustom, static_cast<int32_t>(w.dpi));
  const int list = Scaled(w, kDroppedListHeight96);
  HDWP defer = BeginDeferWindowPos(8);
  Defer(defer, c.scopeBox, row.scope, list, true);
  Defer(defer, c.searchEdit, row.search, row.search.Height(), true);
  Defer(defer, c.sizePreset, row.sizePreset, list, true);
  Defer(defer, c.customSize, row.customSize, row.customSize.Height(), row.showCustomSize);
  Defer(defer, c.sizeUnit, row.sizeUnit, list, row.showCustomSize);
  Defer(defer, c.timePreset, row.timePreset, list, true);
  Defer(defer, c.dateFrom, row.dateFrom, row.dateFrom.Height(), row.showDates);
  Defer(defer, c.dateTo, row.dateTo, row.dateTo.Height(), row.showDates);
  if (defer != nullptr) EndDeferWindowPos(defer);
}

}  // namespace

void RecreateBackBuffer(MainWindow& w) {
  DeleteBackBuffer(w);
  if (w.clientWidth < 1 || w.clientHeight < 1) return;
  const HDC windowDc = GetDC(w.hwnd);
  w.backBuffer.dc = CreateCompatibleDC(windowDc);
  w.backBuffer.bitmap = CreateCompatibleBitmap(windowDc, w.clientWidth, w.clientHeight);
  ReleaseDC(w.hwnd, windowDc);
  if (w.backBuffer.dc == nullptr || w.backBuffer.bitmap == nullptr) {
    DeleteBackBuffer(w);
    return;
  }
  w.backBuffer.previous = SelectObject(w.backBuffer.dc, w.backBuffer.bitmap);
  w.backBuffer.width = w.clientWidth;
  w.backBuffer.height = w.clientHeight;
}

void DeleteBackBuffer(MainWindow& w) {
  BackBuffer& b = w.backBuffer;
  if (b.dc != nullptr && b.previous != nullptr) SelectObject(b.dc, b.previous);
  if (b.bitmap != nullptr) DeleteObject(b.bitmap);
  if (b.dc != nullptr) DeleteDC(b.dc);
  b = BackBuffer{};
}

namespace {

// Everything at a client size of `width` x `height`; false when there is
// nothing to lay out (a minimised window).
bool LayOutAll(MainWindow& w, int width, int height) {
  CancelRename(w, false);
  w.clientWidth = width;
  w.clientHeight = height;
  if (width < 1 || height < 1) return false;
  RecreateBackBuffer(w);
  LayOutTopRowControls(w);
  LayOutFilterBarControls(w);
  LayOutList(w);
  InvalidateRect(w.hwnd, nullptr, FALSE);
  return true;
}

}  // namespace

void OnSize(MainWindow& w, UINT kind, int width, int height) {
  if (LayOutAll(w, width, height) && kind != SIZE_MINIMIZED) SaveWindowSettingsNow(w);
}

void RelayoutAtCurrentSize(MainWindow& w) {
  RECT client{};
  GetClientRect(w.hwnd, &client);
  LayOutAll(w, client.right, client.bottom);
}

RECT ListAreaRect(const MainWindow& w) { return RECT{0, w.listTop, w.clientWidth, w.clientHeight}; }

void InvalidateListArea(MainWindow& w) {
  const RECT area = ListAreaRect(w);
  InvalidateRect(w.hwnd, &area, FALSE);
}

}  // namespace quillmor
