#include "app/core/list_press.h"

#include <gtest/gtest.h>

#include "app/core/tooltip_place.h"
#include "tests/app/list_frame.h"

namespace quillmor {
namespace {

// The test frame: columns at x 0, 60, 340, 440, 600, 760 and 1060; the header
// band from y 100 to 140; rows of 44 px from 140; the vertical bar at x 1088
// to 1098, its track from y 140 to 698.
class ListPressTest : public ::testing::Test {
 protected:
  ListPress Press(int32_t x, int32_t y, bool ctrl = false, bool shift = false) {
    ListPressInput in;
    in.frame = frame;
    in.verticalOffset = offset;
    in.rowCount = rows;
    in.x = x;
    in.y = y;
    in.ctrl = ctrl;
    in.shift = shift;
    in.lastClickedRow = lastClickedRow;
    in.lastClickMs = lastClickMs;
    in.nowMs = nowMs;
    return DecideListPress(in, selection);
  }

  ListFrame frame = TestFrame();
  int64_t offset = 0;
  int64_t rows = 100;
  ListSelection selection;
  int64_t lastClickedRow = -1;
  uint64_t lastClickMs = 0;
  uint64_t nowMs = 100000;
};

TEST_F(ListPressTest, TheHeaderResizesNearBordersAndSortsElsewhere) {
  const struct {
    int32_t x;
    PressTarget target;
    int32_t column;
  } cases[] = {
      {30, PressTarget::kHeader, -1},  // the row-number column does nothing
      {52, PressTarget::kResizeColumn, 0},   {68, PressTarget::kResizeColumn, 0}, {69, PressTarget::kSortColumn, 1},
      {200, PressTarget::kSortColumn, 1},    {500, PressTarget::kSortColumn, 3},  {900, PressTarget::kSortColumn, 5},
      {1065, PressTarget::kResizeColumn, 5},  // the path column's right border
      {1080, PressTarget::kHeader, -1},       // beyond the columns
  };
  for (const auto& c : cases) {
    const ListPress p = Press(c.x, 120);
    EXPECT_EQ(p.target, c.target) << c.x;
    EXPECT_EQ(p.column, c.column) << c.x;
  }
}

TEST_F(ListPressTest, RowsSelectByModifier) {
  EXPECT_EQ(Press(200, 150).target, PressTarget::kSelectOne);
  EXPECT_EQ(Press(200, 150).row, 0);
  EXPECT_EQ(Press(200, 140 + 3 * 44).row, 3);
  EXPECT_EQ(Press(200, 150, false, true).target, PressTarget::kSelectRange);
  EXPECT_EQ(Press(200, 150, true, false).target, PressTarget::kToggle);
  EXPECT_EQ(Press(200, 150, true, true).target, PressTarget::kSelectRange);  // Shift wins

  selection.SelectOne(2);
  selection.SelectRange(3);  // rows 2 and 3
  EXPECT_EQ(Press(200, 140 + 2 * 44).target, PressTarget::kKeepSelection);
  EXPECT_EQ(Press(200, 140 + 4 * 44).target, PressTarget::kSelectOne);
  selection.SelectOne(2);  // alone, it is simply selected again
  EXPECT_EQ(Press(200, 140 + 2 * 44).target, PressTarget::kSelectOne);
}

TEST_F(ListPressTest, BelowTheRowsClearsUnlessCtrlOrShift) {
  rows = 5;
  EXPECT_EQ(Press(200, 140 + 5 * 44).target, PressTarget::kClearSelection);
  EXPECT_EQ(Press(200, 697).target, PressTarget::kClearSelection);
  EXPECT_EQ(Press(200, 140 + 5 * 44, true).target, PressTarget::kEmpty);
  EXPECT_EQ(Press(200, 140 + 5 * 44, false, true).target, PressTarget::kEmpty);
  rows = 0;
  EXPECT_EQ(Press(200, 150).target, PressTarget::kClearSelection);
}

TEST_F(ListPressTest, PressesOutsideTheListAreNotItsOwn) {
  EXPECT_EQ(Press(200, 50).target, PressTarget::kNothing);    // the top band
  EXPECT_EQ(Press(1099, 150).target, PressTarget::kNothing);  // right of the bar
  EXPECT_EQ(Press(200, 699).target, PressTarget::kNothing);   // under the list area
  frame.sidebarLayout = true;                                 // the list starts at x 200
  EXPECT_EQ(Press(150, 150).target, PressTarget::kNothing);
  EXPECT_EQ(Press(150, 120).target, PressTarget::kNothing);
}

TEST_F(ListPressTest, TheSecondSlowClickOnTheFocusedNameRenames) {
  selection.SelectOne(0);
  lastClickedRow = 0;
  const struct {
    uint64_t afterMs;
    int32_t x;
    bool ctrl;
    PressTarget target;
  } cases[] = {
      {600, 200, false, PressTarget::kRename},     {500, 200, false, PressTarget::kRename},
      {1200, 200, false, PressTarget::kRename},    {300, 200, false, PressTarget::kSelectOne},
      {1300, 200, false, PressTarget::kSelectOne}, {600, 400, false, PressTarget::kSelectOne},  // the size column
      {600, 200, true, PressTarget::kToggle},
  };
  for (const auto& c : cases) {
    lastClickMs = nowMs - c.afterMs;
    EXPECT_EQ(Press(c.x, 150, c.ctrl).target, c.target) << c.afterMs << " ms at x " << c.x;
  }
  lastClickMs = nowMs - 600;
  lastClickedRow = 1;  // the focused row was not the one clicked last
  EXPECT_EQ(Press(200, 150).target, PressTarget::kSelectOne);
  lastClickedRow = 0;
  frame.viewMode = kViewLargeIcons;  // no rename in the icon views
  EXPECT_EQ(Press(50, 110).target, PressTarget::kSelectOne);
}

TEST_F(ListPressTest, TheDrawnBarsComeFirst) {
  const ListPress thumb = Press(1090, 150);
  EXPECT_EQ(thumb.target, PressTarget::kVerticalThumb);
  const ListPress track = Press(1090, 600);
  EXPECT_EQ(track.target, PressTarget::kVerticalTrack);
  EXPECT_GT(track.offset, 0);
  EXPECT_EQ(track.offset % 44, 0);  // a jump lands on a whole row
  offset = track.offset;
  EXPECT_EQ(Press(1090, 600).target, PressTarget::kVerticalThumb);  // the thumb is there now

  frame.columnWidths[kColumnPath] = 600;  // 1360 px of columns: the horizontal bar shows
  const ListPress hThumb = Press(100, 692);
  EXPECT_EQ(hThumb.target, PressTarget::kHorizontalThumb);
  const ListPress hTrack = Press(1050, 692);
  EXPECT_EQ(hTrack.target, PressTarget::kHorizontalTrack);
  EXPECT_EQ(hTrack.offset, 1360 - 1088);  // the thumb's centre cannot go further
}

TEST_F(ListPressTest, IconCellsSelectAndEmptyPlacesClear) {
  frame = TestFrame(kViewSmallIcons);
  frame.clientWidth = 512;  // 4 cells of 110 px per row, from y 100
  rows = 6;
  EXPECT_EQ(Press(120, 110).row, 1);
  EXPECT_EQ(Press(120, 110).target, PressTarget::kSelectOne);
  EXPECT_EQ(Press(120, 110 + 84).row, 5);
  EXPECT_EQ(Press(450, 110).target, PressTarget::kClearSelection);       // right of the fourth cell
  EXPECT_EQ(Press(230, 110 + 84).target, PressTarget::kClearSelection);  // after the last cell
}

TEST(HoveredCellTest, RowsAndColumnsInsideTheAreaOnly) {
  const ListFrame f = TestFrame();
  EXPECT_EQ(HoveredCellAt(f, 0, 0, 10, 200, 150), (HoveredCell{0, 1}));
  EXPECT_EQ(HoveredCellAt(f, 0, 0, 10, 900, 150 + 44), (HoveredCell{1, 5}));
  EXPECT_EQ(HoveredCellAt(f, 0, 100, 10, 200, 150), (HoveredCell{0, 1}));  // 300 px of columns scrolled away
  EXPECT_EQ(HoveredCellAt(f, 0, 300, 10, 200, 150), (HoveredCell{0, 3}));
  EXPECT_EQ(HoveredCellAt(f, 0, 0, 10, 1070, 150), (HoveredCell{0, -1}));  // past the last column
  EXPECT_EQ(HoveredCellAt(f, 0, 0, 10, 200, 120), HoveredCell{});          // the header
  EXPECT_EQ(HoveredCellAt(f, 0, 0, 10, 1090, 150), HoveredCell{});         // the bar
  EXPECT_EQ(HoveredCellAt(f, 0, 0, 10, 200, 140 + 10 * 44), HoveredCell{});
  EXPECT_EQ(HoveredCellAt(TestFrame(kViewLargeIcons), 0, 0, 10, 200, 110), (HoveredCell{1, kColumnName}));
}

TEST(PlaceTooltipTest, BesideThePointerAndOnTheWorkArea) {
  const Rect screen{0, 0, 1024, 768};
  const struct {
    ScreenPoint pointer;
    int32_t width, height, dpi;
    Rect area;
    ScreenPoint expected;
  } cases[] = {
      {{100, 100}, 200, 30, 96, screen, {112, 120}},
      {{100, 100}, 200, 30, 144, screen, {118, 130}},
      {{1000, 100}, 200, 30, 96, screen, {824, 120}},             // moved left to end at the edge
      {{100, 750}, 200, 30, 96, screen, {112, 716}},              // above the pointer at the bottom
      {{100, 100}, 2000, 30, 96, screen, {0, 120}},               // wider than the screen: its left edge
      {{100, 10}, 200, 900, 96, screen, {112, 0}},                // taller than the screen: its top
      {{-10, 10}, 200, 30, 96, {-1280, 0, 0, 1024}, {-200, 30}},  // a monitor left of the primary
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlaceTooltip(c.pointer, c.width, c.height, c.area, c.dpi), c.expected)
        << c.pointer.x << "," << c.pointer.y;
  }
}

}  // namespace
}  // namespace quillmor
