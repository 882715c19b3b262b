#include "app/core/list_selection.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace quillmor {
namespace {

using Rows = std::vector<int64_t>;

TEST(ListSelectionTest, SelectOneReplacesTheSetAndMovesFocusAndAnchor) {
  ListSelection s;
  s.SelectRange(4);
  s.SelectOne(2);
  EXPECT_EQ(s.SelectedRows(), (Rows{2}));
  EXPECT_EQ(s.Focused(), 2);
  EXPECT_EQ(s.Anchor(), 2);
  s.Clear();
  EXPECT_TRUE(s.Empty());
  EXPECT_EQ(s.Focused(), -1);
  EXPECT_EQ(s.Anchor(), -1);
}

TEST(ListSelectionTest, ShiftSelectsFromTheAnchorWhichStays) {
  ListSelection s;
  s.SelectOne(3);
  s.SelectRange(7);
  EXPECT_EQ(s.SelectedRows(), (Rows{3, 4, 5, 6, 7}));
  EXPECT_EQ(s.Focused(), 7);
  EXPECT_EQ(s.Anchor(), 3);
  // Back past the anchor: the range turns around it, the earlier rows go.
  s.SelectRange(1);
  EXPECT_EQ(s.SelectedRows(), (Rows{1, 2, 3}));
  EXPECT_EQ(s.Focused(), 1);
  EXPECT_EQ(s.Anchor(), 3);
}

TEST(ListSelectionTest, ShiftWithoutAnAnchorStartsOneThere) {
  ListSelection s;
  s.SelectRange(5);
  EXPECT_EQ(s.SelectedRows(), (Rows{5}));
  EXPECT_EQ(s.Anchor(), 5);
  EXPECT_EQ(s.Focused(), 5);
}

TEST(ListSelectionTest, ShiftReplacesWhatCtrlAdded) {
  ListSelection s;
  s.SelectOne(10);
  s.Toggle(20);  // anchor now 20
  s.SelectRange(22);
  EXPECT_EQ(s.SelectedRows(), (Rows{20, 21, 22}));
}

TEST(ListSelectionTest, CtrlTogglesAndAnEmptiedSetForgetsFocusAndAnchor) {
  ListSelection s;
  s.Toggle(4);
  s.Toggle(9);
  EXPECT_EQ(s.SelectedRows(), (Rows{4, 9}));
  EXPECT_EQ(s.Focused(), 9);
  s.Toggle(4);
  EXPECT_EQ(s.SelectedRows(), (Rows{9}));
  EXPECT_EQ(s.Focused(), 4);  // the toggled row, even when it left the set
  EXPECT_EQ(s.Anchor(), 4);
  s.Toggle(9);
  EXPECT_TRUE(s.Empty());
  EXPECT_EQ(s.Focused(), -1);
  EXPECT_EQ(s.Anchor(), -1);
}

TEST(ListSelectionTest, CtrlCutsAHoleIntoARange) {
  ListSelection s;
  s.SelectOne(0);
  s.SelectRange(9);
  s.Toggle(4);
  EXPECT_EQ(s.SelectedRows(), (Rows{0, 1, 2, 3, 5, 6, 7, 8, 9}));
  EXPECT_FALSE(s.IsSelected(4));
  EXPECT_TRUE(s.IsSelected(5));
  s.Toggle(4);  // closing the hole joins the two runs again
  EXPECT_EQ(s.Count(), 10);
}

TEST(ListSelectionTest, SelectAllHoldsMillionsOfRowsCheaply) {
  ListSelection s;
  s.SelectOne(42);
  s.SelectAll(10'000'000);
  EXPECT_EQ(s.Count(), 10'000'000);
  EXPECT_TRUE(s.IsSelected(0));
  EXPECT_TRUE(s.IsSelected(9'999'999));
  EXPECT_FALSE(s.IsSelected(10'000'000));
  EXPECT_EQ(s.Focused(), 42);
  EXPECT_EQ(s.Anchor(), 42);
  s.SelectAll(0);
  EXPECT_TRUE(s.Empty());
  EXPECT_EQ(s.Focused(), -1);
}

TEST(ListSelectionTest, SelectAllFocusesTheFirstRowWithoutAFocus) {
  ListSelection s;
  s.SelectAll(3);
  EXPECT_EQ(s.SelectedRows(), (Rows{0, 1, 2}));
  EXPECT_EQ(s.Focused(), 0);
}

TEST(ListSelectionTest, NegativeRowsChangeNothingButSelectOneClears) {
  ListSelection s;
  s.SelectOne(2);
  s.Toggle(-1);
  s.SelectRange(-1);
  EXPECT_EQ(s.SelectedRows(), (Rows{2}));
  s.SelectOne(-1);
  EXPECT_TRUE(s.Empty());
}

// The runs must always describe the same set a plain std::set would hold:
// a long random mix of the operations on a few rows, where runs touch,
// split and merge all the time.
TEST(ListSelectionTest, AgreesWithAPlainSetUnderRandomOperations) {
  std::mt19937 random(1234);
  ListSelection s;
  std::set<int64_t> model;
  int64_t anchor = -1;
  for (int step = 0; step < 20000; ++step) {
    const int64_t row = static_cast<int64_t>(random() % 40);
    switch (random() % 8) {
      case 0:
        s.SelectOne(row);
        model = {row};
        anchor = row;
        break;
      case 1:
        s.SelectRange(row);
        if (anchor < 0) anchor = row;
        model.clear();
        for (int64_t r = std::min(anchor, row); r <= std::max(anchor, row); ++r) model.insert(r);
        break;
      case 2:
        s.Clear();
        model.clear();
        anchor = -1;
        break;
      default:
        s.Toggle(row);
        if (!model.erase(row)) model.insert(row);
        anchor = model.empty() ? -1 : row;
        break;
    }
    ASSERT_EQ(s.SelectedRows(), Rows(model.begin(), model.end())) << "step " << step;
    ASSERT_EQ(s.Count(), static_cast<int64_t>(model.size()));
    ASSERT_EQ(s.Anchor(), anchor);
    const int64_t probe = static_cast<int64_t>(random() % 42) - 1;
    ASSERT_EQ(s.IsSelected(probe), model.count(probe) == 1) << "step " << step;
  }
}

}  // namespace
}  // namespace quillmor
