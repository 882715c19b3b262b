#include "app/core/scroll_math.h"

#include <gtest/gtest.h>

#include "app/core/scroll_activity.h"

namespace quillmor {
namespace {

TEST(ClampScrollOffsetTest, BetweenZeroAndContentLessView) {
  EXPECT_EQ(ClampScrollOffset(-5, 1000, 300), 0);
  EXPECT_EQ(ClampScrollOffset(500, 1000, 300), 500);
  EXPECT_EQ(ClampScrollOffset(800, 1000, 300), 700);
  EXPECT_EQ(ClampScrollOffset(50, 200, 300), 0);  // everything fits
  EXPECT_EQ(ClampScrollOffset(INT64_MAX, 1000, -1), 1000);
}

TEST(VerticalScrollTest, LinesAreRowsPagesAreTheRowsInView) {
  // 44 px rows, 558 px in view (12 whole rows), 100 rows.
  const VerticalAxis axis{440, 44, 558, 4400};
  const struct {
    ScrollRequest request;
    int64_t thumbRow, expected;
  } cases[] = {
      {ScrollRequest::kLineBack, 0, 396},
      {ScrollRequest::kLineForward, 0, 484},
      {ScrollRequest::kPageBack, 0, 0},
      {ScrollRequest::kPageForward, 0, 440 + 12 * 44},
      {ScrollRequest::kStart, 0, 0},
      {ScrollRequest::kEnd, 0, 4400 - 558},
      {ScrollRequest::kThumbTrack, 30, 30 * 44},
      {ScrollRequest::kThumbPosition, 99, 4400 - 558},  // clamped
      {ScrollRequest::kThumbPosition, -3, 0},
      {ScrollRequest::kEndScroll, 0, 440},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VerticalScroll(axis, c.request, c.thumbRow, false).offset, c.expected) << static_cast<int>(c.request);
  }
  // A page shorter than a row still moves one row.
  EXPECT_EQ(VerticalScroll({0, 44, 20, 4400}, ScrollRequest::kPageForward, 0, false).offset, 44);
}

TEST(VerticalScrollTest, ThumbTrackingSetsTheDragFlagAndEndScrollClearsIt) {
  const VerticalAxis axis{0, 44, 558, 4400};
  EXPECT_TRUE(VerticalScroll(axis, ScrollRequest::kThumbTrack, 3, false).thumbDragging);
  EXPECT_TRUE(VerticalScroll(axis, ScrollRequest::kLineForward, 0, true).thumbDragging);
  EXPECT_FALSE(VerticalScroll(axis, ScrollRequest::kThumbPosition, 3, false).thumbDragging);
  EXPECT_FALSE(VerticalScroll(axis, ScrollRequest::kEndScroll, 0, true).thumbDragging);
}

TEST(HorizontalScrollTest, FortyPixelLinesAndViewWidePages) {
  const HorizontalAxis axis{100, 800, 1200, 96};
  EXPECT_EQ(HorizontalScroll(axis, ScrollRequest::kLineBack, 0, false).offset, 60);
  EXPECT_EQ(HorizontalScroll(axis, ScrollRequest::kLineForward, 0, false).offset, 140);
  EXPECT_EQ(HorizontalScroll(axis, ScrollRequest::kPageForward, 0, false).offset, 400);
  EXPECT_EQ(HorizontalScroll(axis, ScrollRequest::kPageBack, 0, false).offset, 0);
  EXPECT_EQ(HorizontalScroll(axis, ScrollRequest::kThumbTrack, 250, false).offset, 250);
  EXPECT_EQ(HorizontalScroll({100, 800, 1200, 144}, ScrollRequest::kLineForward, 0, false).offset, 160);
  // Nothing to scroll when the columns fit.
  EXPECT_EQ(HorizontalScroll({0, 800, 700, 96}, ScrollRequest::kLineForward, 0, false).offset, 0);
}

TEST(WheelTest, HundredPixelsPerNotchVertically) {
  EXPECT_EQ(WheelVerticalOffset(500, -120, 4400, 558, 96), 600);  // towards the user: down
  EXPECT_EQ(WheelVerticalOffset(500, 240, 4400, 558, 96), 300);
  EXPECT_EQ(WheelVerticalOffset(500, -60, 4400, 558, 96), 550);  // half a notch
  EXPECT_EQ(WheelVerticalOffset(50, 120, 4400, 558, 96), 0);
  EXPECT_EQ(WheelVerticalOffset(3800, -120, 4400, 558, 96), 3842);
  EXPECT_EQ(WheelVerticalOffset(500, -120, 4400, 558, 144), 650);
}

TEST(WheelTest, FortyPixelsPerNotchHorizontally) {
  EXPECT_EQ(WheelHorizontalOffset(100, 120, 1200, 800, 96), 60);    // Shift+wheel up: left
  EXPECT_EQ(WheelHorizontalOffset(100, -120, 1200, 800, 96), 140);  // WM_MOUSEHWHEEL right, negated
  EXPECT_EQ(WheelHorizontalOffset(390, -120, 1200, 800, 96), 400);
}

TEST(ScrollActivityTest, ActiveWhileDraggingOrWithin60MsOfTheLastTick) {
  EXPECT_TRUE(IsScrollingActive(true, 10'000, 0));
  EXPECT_TRUE(IsScrollingActive(false, 1059, 1000));
  EXPECT_FALSE(IsScrollingActive(false, 1060, 1000));
  EXPECT_TRUE(IsScrollingActive(false, 900, 1000));  // a tick newer than now
}

}  // namespace
}  // namespace quillmor
