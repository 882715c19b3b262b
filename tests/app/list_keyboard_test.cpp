#include "app/core/list_keyboard.h"

#include <gtest/gtest.h>

#include "tests/app/list_frame.h"

namespace quillmor {
namespace {

using Rows = std::vector<int64_t>;

TEST(FocusAfterKeyTest, ListViewMovesByRowsAndPages) {
  const struct {
    ListKey key;
    int64_t focused, expected;
  } cases[] = {
      {ListKey::kDown, 5, 6},
      {ListKey::kUp, 5, 4},
      {ListKey::kUp, 0, 0},
      {ListKey::kDown, 99, 99},
      {ListKey::kPageDown, 5, 17},
      {ListKey::kPageDown, 95, 99},
      {ListKey::kPageUp, 20, 8},
      {ListKey::kPageUp, 5, 0},
      {ListKey::kHome, 50, 0},
      {ListKey::kEnd, 50, 99},
      {ListKey::kLeft, 5, 5},
      {ListKey::kRight, 5, 5},
      // Without a focused row (or with one past the end) the keys start over.
      {ListKey::kDown, -1, 0},
      {ListKey::kUp, -1, 0},
      {ListKey::kPageDown, -1, 0},
      {ListKey::kEnd, -1, 99},
      {ListKey::kDown, 500, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FocusAfterKey(c.key, c.focused, 100, 1, 12), c.expected)
        << static_cast<int>(c.key) << " from " << c.focused;
  }
  EXPECT_EQ(FocusAfterKey(ListKey::kDown, 3, 0, 1, 12), -1);
}

TEST(FocusAfterKeyTest, IconViewsMoveByCellsAndRowsOfCells) {
  // 4 cells per row, 3 rows per page, 22 items: the last row holds 20 and 21.
  const struct {
    ListKey key;
    int64_t focused, expected;
  } cases[] = {
      {ListKey::kRight, 3, 4},     {ListKey::kLeft, 4, 3},       {ListKey::kLeft, 0, 0},
      {ListKey::kRight, 21, 21},   {ListKey::kDown, 1, 5},       {ListKey::kUp, 5, 1},
      {ListKey::kUp, 2, 2},        {ListKey::kDown, 17, 21},     {ListKey::kDown, 19, 19},
      {ListKey::kPageDown, 1, 13}, {ListKey::kPageDown, 13, 21}, {ListKey::kPageDown, 11, 21},
      {ListKey::kPageUp, 14, 2},   {ListKey::kPageUp, 6, 2},     {ListKey::kEnd, 0, 21},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FocusAfterKey(c.key, c.focused, 22, 4, 3), c.expected)
        << static_cast<int>(c.key) << " from " << c.focused;
  }
}

class ListKeyTest : public ::testing::Test {
 protected:
  // 558 px of 44 px rows: 12 whole rows per page.
  ListFrame frame = TestFrame();
  ListSelection selection;
};

TEST_F(ListKeyTest, ArrowsSelectTheNewRowAlone) {
  selection.SelectOne(3);
  selection.Toggle(7);  // focus and anchor 7
  const ListKeyResult r = ApplyListKey(selection, ListKey::kDown, false, frame, 0, 100);
  EXPECT_EQ(r.focused, 8);
  EXPECT_EQ(selection.SelectedRows(), (Rows{8}));
  EXPECT_EQ(r.verticalOffset, 0);
}

TEST_F(ListKeyTest, ShiftExtendsFromTheAnchor) {
  selection.SelectOne(3);
  ApplyListKey(selection, ListKey::kDown, true, frame, 0, 100);
  const ListKeyResult r = ApplyListKey(selection, ListKey::kDown, true, frame, 0, 100);
  EXPECT_EQ(r.focused, 5);
  EXPECT_EQ(selection.SelectedRows(), (Rows{3, 4, 5}));
  EXPECT_EQ(selection.Anchor(), 3);
  ApplyListKey(selection, ListKey::kHome, true, frame, 0, 100);
  EXPECT_EQ(selection.SelectedRows(), (Rows{0, 1, 2, 3}));
}

TEST_F(ListKeyTest, ShiftWithoutAnAnchorGrowsFromTheFocusedRow) {
  selection.SetFocused(6);  // focused by a double click, nothing selected
  ApplyListKey(selection, ListKey::kUp, true, frame, 0, 100);
  EXPECT_EQ(selection.SelectedRows(), (Rows{5, 6}));
  EXPECT_EQ(selection.Anchor(), 6);
}

TEST_F(ListKeyTest, TheFocusedRowIsScrolledIntoView) {
  selection.SelectOne(12);  // rows 0..11 are whole; 12 is cut at the bottom
  ListKeyResult r = ApplyListKey(selection, ListKey::kDown, false, frame, 0, 100);
  EXPECT_EQ(r.focused, 13);
  EXPECT_EQ(r.verticalOffset, 14 * 44 - 558);  // row 13 ends at the area's bottom
  r = ApplyListKey(selection, ListKey::kPageUp, false, frame, 20 * 44, 100);
  EXPECT_EQ(r.focused, 1);
  EXPECT_EQ(r.verticalOffset, 44);  // row 1 at the top
  r = ApplyListKey(selection, ListKey::kEnd, false, frame, 0, 100);
  EXPECT_EQ(r.verticalOffset, MaxVerticalOffset(frame, 100));
  // A row already in view keeps the offset.
  r = ApplyListKey(selection, ListKey::kUp, false, frame, MaxVerticalOffset(frame, 100), 100);
  EXPECT_EQ(r.verticalOffset, MaxVerticalOffset(frame, 100));
}

TEST_F(ListKeyTest, IconViewsRevealTheRowOfCells) {
  frame.viewMode = kViewLargeIcons;
  frame.clientWidth = 612;  // 4 cells of 150, 598 px high: 5 whole rows of 112
  const ListKeyResult r = ApplyListKey(selection, ListKey::kEnd, false, frame, 0, 40);  // row of cells 9
  EXPECT_EQ(r.focused, 39);
  EXPECT_EQ(r.verticalOffset, 10 * 112 - 598);
  EXPECT_EQ(OffsetRevealingRow(frame, 900, 40, 0), 0);
}

TEST_F(ListKeyTest, WithoutRowsNothingMoves) {
  const ListKeyResult r = ApplyListKey(selection, ListKey::kDown, false, frame, 0, 0);
  EXPECT_EQ(r.focused, -1);
  EXPECT_TRUE(selection.Empty());
}

TEST_F(ListKeyTest, CtrlASelectsEveryRowAndKeepsTheFocusInView) {
  selection.SelectOne(50);
  const ListKeyResult r = SelectAllRows(selection, frame, 0, 100);
  EXPECT_EQ(selection.Count(), 100);
  EXPECT_EQ(r.focused, 50);
  EXPECT_EQ(r.verticalOffset, 51 * 44 - 558);
}

TEST_F(ListKeyTest, RowsPerPageCountsWholeRowsAtLeastOne) {
  EXPECT_EQ(RowsPerPage(frame), 12);
  frame.clientHeight = 150;  // 8 px of rows
  EXPECT_EQ(RowsPerPage(frame), 1);
}

}  // namespace
}  // namespace quillmor
