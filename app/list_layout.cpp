// The list's layout at the window's size: its scroll bars, the path column's
// width, the view mode and DPI changes.
#include <algorithm>

#include "app/core/dpi_rescale.h"
#include "app/core/drawn_scroll_bar.h"
#include "app/core/path_column_width.h"
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"

namespace quillmor {
namespace {

void PlaceBar(HWND bar, const Rect& rect) {
  if (bar == nullptr) return;
  SetWindowPos(bar, nullptr, rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void UpdatePathColumnWidth(MainWindow& w) {
  ListState& list = w.list;
  if (IsIconView(list.viewMode)) return;
  const ListFrame frame = ListFrameOf(w);
  const Rect area = ListArea(frame);
  PathColumnInput input;
  input.storedPathWidth = list.columnWidths[kColumnPath];
  input.listAreaWidth = area.Width();
  input.verticalOffset = list.scrollOffset;
  input.rowHeight = ViewMetricsFor(frame.viewMode, frame.dpi).rowHeight;
  input.viewHeight = area.Height();
  input.rowCount = list.shown ? std::min<int64_t>(list.count, static_cast<int64_t>(list.shown->size())) : 0;
  input.dpi = frame.dpi;
  input.columnWidths = list.columnWidths;

  // Paths are measured in the list's 13 px font.
  const HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ oldFont = SelectObject(dc, w.fonts.list);
  const Results rows = list.shown;
  const MeasureRowPath measure = [&](int64_t row) -> std::optional<int32_t> {
    const ListRow data = ReadListRow((*rows)[static_cast<size_t>(row)]);
    if (!data.valid || data.path.empty()) return std::nullopt;
    SIZE size{};
    if (!GetTextExtentPoint32W(dc, W(data.path), static_cast<int>(data.path.size()), &size)) return std::nullopt;
    return size.cx;
  };
  list.pathWidth = ComputePathColumnWidth(input, measure).width;
  SelectObject(dc, oldFont);
  DeleteDC(dc);
  list.hScrollOffset = std::clamp(list.hScrollOffset, 0, MaxHorizontalOffset(ListFrameOf(w)));
}

void SyncListScrollBars(MainWindow& w) {
  const ListFrame frame = ListFrameOf(w);
  const ViewMetrics metrics = ViewMetricsFor(frame.viewMode, frame.dpi);
  const int64_t rowHeight = std::max(1, metrics.rowHeight);
  // The vertical bar counts rows (of cells), so that millions fit its range.
  SCROLLINFO v{};
  v.cbSize = sizeof v;
  v.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  const int64_t gridRows = ContentHeight(frame, w.list.count) / rowHeight;
  v.nMax = static_cast<int>(std::clamp<int64_t>(gridRows - 1, 0, INT32_MAX));
  v.nPage = static_cast<UINT>(std::max<int64_t>(1, ListArea(frame).Height() / rowHeight));
  v.nPos = static_cast<int>(std::min<int64_t>(w.list.scrollOffset / rowHeight, INT32_MAX));
  if (w.controls.listVScroll != nullptr) SetScrollInfo(w.controls.listVScroll, SB_CTL, &v, FALSE);
  SCROLLINFO h{};
  h.cbSize = sizeof h;
  h.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  h.nMax = static_cast<int>(std::clamp<int64_t>(TotalColumnWidth(frame) - 1, 0, INT32_MAX));
  h.nPage = static_cast<UINT>(std::max(1, ListArea(frame).Width()));
  h.nPos = w.list.hScrollOffset;
  if (w.controls.listHScroll != nullptr) SetScrollInfo(w.controls.listHScroll, SB_CTL, &h, FALSE);
}

void LayOutList(MainWindow& w) {
  if (w.clientWidth < 1 || w.clientHeight < 1) return;
  UpdatePathColumnWidth(w);
  // The window's own bars stay hidden; the list draws its own. These
  // controls only carry the ranges, at the places the drawn bars take.
  const ListFrame frame = ListFrameOf(w);
  PlaceBar(w.controls.listVScroll, VerticalBarRect(frame));
  PlaceBar(w.controls.listHScroll, HorizontalBarRect(frame));
  SetListScrollRange(w);
}

void SetListScrollRange(MainWindow& w) {
  UpdatePathColumnWidth(w);
  ScrollListTo(w, w.list.scrollOffset);
  SyncListScrollBars(w);
  PublishListGeometry(w);
}

void SetListViewMode(MainWindow& w, int32_t viewMode) {
  viewMode = std::clamp(viewMode, kViewList, kViewLargeIcons);
  if (viewMode == w.list.viewMode) return;
  CancelRename(w, false);
  ForgetListHover(w);
  w.list.viewMode = viewMode;
  w.list.scrollOffset = 0;
  w.list.hScrollOffset = 0;
  LayOutList(w);
  NoteListScrolled(w);
  InvalidateListArea(w);
}

void RescaleListForDpi(MainWindow& w, uint32_t oldDpi, uint32_t newDpi) {
  StoredMetrics metrics;
  metrics.columnWidths = w.list.columnWidths;
  metrics.verticalOffset = w.list.scrollOffset;
  metrics.horizontalOffset = w.list.hScrollOffset;
  const StoredMetrics scaled =
      RescaleStoredMetrics(metrics, static_cast<int32_t>(oldDpi), static_cast<int32_t>(newDpi));
  w.list.columnWidths = scaled.columnWidths;
  w.list.pathWidth = scaled.columnWidths[kColumnPath];
  w.list.scrollOffset = scaled.verticalOffset;
  w.list.hScrollOffset = scaled.horizontalOffset;
}

}  // namespace quillmor
