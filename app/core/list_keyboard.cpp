#include "app/core/list_keyboard.h"

#include <algorithm>

namespace quillmor {

int64_t FocusAfterKey(ListKey key, int64_t focused, int64_t rowCount, int32_t columnsPerRow, int32_t rowsPerPage) {
  if (rowCount <= 0) return -1;
  const int64_t last = rowCount - 1;
  if (focused < 0 || focused > last) return key == ListKey::kEnd ? last : 0;
  const int64_t perRow = std::max(1, columnsPerRow);
  const int64_t page = std::max(1, rowsPerPage) * perRow;
  int64_t target = focused;
  switch (key) {
    case ListKey::kUp:
      target = focused >= perRow ? focused - perRow : focused;
      break;
    case ListKey::kDown:
      target = focused + perRow <= last ? focused + perRow : focused;
      break;
    case ListKey::kLeft:
      target = perRow > 1 ? focused - 1 : focused;
      break;
    case ListKey::kRight:
      target = perRow > 1 ? focused + 1 : focused;
      break;
    case ListKey::kPageUp:
      // Keeps the column in the icon views; stops on the first row of cells.
      target = focused >= page ? focused - page : focused % perRow;
      break;
    case ListKey::kPageDown:
      if (focused + page <= last) {
        target = focused + page;
      } else {
        // The last row of cells, in the same column when it reaches it.
        const int64_t lastRowStart = last / perRow * perRow;
        target = std::min(last, lastRowStart + focused % perRow);
        target = std::max(target, focused);
      }
      break;
    case ListKey::kHome:
      target = 0;
      break;
    case ListKey::kEnd:
      target = last;
      break;
  }
  return std::clamp<int64_t>(target, 0, last);
}

int32_t RowsPerPage(const ListFrame& frame) {
  const int32_t rowHeight = std::max(1, ViewMetricsFor(frame.viewMode, frame.dpi).rowHeight);
  return std::max(1, ListArea(frame).Height() / rowHeight);
}

int64_t OffsetRevealingRow(const ListFrame& frame, int64_t verticalOffset, int64_t rowCount, int64_t row) {
  const int64_t maxOffset = MaxVerticalOffset(frame, rowCount);
  int64_t offset = std::clamp<int64_t>(verticalOffset, 0, maxOffset);
  if (row < 0 || row >= rowCount) return offset;
  const int64_t rowHeight = std::max(1, ViewMetricsFor(frame.viewMode, frame.dpi).rowHeight);
  const int64_t top = row / ColumnsPerRow(frame) * rowHeight;
  const int64_t bottom = top + rowHeight;
  const int64_t viewHeight = ListArea(frame).Height();
  if (top < offset || viewHeight < rowHeight) {
    offset = top;
  } else if (bottom > offset + viewHeight) {
    offset = bottom - viewHeight;
  }
  return std::clamp<int64_t>(offset, 0, maxOffset);
}

ListKeyResult ApplyListKey(ListSelection& selection, ListKey key, bool shift, const ListFrame& frame,
                           int64_t verticalOffset, int64_t rowCount) {
  if (rowCount <= 0) return {selection.Focused(), verticalOffset};
  const int64_t previous = selection.Focused();
  const int64_t target = FocusAfterKey(key, previous, rowCount, ColumnsPerRow(frame), RowsPerPage(frame));
  if (shift) {
    // The range grows from where the keyboard was, when no click set an anchor.
    if (selection.Anchor() < 0 && previous >= 0 && previous < rowCount) selection.SelectOne(previous);
    selection.SelectRange(target);
  } else {
    selection.SelectOne(target);
  }
  return {target, OffsetRevealingRow(frame, verticalOffset, rowCount, target)};
}

ListKeyResult SelectAllRows(ListSelection& selection, const ListFrame& frame, int64_t verticalOffset,
                            int64_t rowCount) {
  selection.SelectAll(rowCount);
  return {selection.Focused(), OffsetRevealingRow(frame, verticalOffset, rowCount, selection.Focused())};
}

}  // namespace quillmor
