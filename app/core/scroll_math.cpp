#include "app/core/scroll_math.h"

#include <algorithm>

#include "settings/dpi_scale.h"

namespace quillmor {
namespace {

constexpr int32_t kHorizontalLine96 = 40;
constexpr int32_t kWheelVertical96 = 100;
constexpr int32_t kWheelHorizontal96 = 40;
constexpr int32_t kWheelNotch = 120;

bool ThumbDragAfter(ScrollRequest request, bool dragging) {
  if (request == ScrollRequest::kThumbTrack) return true;
  if (request == ScrollRequest::kEndScroll) return false;
  return dragging;
}

// Pixels for a wheel delta; the product stays in 64 bits.
int64_t WheelPixels(int32_t wheelDelta, int32_t perNotch96, int32_t dpi) {
  return static_cast<int64_t>(wheelDelta) * ScaleFrom96(perNotch96, dpi) / kWheelNotch;
}

}  // namespace

int64_t ClampScrollOffset(int64_t offset, int64_t contentSize, int64_t viewSize) {
  const int64_t maxOffset = std::max<int64_t>(0, contentSize - std::max<int64_t>(0, viewSize));
  return std::clamp<int64_t>(offset, 0, maxOffset);
}

ScrollStep VerticalScroll(const VerticalAxis& axis, ScrollRequest request, int64_t thumbRow, bool thumbDragging) {
  const int64_t row = std::max(1, axis.rowHeight);
  const int64_t page = std::max<int64_t>(1, axis.viewHeight / row) * row;
  // Far beyond any list, and small enough that row * rowHeight cannot wrap.
  constexpr int64_t kRowLimit = int64_t{1} << 40;
  int64_t offset = ClampScrollOffset(axis.offset, axis.contentHeight, axis.viewHeight);
  switch (request) {
    case ScrollRequest::kLineBack:
      offset -= row;
      break;
    case ScrollRequest::kLineForward:
      offset += row;
      break;
    case ScrollRequest::kPageBack:
      offset -= page;
      break;
    case ScrollRequest::kPageForward:
      offset += page;
      break;
    case ScrollRequest::kStart:
      offset = 0;
      break;
    case ScrollRequest::kEnd:
      offset = axis.contentHeight;
      break;
    case ScrollRequest::kThumbTrack:
    case ScrollRequest::kThumbPosition:
      offset = std::clamp<int64_t>(thumbRow, 0, kRowLimit) * row;
      break;
    case ScrollRequest::kEndScroll:
      break;
  }
  return {ClampScrollOffset(offset, axis.contentHeight, axis.viewHeight), ThumbDragAfter(request, thumbDragging)};
}

ScrollStep HorizontalScroll(const HorizontalAxis& axis, ScrollRequest request, int32_t thumbPosition,
                            bool thumbDragging) {
  const int64_t line = ScaleFrom96(kHorizontalLine96, axis.dpi);
  const int64_t page = std::max(1, axis.viewWidth);
  int64_t offset = ClampScrollOffset(axis.offset, axis.contentWidth, axis.viewWidth);
  switch (request) {
    case ScrollRequest::kLineBack:
      offset -= line;
      break;
    case ScrollRequest::kLineForward:
      offset += line;
      break;
    case ScrollRequest::kPageBack:
      offset -= page;
      break;
    case ScrollRequest::kPageForward:
      offset += page;
      break;
    case ScrollRequest::kStart:
      offset = 0;
      break;
    case ScrollRequest::kEnd:
      offset = axis.contentWidth;
      break;
    case ScrollRequest::kThumbTrack:
    case ScrollRequest::kThumbPosition:
      offset = thumbPosition;
      break;
    case ScrollRequest::kEndScroll:
      break;
  }
  const int64_t clamped = ClampScrollOffset(offset, axis.contentWidth, axis.viewWidth);
  return {std::min<int64_t>(clamped, INT32_MAX), ThumbDragAfter(request, thumbDragging)};
}

int64_t WheelVerticalOffset(int64_t offset, int32_t wheelDelta, int64_t contentHeight, int64_t viewHeight,
                            int32_t dpi) {
  const int64_t clamped = ClampScrollOffset(offset, contentHeight, viewHeight);
  return ClampScrollOffset(clamped - WheelPixels(wheelDelta, kWheelVertical96, dpi), contentHeight, viewHeight);
}

int32_t WheelHorizontalOffset(int32_t offset, int32_t wheelDelta, int64_t contentWidth, int32_t viewWidth,
                              int32_t dpi) {
  const int64_t clamped = ClampScrollOffset(offset, contentWidth, viewWidth);
  const int64_t moved =
      ClampScrollOffset(clamped - WheelPixels(wheelDelta, kWheelHorizontal96, dpi), contentWidth, viewWidth);
  return static_cast<int32_t>(std::min<int64_t>(moved, INT32_MAX));
}

}  // namespace quillmor
