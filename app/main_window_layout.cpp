// WM_SIZE: the top row of controls, the filter bar, the list's scroll bars and
// the back buffer.
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "search/filter_state.h"
#include "settings/dpi_scale.h"

namespace quillmor {
namespace {

constexpr int kControlHeight96 = 38;

void Place(HWND control, int x, int y, int width, int height) {
  if (control != nullptr) SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void LayOutTopRow(MainWindow& w) {
  const auto s = [&](int v) { return ScaleFrom96(v, static_cast<int32_t>(w.dpi)); };
  const MainWindowControls& c = w.controls;
  const bool customSize = w.app.filters.presets.sizePreset == kSizeCustom;
  const bool customTime = w.app.filters.presets.timePreset == kTimeCustom;
  const int y = s(16);
  const int h = s(kControlHeight96);
  const int g = s(12);
  const int combo = s(130);
  const int extra = (customSize ? s(78) + g + s(78) + s(3) : 0) + (customTime ? 2 * combo + g + s(3) : 0);
  int xs = w.clientWidth - 2 * combo - extra - g - s(20);
  xs = std::max(xs, s(220) + s(120) + g + s(20));
  Place(c.scopeBox, s(20), y, s(120), s(300));
  const int searchLeft = s(20) + s(120) + g;
  Place(c.searchEdit, searchLeft, y, std::max(s(80), xs - g - searchLeft), h);
  Place(c.sizePreset, xs, y, combo, s(300));
  int next = xs + combo + g;
  if (customSize) {
    Place(c.customSize, xs + combo + s(3), y, s(78), h);
    Place(c.sizeUnit, xs + combo + s(78) + s(6), y, s(78), s(300));
    next = xs + combo + s(78) + s(6) + s(78) + g;
  }
  Place(c.timePreset, next, y, combo, s(300));
  if (customTime) {
    Place(c.dateFrom, next + combo + s(3), y, combo, h);
    Place(c.dateTo, next + combo + s(3) + combo + s(6), y, combo, h);
  }
  const int show = customSize ? SW_SHOWNA : SW_HIDE;
  ShowWindow(c.customSize, show);
  ShowWindow(c.sizeUnit, show);
  ShowWindow(c.dateFrom, customTime ? SW_SHOWNA : SW_HIDE);
  ShowWindow(c.dateTo, customTime ? SW_SHOWNA : SW_HIDE);
}

void LayOutFilterBar(MainWindow& w) {
  const auto s = [&](int v) { return ScaleFrom96(v, static_cast<int32_t>(w.dpi)); };
  const MainWindowControls& c = w.controls;
  for (size_t i = 0; i < c.tagButtons.size(); ++i) {
    Place(c.tagButtons[i], s(15) + static_cast<int>(i) * s(80), s(78), s(72), s(40));
  }
  Place(c.statusLine, s(15), w.clientHeight - s(24), std::max(0, w.clientWidth - s(30)), s(20));
  w.listTop = s(126);
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

void OnSize(MainWindow& w, UINT kind, int width, int height) {
  w.clientWidth = width;
  w.clientHeight = height;
  if (width < 1 || height < 1) return;
  RecreateBackBuffer(w);
  LayOutTopRow(w);
  LayOutFilterBar(w);
  LayOutList(w);
  (void)kind;
  InvalidateRect(w.hwnd, nullptr, FALSE);
}

void RelayoutAtCurrentSize(MainWindow& w) {
  RECT client{};
  GetClientRect(w.hwnd, &client);
  OnSize(w, SIZE_RESTORED, client.right, client.bottom);
}

RECT ListAreaRect(const MainWindow& w) { return RECT{0, w.listTop, w.clientWidth, w.clientHeight}; }

void InvalidateListArea(MainWindow& w) {
  const RECT area = ListAreaRect(w);
  InvalidateRect(w.hwnd, &area, FALSE);
}

}  // namespace quillmor
