// Scrolling the list: to an offset, by the wheel and by the scroll-bar
// messages; each scroll event holds the hydration back until scrolling
// settles.
#include <algorithm>

#include "app/core/scroll_activity.h"
#include "app/core/scroll_math.h"
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"

namespace quillmor {
namespace {

ScrollRequest RequestOf(WORD code) {
  switch (code) {
    case SB_LINEUP:
      return ScrollRequest::kLineBack;
    case SB_LINEDOWN:
      return ScrollRequest::kLineForward;
    case SB_PAGEUP:
      return ScrollRequest::kPageBack;
    case SB_PAGEDOWN:
      return ScrollRequest::kPageForward;
    case SB_TOP:
      return ScrollRequest::kStart;
    case SB_BOTTOM:
      return ScrollRequest::kEnd;
    case SB_THUMBTRACK:
      return ScrollRequest::kThumbTrack;
    case SB_THUMBPOSITION:
      return ScrollRequest::kThumbPosition;
    default:
      return ScrollRequest::kEndScroll;
  }
}

// The thumb's position a message carries: its 16 bits, or the bar's 32-bit
// tracking position when the range passes what 16 bits hold.
int64_t ThumbPosition(HWND bar, WPARAM wParam) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_TRACKPOS;
  if (bar != nullptr && GetScrollInfo(bar, SB_CTL, &info) && info.nMax > 0xFFFF) return info.nTrackPos;
  return HIWORD(wParam);
}

bool OverSidebar(const MainWindow& w, POINT client) {
  return w.app.window.sidebarLayout && client.x < w.sidebarWidth && client.y >= w.listTop;
}

}  // namespace

void ScrollListTo(MainWindow& w, int64_t offset) {
  const int64_t clamped = std::clamp<int64_t>(offset, 0, MaxVerticalOffset(ListFrameOf(w), w.list.count));
  if (clamped == w.list.scrollOffset) return;
  w.list.scrollOffset = clamped;
  // The widest path in view sets the path column's width.
  UpdatePathColumnWidth(w);
  w.list.scrollOffset = std::clamp<int64_t>(w.list.scrollOffset, 0, MaxVerticalOffset(ListFrameOf(w), w.list.count));
  SyncListScrollBars(w);
  PublishListGeometry(w);
  InvalidateListArea(w);
}

void ScrollListHorizontallyTo(MainWindow& w, int64_t offset) {
  const int32_t clamped = static_cast<int32_t>(std::clamp<int64_t>(offset, 0, MaxHorizontalOffset(ListFrameOf(w))));
  if (clamped == w.list.hScrollOffset) return;
  w.list.hScrollOffset = clamped;
  SyncListScrollBars(w);
  InvalidateListArea(w);
}

bool ListScrollingActive(const MainWindow& w) {
  return IsScrollingActive(w.list.thumbDragging.load(), w.env.clock->TickCount64(), w.list.lastScrollTickMs.load());
}

void NoteListScrolled(MainWindow& w) {
  w.list.lastScrollTickMs = w.env.clock->TickCount64();
  SetTimer(w.hwnd, ID_TIMER_SCROLL_SETTLE, kScrollSettleMs, nullptr);
  CancelRename(w, false);
}

void OnListMouseWheel(MainWindow& w, WPARAM wParam, LPARAM lParam) {
  const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(w.hwnd, &point);
  NoteListScrolled(w);
  if (OverSidebar(w, point)) {
    ScrollFilterSidebarByWheel(w, delta);
    return;
  }
  const ListFrame frame = ListFrameOf(w);
  const Rect area = ListArea(frame);
  if (!IsIconView(frame.viewMode) && (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) != 0) {
    ScrollListHorizontallyTo(
        w, WheelHorizontalOffset(w.list.hScrollOffset, delta, TotalColumnWidth(frame), area.Width(), frame.dpi));
    return;
  }
  ScrollListTo(
      w, WheelVerticalOffset(w.list.scrollOffset, delta, ContentHeight(frame, w.list.count), area.Height(), frame.dpi));
}

void OnListMouseHWheel(MainWindow& w, WPARAM wParam, LPARAM) {
  const ListFrame frame = ListFrameOf(w);
  if (IsIconView(frame.viewMode)) return;
  NoteListScrolled(w);
  // A positive delta tilts right, where the wheel's own sign means left.
  const int delta = -GET_WHEEL_DELTA_WPARAM(wParam);
  ScrollListHorizontallyTo(w, WheelHorizontalOffset(w.list.hScrollOffset, delta, TotalColumnWidth(frame),
                                                    ListArea(frame).Width(), frame.dpi));
}

void OnListVScroll(MainWindow& w, WPARAM wParam, HWND bar) {
  if (bar != nullptr && bar == w.controls.sidebarScroll) {
    OnSidebarScrollBar(w, wParam);
    return;
  }
  NoteListScrolled(w);
  const ListFrame frame = ListFrameOf(w);
  const ScrollRequest request = RequestOf(LOWORD(wParam));
  VerticalAxis axis;
  axis.offset = w.list.scrollOffset;
  axis.rowHeight = ViewMetricsFor(frame.viewMode, frame.dpi).rowHeight;
  axis.viewHeight = ListArea(frame).Height();
  axis.contentHeight = ContentHeight(frame, w.list.count);
  const int64_t thumbRow = request == ScrollRequest::kThumbTrack || request == ScrollRequest::kThumbPosition
                               ? ThumbPosition(bar, wParam)
                               : 0;
  const ScrollStep step = VerticalScroll(axis, request, thumbRow, w.list.thumbDragging.load());
  w.list.thumbDragging = step.thumbDragging;
  ScrollListTo(w, step.offset);
  if (request == ScrollRequest::kEndScroll) InvalidateListArea(w);
}

void OnListHScroll(MainWindow& w, WPARAM wParam, HWND bar) {
  NoteListScrolled(w);
  const ListFrame frame = ListFrameOf(w);
  const ScrollRequest request = RequestOf(LOWORD(wParam));
  HorizontalAxis axis;
  axis.offset = w.list.hScrollOffset;
  axis.viewWidth = ListArea(frame).Width();
  axis.contentWidth = TotalColumnWidth(frame);
  axis.dpi = frame.dpi;
  const int64_t position = request == ScrollRequest::kThumbTrack || request == ScrollRequest::kThumbPosition
                               ? ThumbPosition(bar, wParam)
                               : 0;
  const ScrollStep step = HorizontalScroll(axis, request, static_cast<int32_t>(std::min<int64_t>(position, INT32_MAX)),
                                           w.list.thumbDragging.load());
  w.list.thumbDragging = step.thumbDragging;
  ScrollListHorizontallyTo(w, step.offset);
  if (request == ScrollRequest::kEndScroll) InvalidateListArea(w);
}

}  // namespace quillmor
