#include "app/core/filter_bar_layout.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

FilterBarInput TopBar(int32_t width, int32_t tags) {
  FilterBarInput in;
  in.clientWidth = width;
  in.clientHeight = 700;
  in.sidebarLayout = false;
  in.sidebarWidth = 200;
  in.tagCount = tags;
  return in;
}

FilterBarInput Sidebar(int32_t height, int32_t tags, int32_t scroll = 0) {
  FilterBarInput in = TopBar(1100, tags);
  in.sidebarLayout = true;
  in.clientHeight = height;
  in.sidebarScrollOffset = scroll;
  return in;
}

TEST(TopBarLayoutTest, ButtonsStandInARowEightyPixelsApart) {
  const FilterBarLayout l = LayOutFilterBar(TopBar(1100, 8));
  ASSERT_EQ(l.tagButtons.size(), 8u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(l.tagButtons[i], RectAt(15 + i * 80, 62, 72, 40)) << i;
  EXPECT_EQ(l.statusLine, RectAt(15, 110, 800, 20));
  EXPECT_EQ(l.listTop, 136);
  EXPECT_FALSE(l.sidebarScrollShown);
}

TEST(TopBarLayoutTest, AFullRowWrapsToTheNext) {
  // 400 px: a button may end at 388, so four fit (the fourth ends at 327).
  const FilterBarLayout l = LayOutFilterBar(TopBar(400, 9));
  EXPECT_EQ(l.tagButtons[3], RectAt(255, 62, 72, 40));
  EXPECT_EQ(l.tagButtons[4], RectAt(15, 110, 72, 40));
  EXPECT_EQ(l.tagButtons[8], RectAt(15, 158, 72, 40));
  EXPECT_EQ(l.listTop, 158 + 40 + 8 + 20 + 6);
}

TEST(TopBarLayoutTest, AWindowNarrowerThanAButtonKeepsOnePerRow) {
  const FilterBarLayout l = LayOutFilterBar(TopBar(50, 3));
  EXPECT_EQ(l.tagButtons[0].top, 62);
  EXPECT_EQ(l.tagButtons[1].top, 110);
  EXPECT_EQ(l.tagButtons[2].top, 158);
}

TEST(TopBarLayoutTest, NoTagsLeaveTheStatusLineUnderTheTopRow) {
  const FilterBarLayout l = LayOutFilterBar(TopBar(1100, 0));
  EXPECT_TRUE(l.tagButtons.empty());
  EXPECT_EQ(l.statusLine.top, 70);
}

TEST(SidebarLayoutTest, OneColumnOfButtonsBelowTheListTop) {
  const FilterBarLayout l = LayOutFilterBar(Sidebar(700, 3));
  EXPECT_EQ(l.listTop, 100);
  EXPECT_EQ(l.statusLine, RectAt(15, 74, 800, 20));
  EXPECT_EQ(l.tagButtons[0], (Rect{12, 108, 182, 148}));
  EXPECT_EQ(l.tagButtons[2], (Rect{12, 204, 182, 244}));
  EXPECT_EQ(l.sidebarScrollBar, (Rect{190, 108, 200, 692}));
  EXPECT_FALSE(l.sidebarScrollShown);
  EXPECT_EQ(l.sidebarMaxScroll, 0);
}

TEST(SidebarLayoutTest, ManyTagsScrollWithinTheirRange) {
  // 20 tags: 19 x 48 + 40 = 952 px of buttons in 584 px.
  const FilterBarLayout l = LayOutFilterBar(Sidebar(700, 20, 100));
  EXPECT_TRUE(l.sidebarScrollShown);
  EXPECT_EQ(l.sidebarMaxScroll, 952 - 584);
  EXPECT_EQ(l.tagButtons[0].top, 108 - 100);
  const FilterBarLayout past = LayOutFilterBar(Sidebar(700, 20, 5000));
  EXPECT_EQ(past.tagButtons[19].bottom, 692);  // the last button at the view's bottom
  const FilterBarLayout before = LayOutFilterBar(Sidebar(700, 20, -30));
  EXPECT_EQ(before.tagButtons[0].top, 108);
}

TEST(SidebarLayoutTest, TheWheelScrollsTheSidebarWithinItsRange) {
  const FilterBarLayout l = LayOutFilterBar(Sidebar(700, 20));
  EXPECT_EQ(SidebarScrollAfterWheel(l, 0, -120, 96), 100);
  EXPECT_EQ(SidebarScrollAfterWheel(l, 300, -120, 96), l.sidebarMaxScroll);
  EXPECT_EQ(SidebarScrollAfterWheel(l, 50, 120, 96), 0);
}

TEST(SidebarLayoutTest, ScalesWithTheDpi) {
  FilterBarInput in = Sidebar(1050, 2);
  in.dpi = 144;
  in.sidebarWidth = 300;
  const FilterBarLayout l = LayOutFilterBar(in);
  EXPECT_EQ(l.listTop, 150);
  EXPECT_EQ(l.tagButtons[1].top, 150 + 12 + 72);
  EXPECT_EQ(l.sidebarScrollBar.left, 285);
}

}  // namespace
}  // namespace quillmor
