// The keys that move through the result list: arrows, Page Up and Down, Home
// and End move the focused row (Shift extends the selection from the anchor)
// and scroll it into view; Ctrl+A selects every row.
#pragma once

#include <cstdint>

#include "app/core/list_geometry.h"
#include "app/core/list_selection.h"

namespace quillmor {

enum class ListKey { kUp, kDown, kLeft, kRight, kPageUp, kPageDown, kHome, kEnd };

// The row the focus moves to, within [0, rowCount): Up and Down move one row
// of the view (a row of cells in the icon views), Left and Right one cell in
// the icon views and nothing in the list view, the page keys `rowsPerPage`
// rows of the view, Home and End to the first and the last row. Without a
// focused row every key lands on the first row, End on the last. -1 without
// rows.
int64_t FocusAfterKey(ListKey key, int64_t focused, int64_t rowCount, int32_t columnsPerRow, int32_t rowsPerPage);

// Whole rows (of cells) the area shows, at least 1: the step of the page keys.
int32_t RowsPerPage(const ListFrame& frame);

// The vertical offset that brings `row` into view with as little movement as
// possible: unchanged when the row is wholly shown, else the row at the top
// (moving up) or at the bottom (moving down); clamped to the list's range.
int64_t OffsetRevealingRow(const ListFrame& frame, int64_t verticalOffset, int64_t rowCount, int64_t row);

struct ListKeyResult {
  int64_t focused = -1;
  int64_t verticalOffset = 0;
};

// Carries out a navigation key on `selection`: the new row becomes the only
// selection, or with Shift the range from the anchor (the previously focused
// row when there is no anchor) to it. Returns the focused row and the offset
// that shows it. Without rows nothing changes.
ListKeyResult ApplyListKey(ListSelection& selection, ListKey key, bool shift, const ListFrame& frame,
                           int64_t verticalOffset, int64_t rowCount);

// Ctrl+A: selects every row; the offset brings the focused row into view.
ListKeyResult SelectAllRows(ListSelection& selection, const ListFrame& frame, int64_t verticalOffset, int64_t rowCount);

}  // namespace quillmor
