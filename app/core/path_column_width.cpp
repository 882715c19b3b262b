#include "app/core/path_column_width.h"

#include <algorithm>

#include "settings/dpi_scale.h"

namespace quillmor {
namespace {

constexpr int32_t kMinPathBase96 = 200;
constexpr int32_t kPathPadding96 = 20;
constexpr int32_t kMinMeasuredHeight96 = 50;

}  // namespace

PathColumnWidth ComputePathColumnWidth(const PathColumnInput& input, const MeasureRowPath& measure) {
  const int64_t base = std::max(ScaleFrom96(kMinPathBase96, input.dpi), input.storedPathWidth);
  int64_t before = 0;
  for (int i = 0; i < kColumnPath; ++i) before += std::max(0, input.columnWidths[i]);
  const int64_t available = std::max<int64_t>(0, input.listAreaWidth - before);

  const int64_t rowHeight = std::max(1, input.rowHeight);
  const int64_t first = std::max<int64_t>(0, input.verticalOffset) / rowHeight;
  const int64_t viewHeight = std::max(ScaleFrom96(kMinMeasuredHeight96, input.dpi), input.viewHeight);
  const int64_t end = std::min(input.rowCount, first + viewHeight / rowHeight + 2);
  bool measured = false;
  int64_t widest = 0;
  for (int64_t row = first; row < end && measure; ++row) {
    if (const std::optional<int32_t> w = measure(row)) {
      measured = true;
      widest = std::max<int64_t>(widest, *w);
    }
  }

  const int64_t needed = std::max(widest + ScaleFrom96(kPathPadding96, input.dpi), base);
  PathColumnWidth result;
  if (!measured || needed <= available) {
    result.width = static_cast<int32_t>(std::min<int64_t>(std::max(base, available), INT32_MAX));
  } else {
    result.width = static_cast<int32_t>(std::min<int64_t>(needed, INT32_MAX));
  }
  result.overflows = result.width > available;
  return result;
}

}  // namespace quillmor
