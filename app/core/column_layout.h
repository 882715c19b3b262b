// Where the list view's columns stand: their x positions under the
// horizontal scroll offset, the column under the pointer, the header band and
// the column border a press there grabs.
#pragma once

#include <array>
#include <cstdint>

#include "app/core/list_geometry.h"

namespace quillmor {

// The left edges of the six columns and, last, the right edge of the path
// column: the area's left edge plus the widths before, less the offset.
std::array<int32_t, kResultColumnCount + 1> ColumnEdges(const ListFrame& frame, int32_t horizontalOffset);

// The column under x: in the list view the column whose span holds x (-1
// outside all of them); in the icon views always the name column.
int32_t ColumnAt(const ListFrame& frame, int32_t horizontalOffset, int32_t x);

// Whether y lies in the header band (the list view's first 40 px from the
// list top; the icon views have none).
bool InHeaderBand(const ListFrame& frame, int32_t y);

// The column whose right border lies within 8 px of x, the one a press in
// the header band resizes; -1 when none does, and always in the icon views.
int32_t HeaderBorderAt(const ListFrame& frame, int32_t horizontalOffset, int32_t x);

// A column's width while its border is dragged: the pointer's x less the
// column's left edge, at least 30 px.
int32_t ResizedColumnWidth(int32_t pointerX, int32_t columnLeft, int32_t dpi);

}  // namespace quillmor
