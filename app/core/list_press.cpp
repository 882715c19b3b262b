#include "app/core/list_press.h"

#include "app/core/column_layout.h"
#include "app/core/drawn_scroll_bar.h"
#include "app/core/hit_test.h"
#include "app/core/inline_rename.h"

namespace quillmor {
namespace {

bool PressOnBars(const ListPressInput& in, ListPress& press) {
  const Rect vRect = VerticalBarRect(in.frame);
  if (vRect.Contains(in.x, in.y)) {
    const DrawnScrollBar bar = VerticalListBar(in.frame, in.verticalOffset, in.rowCount);
    switch (ScrollBarPartAt(bar, in.y)) {
      case ScrollBarPart::kThumb:
        press.target = PressTarget::kVerticalThumb;
        return true;
      case ScrollBarPart::kTrack:
        press.target = PressTarget::kVerticalTrack;
        press.offset = VerticalOffsetAtPointer(in.frame, bar, in.y, in.rowCount);
        return true;
      case ScrollBarPart::kNone:
        return false;
    }
  }
  const DrawnScrollBar hBar = HorizontalListBar(in.frame, in.horizontalOffset);
  if (hBar.shown && HorizontalBarRect(in.frame).Contains(in.x, in.y)) {
    switch (ScrollBarPartAt(hBar, in.x)) {
      case ScrollBarPart::kThumb:
        press.target = PressTarget::kHorizontalThumb;
        return true;
      case ScrollBarPart::kTrack:
        press.target = PressTarget::kHorizontalTrack;
        press.offset = OffsetAtPointer(hBar, in.x, MaxHorizontalOffset(in.frame));
        return true;
      case ScrollBarPart::kNone:
        return false;
    }
  }
  return false;
}

}  // namespace

ListPress DecideListPress(const ListPressInput& in, const ListSelection& selection) {
  ListPress press;
  if (PressOnBars(in, press)) return press;
  const Rect area = ListArea(in.frame);
  if (in.x < area.left || in.x >= area.right) return press;

  if (InHeaderBand(in.frame, in.y)) {
    press.target = PressTarget::kHeader;
    const int32_t border = HeaderBorderAt(in.frame, in.horizontalOffset, in.x);
    if (border >= 0) {
      press.target = PressTarget::kResizeColumn;
      press.column = border;
      return press;
    }
    const int32_t column = ColumnAt(in.frame, in.horizontalOffset, in.x);
    if (column >= kColumnName) {
      press.target = PressTarget::kSortColumn;
      press.column = column;
    }
    return press;
  }
  if (in.y < area.top || in.y >= area.bottom) return press;

  const int64_t row = HitTestRow(in.frame, in.verticalOffset, in.rowCount, in.x, in.y);
  press.row = row;
  press.column = ColumnAt(in.frame, in.horizontalOffset, in.x);
  if (row < 0) {
    press.target = in.ctrl || in.shift ? PressTarget::kEmpty : PressTarget::kClearSelection;
    return press;
  }
  RenameClick click;
  click.column = press.column;
  click.row = row;
  click.focusedRow = selection.Focused();
  click.lastClickedRow = in.lastClickedRow;
  click.nowMs = in.nowMs;
  click.lastClickMs = in.lastClickMs;
  if (!IsIconView(in.frame.viewMode) && !in.ctrl && !in.shift && ClickStartsRename(click)) {
    press.target = PressTarget::kRename;
  } else if (in.shift) {
    press.target = PressTarget::kSelectRange;
  } else if (in.ctrl) {
    press.target = PressTarget::kToggle;
  } else if (selection.IsSelected(row) && selection.Count() > 1) {
    press.target = PressTarget::kKeepSelection;
  } else {
    press.target = PressTarget::kSelectOne;
  }
  return press;
}

HoveredCell HoveredCellAt(const ListFrame& frame, int64_t verticalOffset, int32_t horizontalOffset, int64_t rowCount,
                          int32_t x, int32_t y) {
  const Rect area = ListArea(frame);
  if (!area.Contains(x, y)) return {};
  const int64_t row = HitTestRow(frame, verticalOffset, rowCount, x, y);
  if (row < 0) return {};
  return {row, ColumnAt(frame, horizontalOffset, x)};
}

}  // namespace quillmor
