// The result list's frame: the sizes of rows, cells, icons and the header in
// each view mode, the area the rows are drawn in, and how many icon cells fit
// on a row. Everything in pixels at the window's DPI.
#pragma once

#include <array>
#include <cstdint>

#include "app/core/rect.h"
#include "engine/view_state.h"
#include "engine/visible_attr_hydration.h"
#include "settings/window_settings.h"

namespace quillmor {

inline constexpr int32_t kViewList = 0;
inline constexpr int32_t kViewSmallIcons = 1;
inline constexpr int32_t kViewLargeIcons = 2;

constexpr bool IsIconView(int32_t viewMode) { return viewMode == kViewSmallIcons || viewMode == kViewLargeIcons; }

// The sizes of one view mode. An unknown mode counts as the list.
struct ViewMetrics {
  int32_t rowHeight = 0;     // a row in the list, a cell's height in the icon views
  int32_t cellWidth = 0;     // icon views only (0 in the list: a row is as wide as the area)
  int32_t iconSize = 0;      // 16, 24 or 48 at 96 DPI
  int32_t headerHeight = 0;  // the column header band; none in the icon views
};
ViewMetrics ViewMetricsFor(int32_t viewMode, int32_t dpi);

// What the list's frame is computed from, as the window holds it.
struct ListFrame {
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  bool sidebarLayout = true;
  int32_t sidebarWidth = 0;  // pixels at `dpi`
  int32_t listTop = 0;       // where the header (or the first row) begins
  int32_t viewMode = kViewList;
  int32_t dpi = 96;
  std::array<int32_t, kResultColumnCount> columnWidths = kDefaultColumnWidths;
};

// The list area's left edge: the sidebar's width in the sidebar layout, else 0.
int32_t ListAreaLeft(const ListFrame& frame);
// Where the rows start: the list top plus the header band.
int32_t ContentTop(const ListFrame& frame);
// The six column widths added up.
int64_t TotalColumnWidth(const ListFrame& frame);
// The horizontal bar shows in the list view only, when the columns together
// are wider than the list area.
bool ShowsHorizontalBar(const ListFrame& frame);
// The rows' area: from the left edge to the client width - 12 (the vertical
// bar and a margin), from the content top to the client height - 2, or - 12
// above a horizontal bar. Never inverted: an area too small is empty.
Rect ListArea(const ListFrame& frame);
// Icon cells per row: the area's width over the cell width (at least 72 at
// 96 DPI), at least 1. 1 in the list view.
int32_t ColumnsPerRow(const ListFrame& frame);

// The list's height in pixels: rows, or rows of cells in the icon views.
int64_t ContentHeight(const ListFrame& frame, int64_t rowCount);
// The largest vertical offset: content height less the area's height, at least 0.
int64_t MaxVerticalOffset(const ListFrame& frame, int64_t rowCount);
// The largest horizontal offset (list view only): columns beyond the area's width.
int32_t MaxHorizontalOffset(const ListFrame& frame);

// The result rows [first, last) that a frame at `verticalOffset` draws: from
// the row at the offset down to the area's bottom (whole rows of cells in the
// icon views).
RowRange RowsToPaint(const ListFrame& frame, int64_t verticalOffset, int64_t rowCount);

// The geometry the attribute hydration reads (ViewState::Geometry).
ListGeometry HydrationGeometry(const ListFrame& frame, int64_t verticalOffset);

}  // namespace quillmor
