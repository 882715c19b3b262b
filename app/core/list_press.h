// What a press of the left button over the result list does, and which cell
// the pointer hovers: decided from the list's frame, scroll offsets and
// selection, so that the window only carries it out.
#pragma once

#include <cstdint>

#include "app/core/list_geometry.h"
#include "app/core/list_selection.h"

namespace quillmor {

enum class PressTarget {
  kNothing,          // outside the list: the press is not the list's
  kVerticalThumb,    // starts a drag of the vertical bar's thumb
  kVerticalTrack,    // the view jumps to `offset`
  kHorizontalThumb,  // starts a drag of the horizontal bar's thumb
  kHorizontalTrack,  // the view jumps to `offset`
  kResizeColumn,     // the border of `column` in the header band
  kSortColumn,       // the header of `column` (1 to 5)
  kHeader,           // the header band elsewhere: nothing happens
  kRename,           // starts the inline rename of `row`
  kSelectRange,      // Shift: the range from the anchor to `row`
  kToggle,           // Ctrl: `row` in or out
  kKeepSelection,    // `row` is one of several selected rows: a drag may follow
  kSelectOne,        // `row` becomes the only selection
  kClearSelection,   // below the rows without Ctrl or Shift
  kEmpty,            // below the rows with Ctrl or Shift: nothing happens
};

struct ListPressInput {
  ListFrame frame;
  int64_t verticalOffset = 0;
  int32_t horizontalOffset = 0;
  int64_t rowCount = 0;
  int32_t x = 0;
  int32_t y = 0;
  bool ctrl = false;
  bool shift = false;
  // The click-to-rename window: the row and time of the previous press.
  int64_t lastClickedRow = -1;
  uint64_t lastClickMs = 0;
  uint64_t nowMs = 0;
};

struct ListPress {
  PressTarget target = PressTarget::kNothing;
  int64_t row = -1;
  int32_t column = -1;
  int64_t offset = 0;  // the track jumps' new offset
};

// The drawn scroll bars first (thumb: a drag; track: the thumb's centre jumps
// to the pointer), then the header band of the list view (within 8 px of a
// column border: a resize; columns 1 to 5: a sort), then the rows: a press on
// the name of the focused row that is also the last-clicked one, 500 to 1200
// ms after that click and without Ctrl or Shift, renames (list view only);
// else Shift selects a range, Ctrl toggles, a row among several selected
// keeps the selection, any other row becomes the only one. A press in the
// rows' area below the last row clears the selection without Ctrl or Shift.
ListPress DecideListPress(const ListPressInput& input, const ListSelection& selection);

struct HoveredCell {
  int64_t row = -1;
  int32_t column = -1;
  bool operator==(const HoveredCell&) const = default;
};

// The row and column under the pointer: a row of the list area (not the
// header, not a scroll bar) and its column (always the name in the icon
// views); both -1 elsewhere.
HoveredCell HoveredCellAt(const ListFrame& frame, int64_t verticalOffset, int32_t horizontalOffset, int64_t rowCount,
                          int32_t x, int32_t y);

}  // namespace quillmor
