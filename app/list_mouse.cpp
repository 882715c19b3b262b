// The mouse over the result list: presses (scroll bars, header, rows),
// drags of thumbs and column borders, drag-and-drop detection, double
// clicks, hover and the cursor.
#include <cstdlib>

#include "app/core/column_layout.h"
#include "app/core/drawn_scroll_bar.h"
#include "app/core/list_press.h"
#include "app/main_window_handlers.h"
#include "engine/sort_job.h"

namespace quillmor {
namespace {

bool IsRowPress(PressTarget target) {
  switch (target) {
    case PressTarget::kRename:
    case PressTarget::kSelectRange:
    case PressTarget::kToggle:
    case PressTarget::kKeepSelection:
    case PressTarget::kSelectOne:
      return true;
    default:
      return false;
  }
}

void StartCapture(MainWindow& w, ListDrag drag) {
  w.list.drag = drag;
  SetCapture(w.hwnd);
}

// Ends a thumb drag or a column resize; true when one was running.
bool EndDrag(MainWindow& w) {
  const ListDrag drag = w.list.drag;
  w.list.drag = ListDrag::kNone;
  if (drag == ListDrag::kVerticalThumb || drag == ListDrag::kHorizontalThumb) {
    w.list.thumbDragging = false;
    InvalidateListArea(w);
    return true;
  }
  if (drag == ListDrag::kColumnResize) {
    w.list.resizingColumn = -1;
    SaveWindowSettingsNow(w);
    return true;
  }
  return false;
}

void ResizeColumnTo(MainWindow& w, int x) {
  const int32_t column = w.list.resizingColumn;
  if (column < 0 || column >= kResultColumnCount) return;
  const ListFrame frame = ListFrameOf(w);
  const auto edges = ColumnEdges(frame, w.list.hScrollOffset);
  const int32_t width = ResizedColumnWidth(x, edges[column], frame.dpi);
  w.list.columnWidths[column] = width;
  if (column == kColumnPath) {
    w.list.pathWidth = width;
  } else {
    // The path column fills what the others leave.
    UpdatePathColumnWidth(w);
  }
  ScrollListHorizontallyTo(w, w.list.hScrollOffset);
  ScrollListTo(w, w.list.scrollOffset);
  SyncListScrollBars(w);
  InvalidateListArea(w);
}

void UpdateHover(MainWindow& w, int x, int y) {
  const HoveredCell cell = HoveredCellAt(ListFrameOf(w), w.list.scrollOffset, w.list.hScrollOffset, w.list.count, x, y);
  if (cell.row == w.list.hovered && cell.column == w.list.hoveredColumn) return;
  if (cell.row != w.list.hovered) {
    InvalidateListRow(w, w.list.hovered);
    InvalidateListRow(w, cell.row);
  }
  w.list.hovered = cell.row;
  w.list.hoveredColumn = cell.column;
  POINT screen{x, y};
  ClientToScreen(w.hwnd, &screen);
  UpdateListTooltip(w, screen);
}

}  // namespace

void OnListLButtonDown(MainWindow& w, WPARAM keys, int x, int y) {
  ListState& list = w.list;
  ListPressInput input;
  input.frame = ListFrameOf(w);
  input.verticalOffset = list.scrollOffset;
  input.horizontalOffset = list.hScrollOffset;
  input.rowCount = list.count;
  input.x = x;
  input.y = y;
  input.ctrl = (keys & MK_CONTROL) != 0;
  input.shift = (keys & MK_SHIFT) != 0;
  input.lastClickedRow = list.lastClickedRow;
  input.lastClickMs = list.lastClickMs;
  input.nowMs = w.env.clock->TickCount64();
  const ListPress press = DecideListPress(input, list.selection);
  if (press.target == PressTarget::kNothing) return;

  SetFocus(w.hwnd);
  list.pressX = x;
  list.pressY = y;
  list.drag = ListDrag::kNone;
  switch (press.target) {
    case PressTarget::kVerticalThumb:
      list.thumbDragging = true;
      StartCapture(w, ListDrag::kVerticalThumb);
      NoteListScrolled(w);
      InvalidateListArea(w);
      break;
    case PressTarget::kHorizontalThumb:
      list.thumbDragging = true;
      StartCapture(w, ListDrag::kHorizontalThumb);
      NoteListScrolled(w);
      InvalidateListArea(w);
      break;
    case PressTarget::kVerticalTrack:
      NoteListScrolled(w);
      ScrollListTo(w, press.offset);
      break;
    case PressTarget::kHorizontalTrack:
      NoteListScrolled(w);
      ScrollListHorizontallyTo(w, press.offset);
      break;
    case PressTarget::kResizeColumn:
      CancelRename(w, false);
      list.resizingColumn = press.column;
      StartCapture(w, ListDrag::kColumnResize);
      break;
    case PressTarget::kSortColumn:
      DoSortAsync(w.app.engine, w.app.results, w.view, press.column);
      break;
    case PressTarget::kRename:
      BeginRename(w);
      break;
    case PressTarget::kSelectRange:
      list.selection.SelectRange(press.row);
      break;
    case PressTarget::kToggle:
      list.selection.Toggle(press.row);
      break;
    case PressTarget::kKeepSelection:
      list.selection.SetFocused(press.row);
      break;
    case PressTarget::kSelectOne:
      list.selection.SelectOne(press.row);
      break;
    case PressTarget::kClearSelection:
      list.selection.Clear();
      break;
    case PressTarget::kHeader:
    case PressTarget::kEmpty:
    case PressTarget::kNothing:
      break;
  }
  if (IsRowPress(press.target)) {
    if (press.target != PressTarget::kRename) list.drag = ListDrag::kPressedRow;
    list.lastClickedRow = press.row;
    list.lastClickMs = input.nowMs;
    InvalidateListArea(w);
  } else if (press.target == PressTarget::kClearSelection) {
    list.lastClickedRow = -1;
    InvalidateListArea(w);
  }
}

void OnListLButtonUp(MainWindow& w, int, int) {
  const bool captured = w.list.drag != ListDrag::kNone && w.list.drag != ListDrag::kPressedRow;
  if (!EndDrag(w) && !captured) return;
  if (GetCapture() == w.hwnd) ReleaseCapture();
}

void OnListCaptureChanged(MainWindow& w) {
  if (w.list.drag != ListDrag::kNone && w.list.drag != ListDrag::kPressedRow) EndDrag(w);
}

void OnListLButtonDblClk(MainWindow& w, WPARAM keys, int x, int y) {
  const HoveredCell cell = HoveredCellAt(ListFrameOf(w), w.list.scrollOffset, w.list.hScrollOffset, w.list.count, x, y);
  if (cell.row < 0) {
    // Not on a row (a track, the header): it counts as a second press.
    OnListLButtonDown(w, keys, x, y);
    return;
  }
  w.list.drag = ListDrag::kNone;
  w.list.selection.SetFocused(cell.row);
  RunFileAction(w, 1);
}

void OnListMouseMove(MainWindow& w, WPARAM keys, int x, int y) {
  ListState& list = w.list;
  // WM_MOUSELEAVE, asked for again on every move.
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, w.hwnd, 0};
  TrackMouseEvent(&track);
  switch (list.drag) {
    case ListDrag::kColumnResize:
      ResizeColumnTo(w, x);
      return;
    case ListDrag::kVerticalThumb: {
      const ListFrame frame = ListFrameOf(w);
      const DrawnScrollBar bar = VerticalListBar(frame, list.scrollOffset, list.count);
      NoteListScrolled(w);
      ScrollListTo(w, VerticalOffsetAtPointer(frame, bar, y, list.count));
      return;
    }
    case ListDrag::kHorizontalThumb: {
      const ListFrame frame = ListFrameOf(w);
      NoteListScrolled(w);
      ScrollListHorizontallyTo(
          w, OffsetAtPointer(HorizontalListBar(frame, list.hScrollOffset), x, MaxHorizontalOffset(frame)));
      return;
    }
    case ListDrag::kPressedRow:
      if ((keys & MK_LBUTTON) == 0) {
        list.drag = ListDrag::kNone;
      } else if (std::abs(x - list.pressX) >= GetSystemMetrics(SM_CXDRAG) ||
                 std::abs(y - list.pressY) >= GetSystemMetrics(SM_CYDRAG)) {
        list.drag = ListDrag::kNone;
        HideListTooltip(w);
        StartFileDrag(w);
        return;
      }
      break;
    case ListDrag::kNone:
      break;
  }
  UpdateHover(w, x, y);
}

LRESULT OnListSetCursor(MainWindow& w, WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(wParam) != w.hwnd || LOWORD(lParam) != HTCLIENT) {
    return DefWindowProcW(w.hwnd, WM_SETCURSOR, wParam, lParam);
  }
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(w.hwnd, &point);
  const ListFrame frame = ListFrameOf(w);
  const ListDrag drag = w.list.drag;
  const Rect area = ListArea(frame);
  LPCWSTR cursor = IDC_ARROW;
  const bool onBorder = InHeaderBand(frame, point.y) && point.x >= area.left && point.x < area.right &&
                        HeaderBorderAt(frame, w.list.hScrollOffset, point.x) >= 0;
  // A bar with nowhere to scroll is not drawn.
  const auto scrolls = [](const DrawnScrollBar& bar) { return bar.shown && bar.Travel() > 0; };
  const bool onVerticalBar = VerticalBarRect(frame).Contains(point.x, point.y) &&
                             scrolls(VerticalListBar(frame, w.list.scrollOffset, w.list.count));
  const bool onHorizontalBar =
      HorizontalBarRect(frame).Contains(point.x, point.y) && scrolls(HorizontalListBar(frame, w.list.hScrollOffset));
  if (drag == ListDrag::kColumnResize || (drag == ListDrag::kNone && onBorder)) {
    cursor = IDC_SIZEWE;
  } else if (drag == ListDrag::kVerticalThumb || drag == ListDrag::kHorizontalThumb || onVerticalBar ||
             onHorizontalBar) {
    cursor = IDC_HAND;
  }
  SetCursor(LoadCursorW(nullptr, cursor));
  return TRUE;
}

void ForgetListHover(MainWindow& w) {
  InvalidateListRow(w, w.list.hovered);
  w.list.hovered = -1;
  w.list.hoveredColumn = -1;
  HideListTooltip(w);
}

}  // namespace quillmor
