#include "app/core/list_geometry.h"

#include <algorithm>

#include "settings/dpi_scale.h"

namespace quillmor {
namespace {

constexpr int32_t kHeaderHeight96 = 40;
constexpr int32_t kMinCellWidth96 = 72;
constexpr int32_t kRightReserve96 = 12;  // the vertical bar (10) and a margin (2)
constexpr int32_t kBottomMargin96 = 2;
constexpr int32_t kBottomWithBar96 = 12;  // the horizontal bar (10) and the margin

int64_t RowHeightOf(const ListFrame& frame) { return std::max(1, ViewMetricsFor(frame.viewMode, frame.dpi).rowHeight); }

int64_t GridRows(const ListFrame& frame, int64_t rowCount) {
  if (rowCount <= 0) return 0;
  const int64_t perRow = ColumnsPerRow(frame);
  return (rowCount + perRow - 1) / perRow;
}

}  // namespace

ViewMetrics ViewMetricsFor(int32_t viewMode, int32_t dpi) {
  ViewMetrics m;
  switch (viewMode) {
    case kViewSmallIcons:
      m = {kSmallIconRowHeight96, 110, 24, 0};
      break;
    case kViewLargeIcons:
      m = {kLargeIconRowHeight96, 150, 48, 0};
      break;
    default:
      m = {kListRowHeight96, 0, 16, kHeaderHeight96};
      break;
  }
  if (m.cellWidth > 0) m.cellWidth = std::max(kMinCellWidth96, m.cellWidth);
  return {ScaleFrom96(m.rowHeight, dpi), ScaleFrom96(m.cellWidth, dpi), ScaleFrom96(m.iconSize, dpi),
          ScaleFrom96(m.headerHeight, dpi)};
}

int32_t ListAreaLeft(const ListFrame& frame) { return frame.sidebarLayout ? std::max(0, frame.sidebarWidth) : 0; }

int32_t ContentTop(const ListFrame& frame) {
  return frame.listTop + ViewMetricsFor(frame.viewMode, frame.dpi).headerHeight;
}

int64_t TotalColumnWidth(const ListFrame& frame) {
  int64_t total = 0;
  for (int32_t w : frame.columnWidths) total += std::max(0, w);
  return total;
}

bool ShowsHorizontalBar(const ListFrame& frame) {
  if (IsIconView(frame.viewMode)) return false;
  const int32_t areaWidth = frame.clientWidth - ScaleFrom96(kRightReserve96, frame.dpi) - ListAreaLeft(frame);
  return TotalColumnWidth(frame) > std::max(0, areaWidth);
}

Rect ListArea(const ListFrame& frame) {
  Rect area;
  area.left = ListAreaLeft(frame);
  area.top = ContentTop(frame);
  area.right = std::max(area.left, frame.clientWidth - ScaleFrom96(kRightReserve96, frame.dpi));
  const int32_t bottomGap = ScaleFrom96(ShowsHorizontalBar(frame) ? kBottomWithBar96 : kBottomMargin96, frame.dpi);
  area.bottom = std::max(area.top, frame.clientHeight - bottomGap);
  return area;
}

int32_t ColumnsPerRow(const ListFrame& frame) {
  if (!IsIconView(frame.viewMode)) return 1;
  const int32_t cellWidth = std::max(1, ViewMetricsFor(frame.viewMode, frame.dpi).cellWidth);
  return std::max(1, ListArea(frame).Width() / cellWidth);
}

int64_t ContentHeight(const ListFrame& frame, int64_t rowCount) {
  return GridRows(frame, rowCount) * RowHeightOf(frame);
}

int64_t MaxVerticalOffset(const ListFrame& frame, int64_t rowCount) {
  return std::max<int64_t>(0, ContentHeight(frame, rowCount) - ListArea(frame).Height());
}

int32_t MaxHorizontalOffset(const ListFrame& frame) {
  if (IsIconView(frame.viewMode)) return 0;
  const int64_t excess = TotalColumnWidth(frame) - ListArea(frame).Width();
  return static_cast<int32_t>(std::clamp<int64_t>(excess, 0, INT32_MAX));
}

RowRange RowsToPaint(const ListFrame& frame, int64_t verticalOffset, int64_t rowCount) {
  if (rowCount <= 0) return {};
  const int64_t rowHeight = RowHeightOf(frame);
  const int64_t offset = std::clamp<int64_t>(verticalOffset, 0, ContentHeight(frame, rowCount));
  const int64_t firstGridRow = offset / rowHeight;
  // The last row partly in view: the one holding the area's bottom pixel.
  const int64_t endGridRow = (offset + ListArea(frame).Height() + rowHeight - 1) / rowHeight;
  const int64_t perRow = ColumnsPerRow(frame);
  RowRange range;
  range.first = static_cast<uint64_t>(std::min(rowCount, std::min(firstGridRow, rowCount) * perRow));
  range.last = static_cast<uint64_t>(std::min(rowCount, std::min(endGridRow, rowCount) * perRow));
  return range;
}

ListGeometry HydrationGeometry(const ListFrame& frame, int64_t verticalOffset) {
  ListGeometry g;
  g.rowAreaHeight = ListArea(frame).Height();
  g.scrollOffset = std::max<int64_t>(0, verticalOffset);
  g.viewMode = IsIconView(frame.viewMode) ? frame.viewMode : kViewList;
  g.iconsPerRow = ColumnsPerRow(frame);
  g.dpi = static_cast<uint32_t>(EffectiveDpi(frame.dpi));
  return g;
}

}  // namespace quillmor
