// What the result list shows: its rows, its frame, and the state it starts
// with.
#include <algorithm>

#include "app/core/dpi_rescale.h"
#include "app/icon_cache.h"
#include "app/main_window_handlers.h"
#include "engine/visible_attr_hydration.h"
#include "search/filter_pass.h"
#include "settings/dpi_scale.h"

namespace quillmor {

void InitResultList(MainWindow& w) {
  ListState& list = w.list;
  list.viewMode = std::clamp(w.app.window.viewMode, kViewList, kViewLargeIcons);
  // window.ini's widths were loaded at the DPI the process started with; the
  // window may sit on a monitor of another.
  StoredMetrics metrics;
  metrics.columnWidths = w.app.window.columnWidths;
  list.columnWidths =
      RescaleStoredMetrics(metrics, static_cast<int32_t>(w.app.systemDpi), static_cast<int32_t>(w.dpi)).columnWidths;
  for (int32_t& width : list.columnWidths)
    width = std::max(width, ScaleFrom96(kMinColumnWidth, static_cast<int32_t>(w.dpi)));
  list.pathWidth = list.columnWidths[kColumnPath];
  list.icons = std::make_shared<IconCache>();
}

void FreeIconCache(MainWindow& w) {
  if (w.list.icons) w.list.icons->Free();
}

ListFrame ListFrameOf(const MainWindow& w) {
  ListFrame frame;
  frame.clientWidth = w.clientWidth;
  frame.clientHeight = w.clientHeight;
  frame.sidebarLayout = w.app.window.sidebarLayout;
  frame.sidebarWidth = w.sidebarWidth;
  frame.listTop = w.listTop;
  frame.viewMode = w.list.viewMode;
  frame.dpi = static_cast<int32_t>(w.dpi);
  frame.columnWidths = w.list.columnWidths;
  frame.columnWidths[kColumnPath] = w.list.pathWidth;
  return frame;
}

RECT ListRowRect(const MainWindow& w, int64_t row) {
  if (row < 0 || row >= w.list.count) return RECT{};
  const ListFrame frame = ListFrameOf(w);
  const Rect area = ListArea(frame);
  const ViewMetrics metrics = ViewMetricsFor(frame.viewMode, frame.dpi);
  const int64_t perRow = ColumnsPerRow(frame);
  const int64_t top = area.top + row / perRow * metrics.rowHeight - w.list.scrollOffset;
  if (top >= area.bottom || top + metrics.rowHeight <= area.top) return RECT{};
  if (!IsIconView(frame.viewMode)) {
    return RECT{area.left, static_cast<LONG>(top), area.right, static_cast<LONG>(top + metrics.rowHeight)};
  }
  const int32_t left = area.left + static_cast<int32_t>(row % perRow) * metrics.cellWidth;
  return RECT{left, static_cast<LONG>(top), left + metrics.cellWidth, static_cast<LONG>(top + metrics.rowHeight)};
}

void InvalidateListRow(MainWindow& w, int64_t row) {
  const RECT rect = ListRowRect(w, row);
  if (rect.right > rect.left) InvalidateRect(w.hwnd, &rect, FALSE);
}

std::u16string ListCellTextAt(MainWindow& w, int64_t row, int32_t column) {
  if (!w.list.shown || row < 0 || row >= w.list.count || static_cast<size_t>(row) >= w.list.shown->size()) return {};
  const MatchItem& item = (*w.list.shown)[static_cast<size_t>(row)];
  const ListRow data = ReadListRow(item, column == kColumnPath);
  return ListCellText(column, row, data, CachedAttributes(item, data), *w.env.clock);
}

void RequestListAttrHydration(MainWindow& w) {
  PublishListGeometry(w);
  RequestVisibleAttrHydrationAsync(w.env, w.app.results, w.view, w.list.shown);
}

void TakeDisplayedRows(MainWindow& w) {
  w.list.shown = DisplayedResults(w.session);
  w.list.count = w.list.shown ? static_cast<int64_t>(w.list.shown->size()) : 0;
  // The hovered index now names another item.
  w.list.hovered = -1;
  w.list.hoveredColumn = -1;
  HideListTooltip(w);
}

void ClearListSelection(MainWindow& w) { w.list.selection.Clear(); }

void PublishListGeometry(MainWindow& w) {
  w.view.StoreGeometry(HydrationGeometry(ListFrameOf(w), w.list.scrollOffset));
}

}  // namespace quillmor
