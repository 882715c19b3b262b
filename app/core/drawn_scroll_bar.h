// The result list's scroll bars, which the window draws itself: where the
// bars lie, the thumb's length and place along the track, what a press hits,
// and the offset a thumb drag or a track click leads to.
#pragma once

#include <cstdint>

#include "app/core/list_geometry.h"
#include "app/core/rect.h"

namespace quillmor {

// The vertical bar: 10 px wide at the list area's right edge, from the
// content top to the area's bottom.
Rect VerticalBarRect(const ListFrame& frame);
// The horizontal bar (list view, when shown): 10 px high under the list area,
// as wide as it.
Rect HorizontalBarRect(const ListFrame& frame);

// One bar along its axis.
struct DrawnScrollBar {
  bool shown = false;  // the track is longer than 24 px
  int32_t trackStart = 0;
  int32_t trackLength = 0;
  int32_t thumbStart = 0;  // absolute, like trackStart
  int32_t thumbLength = 0;

  // How far the thumb can move.
  int32_t Travel() const { return trackLength - thumbLength; }
};

// Lays out a bar: the thumb is track x visible / whole long (at least 28 px,
// at most the track; the whole track when everything is visible) and stands
// travel x offset / largest offset from the track's start.
DrawnScrollBar LayOutScrollBar(int32_t trackStart, int32_t trackLength, int64_t visible, int64_t whole, int64_t offset,
                               int64_t maxOffset, int32_t dpi);

// The vertical bar of the list: visible rows over all rows (rows of cells in
// the icon views), positioned by the vertical offset.
DrawnScrollBar VerticalListBar(const ListFrame& frame, int64_t verticalOffset, int64_t rowCount);
// The horizontal bar of the list view: the area's width over the columns'.
DrawnScrollBar HorizontalListBar(const ListFrame& frame, int32_t horizontalOffset);

enum class ScrollBarPart { kNone, kTrack, kThumb };
// The part under `position` along the bar's axis (a hidden bar has none).
ScrollBarPart ScrollBarPartAt(const DrawnScrollBar& bar, int32_t position);

// Where a thumb drag or a track click takes the view: the thumb's centre
// follows the pointer, giving the top row
// MulDiv(maxTopRow, clamp(pointer - thumb / 2 - track start, 0, travel), travel)
// (0 when the thumb cannot travel). The caller multiplies by the row height,
// so that a drag lands on whole rows.
int64_t TopRowAtPointer(const DrawnScrollBar& bar, int32_t pointer, int64_t maxTopRow);
// The list's vertical offset for a drag or click at `y` on its vertical bar:
// the top row above (the last row that can come to the top being the one
// holding the largest offset) times the row height, clamped to the range.
int64_t VerticalOffsetAtPointer(const ListFrame& frame, const DrawnScrollBar& bar, int32_t y, int64_t rowCount);
// The same in pixels, for the horizontal bar.
int32_t OffsetAtPointer(const DrawnScrollBar& bar, int32_t pointer, int32_t maxOffset);

}  // namespace quillmor
