// The path column's width in the list view: it fills the row when the paths
// in view fit, and grows (with a horizontal scroll bar) when they do not.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "app/core/list_geometry.h"

namespace quillmor {

// The width of row `row`'s full path in the list font, or nothing when the
// row has no path to measure. Called only for rows below the row count.
using MeasureRowPath = std::function<std::optional<int32_t>(int64_t row)>;

struct PathColumnInput {
  int32_t storedPathWidth = 0;  // the path width window.ini holds, at the current DPI
  int32_t listAreaWidth = 0;
  int64_t verticalOffset = 0;
  int32_t rowHeight = 1;
  int32_t viewHeight = 0;  // the list area's height
  int64_t rowCount = 0;
  int32_t dpi = 96;
  // Column widths 0 to 4 (the path's own is ignored).
  std::array<int32_t, kResultColumnCount> columnWidths = kDefaultColumnWidths;
};

struct PathColumnWidth {
  int32_t width = 0;
  // The row is wider than the area (the path column passes the available
  // width): the horizontal scroll bar shows.
  bool overflows = false;
  bool operator==(const PathColumnWidth&) const = default;
};

// base = the larger of 200 and the stored width; available = the area's
// width less columns 0 to 4 (at least 0); w = the widest path of the rows
// from offset / row height on, for view height (at least 50) / row height + 2
// rows. When nothing was measured, or max(w + 20, base) fits the available
// width, the column gets max(base, available); otherwise max(w + 20, base).
PathColumnWidth ComputePathColumnWidth(const PathColumnInput& input, const MeasureRowPath& measure);

}  // namespace quillmor
