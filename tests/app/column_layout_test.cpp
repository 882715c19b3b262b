#include "app/core/column_layout.h"

#include <gtest/gtest.h>

#include "tests/app/list_frame.h"

namespace quillmor {
namespace {

TEST(ColumnEdgesTest, WidthsAddUpFromTheAreaLessTheOffset) {
  ListFrame f = TestFrame();
  f.sidebarLayout = true;
  using Edges = std::array<int32_t, kResultColumnCount + 1>;
  EXPECT_EQ(ColumnEdges(f, 0), (Edges{200, 260, 540, 640, 800, 960, 1260}));
  EXPECT_EQ(ColumnEdges(f, 100), (Edges{100, 160, 440, 540, 700, 860, 1160}));
}

TEST(ColumnAtTest, TheColumnWhoseSpanHoldsX) {
  const ListFrame f = TestFrame();
  const struct {
    int32_t x, offset, expected;
  } cases[] = {
      {-1, 0, -1},          {0, 0, kColumnRowNumber}, {59, 0, kColumnRowNumber},
      {60, 0, kColumnName}, {340, 0, kColumnSize},    {1059, 0, kColumnPath},
      {1060, 0, -1},        {0, 60, kColumnName},
  };
  for (const auto& c : cases) EXPECT_EQ(ColumnAt(f, c.offset, c.x), c.expected) << c.x << " +" << c.offset;
  // The icon views have only names.
  EXPECT_EQ(ColumnAt(TestFrame(kViewLargeIcons), 0, 5000), kColumnName);
}

TEST(HeaderBorderAtTest, WithinEightPixelsOfAColumnsRightEdge) {
  const ListFrame f = TestFrame();  // borders at 60, 340, 440, 600, 760, 1060
  const struct {
    int32_t x, offset, expected;
  } cases[] = {
      {0, 0, -1},  // the area's left edge is no border
      {52, 0, 0},    {60, 0, 0},  {68, 0, 0},   {51, 0, -1},  {69, 0, -1},
      {336, 0, 1},   {445, 0, 2}, {1060, 0, 5}, {1067, 0, 5}, {240, 100, 1},  // 340 moved left by the offset
      {340, 100, 2},
  };
  for (const auto& c : cases) EXPECT_EQ(HeaderBorderAt(f, c.offset, c.x), c.expected) << c.x << " +" << c.offset;
  EXPECT_EQ(HeaderBorderAt(TestFrame(kViewSmallIcons), 0, 60), -1);
}

TEST(HeaderBorderAtTest, TheGripScalesWithTheDpi) {
  ListFrame f = TestFrame(kViewList, 144);
  f.columnWidths = {90, 420, 150, 240, 240, 450};
  EXPECT_EQ(HeaderBorderAt(f, 0, 90 + 12), 0);
  EXPECT_EQ(HeaderBorderAt(f, 0, 90 + 13), -1);
}

TEST(HeaderBandTest, FortyPixelsFromTheListTopInTheListView) {
  const ListFrame f = TestFrame();
  EXPECT_FALSE(InHeaderBand(f, 99));
  EXPECT_TRUE(InHeaderBand(f, 100));
  EXPECT_TRUE(InHeaderBand(f, 139));
  EXPECT_FALSE(InHeaderBand(f, 140));
  EXPECT_FALSE(InHeaderBand(TestFrame(kViewSmallIcons), 100));
}

TEST(ResizedColumnWidthTest, FollowsThePointerDownToThirtyPixels) {
  EXPECT_EQ(ResizedColumnWidth(300, 60, 96), 240);
  EXPECT_EQ(ResizedColumnWidth(80, 60, 96), 30);
  EXPECT_EQ(ResizedColumnWidth(10, 60, 96), 30);  // pointer left of the column
  EXPECT_EQ(ResizedColumnWidth(80, 60, 144), 45);
}

}  // namespace
}  // namespace quillmor
