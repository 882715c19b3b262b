#include "app/core/hit_test.h"

#include <algorithm>

namespace quillmor {

int64_t HitTestRow(const ListFrame& frame, int64_t verticalOffset, int64_t rowCount, int32_t x, int32_t y) {
  if (rowCount <= 0) return -1;
  const int32_t left = ListAreaLeft(frame);
  const int32_t top = ContentTop(frame);
  if (x < left || y < top) return -1;
  const ViewMetrics metrics = ViewMetricsFor(frame.viewMode, frame.dpi);
  const int64_t rowHeight = std::max(1, metrics.rowHeight);
  const int64_t offset = std::clamp<int64_t>(verticalOffset, 0, ContentHeight(frame, rowCount));
  const int64_t row = (static_cast<int64_t>(y) - top + offset) / rowHeight;
  if (!IsIconView(frame.viewMode)) return row < rowCount ? row : -1;
  const int64_t column = (static_cast<int64_t>(x) - left) / std::max(1, metrics.cellWidth);
  const int64_t perRow = ColumnsPerRow(frame);
  if (column >= perRow || row >= rowCount) return -1;
  const int64_t index = row * perRow + column;
  return index < rowCount ? index : -1;
}

}  // namespace quillmor
