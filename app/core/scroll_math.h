// Scroll offsets of the result list: the range they are clamped to, the moves
// of the scroll-bar messages and of the mouse wheel. Offsets are pixels; the
// vertical scroll bar's position counts rows (rows of cells in the icon
// views), so that a list of many millions of rows fits its 32-bit range.
#pragma once

#include <cstdint>

namespace quillmor {

// `offset` within [0, contentSize - viewSize] (0 when the content fits).
int64_t ClampScrollOffset(int64_t offset, int64_t contentSize, int64_t viewSize);

// What a WM_VSCROLL or WM_HSCROLL asks for (SB_LINEUP ... SB_ENDSCROLL).
enum class ScrollRequest {
  kLineBack,
  kLineForward,
  kPageBack,
  kPageForward,
  kStart,
  kEnd,
  kThumbTrack,
  kThumbPosition,
  kEndScroll
};

struct ScrollStep {
  int64_t offset = 0;
  bool thumbDragging = false;  // the thumb-drag flag afterwards
};

// The vertical axis as one scroll-bar message leaves it: a line is one row,
// a page the rows the view holds (at least one); the thumb requests go to row
// `thumbRow` (and kThumbTrack sets the drag flag, kEndScroll clears it).
struct VerticalAxis {
  int64_t offset = 0;
  int32_t rowHeight = 1;
  int64_t viewHeight = 0;
  int64_t contentHeight = 0;
};
ScrollStep VerticalScroll(const VerticalAxis& axis, ScrollRequest request, int64_t thumbRow, bool thumbDragging);

// The horizontal axis: a line is 40 px (at 96 DPI), a page the view's width,
// the thumb requests go to pixel `thumbPosition`.
struct HorizontalAxis {
  int32_t offset = 0;
  int32_t viewWidth = 0;
  int64_t contentWidth = 0;
  int32_t dpi = 96;
};
ScrollStep HorizontalScroll(const HorizontalAxis& axis, ScrollRequest request, int32_t thumbPosition,
                            bool thumbDragging);

// The wheel over the list: 100 px (at 96 DPI) per notch of 120, up for a
// positive delta; fractions of a notch move a fraction of the distance.
int64_t WheelVerticalOffset(int64_t offset, int32_t wheelDelta, int64_t contentHeight, int64_t viewHeight, int32_t dpi);
// Shift+wheel in the list view (positive delta: left) and WM_MOUSEHWHEEL
// (positive delta: right, so pass it negated): 40 px per notch.
int32_t WheelHorizontalOffset(int32_t offset, int32_t wheelDelta, int64_t contentWidth, int32_t viewWidth, int32_t dpi);

}  // namespace quillmor
