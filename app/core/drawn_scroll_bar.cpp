#include "app/core/drawn_scroll_bar.h"

#include <algorithm>

#include "settings/dpi_scale.h"

namespace quillmor {
namespace {

constexpr int32_t kBarThickness96 = 10;
constexpr int32_t kShortestTrack96 = 24;
constexpr int32_t kShortestThumb96 = 28;

// a * b / c rounded half away from zero as MulDiv does, over values that may
// pass 32 bits; a, b >= 0, c > 0.
int64_t MulDiv64(int64_t a, int64_t b, int64_t c) {
  const __int128 product = static_cast<__int128>(a) * b;
  return static_cast<int64_t>((product + c / 2) / c);
}

int64_t ThumbOffsetAtPointer(const DrawnScrollBar& bar, int32_t pointer, int64_t maxValue) {
  const int32_t travel = bar.Travel();
  if (!bar.shown || travel <= 0 || maxValue <= 0) return 0;
  const int64_t along = static_cast<int64_t>(pointer) - bar.thumbLength / 2 - bar.trackStart;
  return MulDiv64(maxValue, std::clamp<int64_t>(along, 0, travel), travel);
}

}  // namespace

Rect VerticalBarRect(const ListFrame& frame) {
  const Rect area = ListArea(frame);
  return Rect{area.right, area.top, area.right + ScaleFrom96(kBarThickness96, frame.dpi), area.bottom};
}

Rect HorizontalBarRect(const ListFrame& frame) {
  const Rect area = ListArea(frame);
  return Rect{area.left, area.bottom, area.right, area.bottom + ScaleFrom96(kBarThickness96, frame.dpi)};
}

DrawnScrollBar LayOutScrollBar(int32_t trackStart, int32_t trackLength, int64_t visible, int64_t whole, int64_t offset,
                               int64_t maxOffset, int32_t dpi) {
  DrawnScrollBar bar;
  bar.trackStart = trackStart;
  bar.trackLength = std::max(0, trackLength);
  bar.shown = bar.trackLength > ScaleFrom96(kShortestTrack96, dpi);
  if (!bar.shown) return bar;
  int64_t thumb = bar.trackLength;
  if (whole > 0 && visible < whole) thumb = MulDiv64(bar.trackLength, std::max<int64_t>(0, visible), whole);
  bar.thumbLength =
      static_cast<int32_t>(std::clamp<int64_t>(thumb, ScaleFrom96(kShortestThumb96, dpi), bar.trackLength));
  int64_t along = 0;
  if (maxOffset > 0) along = MulDiv64(bar.Travel(), std::clamp<int64_t>(offset, 0, maxOffset), maxOffset);
  bar.thumbStart = trackStart + static_cast<int32_t>(along);
  return bar;
}

DrawnScrollBar VerticalListBar(const ListFrame& frame, int64_t verticalOffset, int64_t rowCount) {
  const Rect rect = VerticalBarRect(frame);
  const int64_t rowHeight = std::max(1, ViewMetricsFor(frame.viewMode, frame.dpi).rowHeight);
  const int64_t allRows = ContentHeight(frame, rowCount) / rowHeight;
  const int64_t visibleRows = ListArea(frame).Height() / rowHeight;
  return LayOutScrollBar(rect.top, rect.Height(), visibleRows, allRows, verticalOffset,
                         MaxVerticalOffset(frame, rowCount), frame.dpi);
}

DrawnScrollBar HorizontalListBar(const ListFrame& frame, int32_t horizontalOffset) {
  if (!ShowsHorizontalBar(frame)) return {};
  const Rect rect = HorizontalBarRect(frame);
  return LayOutScrollBar(rect.left, rect.Width(), ListArea(frame).Width(), TotalColumnWidth(frame), horizontalOffset,
                         MaxHorizontalOffset(frame), frame.dpi);
}

ScrollBarPart ScrollBarPartAt(const DrawnScrollBar& bar, int32_t position) {
  if (!bar.shown || position < bar.trackStart || position >= bar.trackStart + bar.trackLength) {
    return ScrollBarPart::kNone;
  }
  if (position >= bar.thumbStart && position < bar.thumbStart + bar.thumbLength) return ScrollBarPart::kThumb;
  return ScrollBarPart::kTrack;
}

int64_t TopRowAtPointer(const DrawnScrollBar& bar, int32_t pointer, int64_t maxTopRow) {
  return ThumbOffsetAtPointer(bar, pointer, maxTopRow);
}

int64_t VerticalOffsetAtPointer(const ListFrame& frame, const DrawnScrollBar& bar, int32_t y, int64_t rowCount) {
  const int64_t rowHeight = std::max(1, ViewMetricsFor(frame.viewMode, frame.dpi).rowHeight);
  const int64_t maxOffset = MaxVerticalOffset(frame, rowCount);
  const int64_t maxTopRow = (maxOffset + rowHeight - 1) / rowHeight;
  return std::min(maxOffset, TopRowAtPointer(bar, y, maxTopRow) * rowHeight);
}

int32_t OffsetAtPointer(const DrawnScrollBar& bar, int32_t pointer, int32_t maxOffset) {
  return static_cast<int32_t>(ThumbOffsetAtPointer(bar, pointer, maxOffset));
}

}  // namespace quillmor
