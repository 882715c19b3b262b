// Which result row lies under a point of the client area.
#pragma once

#include <cstdint>

#include "app/core/list_geometry.h"

namespace quillmor {

// The row index under (x, y), or -1: none without rows, left of the list
// area or above the content top; in the list view the row at
// (y - top + offset) / row height; in the icon views the cell at that row and
// at column (x - left) / cell width, when the column is below the columns per
// row. -1 past the last row.
int64_t HitTestRow(const ListFrame& frame, int64_t verticalOffset, int64_t rowCount, int32_t x, int32_t y);

}  // namespace quillmor
