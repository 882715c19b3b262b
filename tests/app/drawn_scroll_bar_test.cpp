#include "app/core/drawn_scroll_bar.h"

#include <gtest/gtest.h>

#include "tests/app/list_frame.h"

namespace quillmor {
namespace {

TEST(DrawnScrollBarTest, ShownOnlyOnATrackLongerThan24Pixels) {
  EXPECT_FALSE(LayOutScrollBar(0, 24, 5, 100, 0, 100, 96).shown);
  EXPECT_TRUE(LayOutScrollBar(0, 25, 5, 100, 0, 100, 96).shown);
  EXPECT_FALSE(LayOutScrollBar(0, 36, 5, 100, 0, 100, 144).shown);  // 24 px at 144 DPI
}

TEST(DrawnScrollBarTest, ThumbIsTheVisiblePartOfTheTrackWithinLimits) {
  const struct {
    int32_t track;
    int64_t visible, whole;
    int32_t thumb;
  } cases[] = {
      {400, 10, 40, 100},  // a quarter
      {400, 1, 1000, 28},  // never thinner than 28
      {400, 50, 40, 400},  // never longer than the track
      {400, 10, 0, 400},   // nothing to show: the whole track
      {26, 1, 1000, 26},   // 28 would pass a short track
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LayOutScrollBar(100, c.track, c.visible, c.whole, 0, 1, 96).thumbLength, c.thumb)
        << c.visible << "/" << c.whole;
  }
}

TEST(DrawnScrollBarTest, ThumbStandsAtBothEndsOfTheTrack) {
  const DrawnScrollBar top = LayOutScrollBar(140, 400, 10, 40, 0, 1320, 96);
  EXPECT_EQ(top.thumbStart, 140);
  const DrawnScrollBar bottom = LayOutScrollBar(140, 400, 10, 40, 1320, 1320, 96);
  EXPECT_EQ(bottom.thumbStart + bottom.thumbLength, 540);
  const DrawnScrollBar middle = LayOutScrollBar(140, 400, 10, 40, 660, 1320, 96);
  EXPECT_EQ(middle.thumbStart, 140 + 150);
  // An offset beyond the range stays on the track.
  EXPECT_EQ(LayOutScrollBar(140, 400, 10, 40, 99999, 1320, 96).thumbStart, bottom.thumbStart);
}

TEST(DrawnScrollBarTest, PartsUnderThePointer) {
  const DrawnScrollBar bar = LayOutScrollBar(100, 400, 10, 40, 0, 1000, 96);  // thumb 100..200
  EXPECT_EQ(ScrollBarPartAt(bar, 99), ScrollBarPart::kNone);
  EXPECT_EQ(ScrollBarPartAt(bar, 100), ScrollBarPart::kThumb);
  EXPECT_EQ(ScrollBarPartAt(bar, 199), ScrollBarPart::kThumb);
  EXPECT_EQ(ScrollBarPartAt(bar, 200), ScrollBarPart::kTrack);
  EXPECT_EQ(ScrollBarPartAt(bar, 499), ScrollBarPart::kTrack);
  EXPECT_EQ(ScrollBarPartAt(bar, 500), ScrollBarPart::kNone);
  EXPECT_EQ(ScrollBarPartAt(DrawnScrollBar{}, 100), ScrollBarPart::kNone);
}

TEST(ThumbDragTest, TheThumbsCentreFollowsThePointer) {
  // Track 100..500, thumb 100 long: travel 300, the centre moves from 150 to 450.
  const DrawnScrollBar bar = LayOutScrollBar(100, 400, 10, 40, 0, 1000, 96);
  const struct {
    int32_t pointer;
    int64_t topRow;
  } cases[] = {
      {0, 0}, {150, 0}, {151, 0}, {300, 15}, {449, 30}, {450, 30}, {900, 30},
  };
  for (const auto& c : cases) EXPECT_EQ(TopRowAtPointer(bar, c.pointer, 30), c.topRow) << c.pointer;
  EXPECT_EQ(OffsetAtPointer(bar, 300, 600), 300);
  // A thumb that fills the track cannot travel: always the top.
  EXPECT_EQ(TopRowAtPointer(LayOutScrollBar(100, 400, 40, 40, 0, 0, 96), 300, 30), 0);
}

TEST(ThumbDragTest, ListOffsetsSnapToWholeRowsUpToTheEnd) {
  const ListFrame f = TestFrame();  // track 140..698, 44 px rows
  const DrawnScrollBar bar = VerticalListBar(f, 0, 1000);
  ASSERT_TRUE(bar.shown);
  const int64_t maxOffset = MaxVerticalOffset(f, 1000);
  for (int32_t y = bar.trackStart; y < bar.trackStart + bar.trackLength; y += 7) {
    const int64_t offset = VerticalOffsetAtPointer(f, bar, y, 1000);
    EXPECT_TRUE(offset % 44 == 0 || offset == maxOffset) << y;
    EXPECT_LE(offset, maxOffset);
  }
  EXPECT_EQ(VerticalOffsetAtPointer(f, bar, bar.trackStart, 1000), 0);
  EXPECT_EQ(VerticalOffsetAtPointer(f, bar, 10'000, 1000), maxOffset);
}

TEST(ThumbDragTest, ATrackClickCentresTheThumbAtThePointer) {
  const ListFrame f = TestFrame();
  const DrawnScrollBar before = VerticalListBar(f, 0, 1000);
  const int32_t y = 500;
  ASSERT_EQ(ScrollBarPartAt(before, y), ScrollBarPart::kTrack);
  const int64_t offset = VerticalOffsetAtPointer(f, before, y, 1000);
  const DrawnScrollBar after = VerticalListBar(f, offset, 1000);
  // Within a row's share of the travel of the pointer.
  EXPECT_NEAR(after.thumbStart + after.thumbLength / 2, y, 1);
}

TEST(ListBarsTest, BarsSitAtTheAreasRightAndBottomEdges) {
  ListFrame f = TestFrame();
  f.sidebarLayout = true;  // columns wider than the area: both bars
  EXPECT_EQ(VerticalBarRect(f), (Rect{1088, 140, 1098, 688}));
  EXPECT_EQ(HorizontalBarRect(f), (Rect{200, 688, 1088, 698}));
  const DrawnScrollBar h = HorizontalListBar(f, 0);
  EXPECT_TRUE(h.shown);
  EXPECT_EQ(h.thumbLength, 744);  // 888 x 888 / 1060, rounded
  f.sidebarLayout = false;        // the columns fit: no horizontal bar
  EXPECT_FALSE(HorizontalListBar(f, 0).shown);
}

TEST(ListBarsTest, VerticalBarOfTheIconViewsCountsRowsOfCells) {
  ListFrame f = TestFrame(kViewSmallIcons);
  f.clientWidth = 512;                                   // 4 per row; 598 px: 7 whole rows of 84
  const DrawnScrollBar bar = VerticalListBar(f, 0, 40);  // 10 rows of cells
  EXPECT_EQ(bar.thumbLength, 419);                       // 598 x 7 / 10, rounded
}

}  // namespace
}  // namespace quillmor
