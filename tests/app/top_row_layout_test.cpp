#include "app/core/top_row_layout.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

TEST(TopRowLayoutTest, PlainPresetsSitAtTheRightEdge) {
  const TopRowLayout l = LayOutTopRow(1100, false, false, 96);
  EXPECT_EQ(l.scope, RectAt(20, 16, 120, 38));
  // xs = 1100 - 260 - 12 - 20 = 808.
  EXPECT_EQ(l.sizePreset, RectAt(808, 16, 130, 38));
  EXPECT_EQ(l.search, (Rect{152, 16, 796, 54}));
  EXPECT_EQ(l.timePreset, RectAt(950, 16, 130, 38));
  EXPECT_EQ(l.timePreset.right, 1100 - 20);
  EXPECT_FALSE(l.showCustomSize);
  EXPECT_FALSE(l.showDates);
}

TEST(TopRowLayoutTest, TheCustomSizeAddsItsEditAndUnitBox) {
  const TopRowLayout l = LayOutTopRow(1100, true, false, 96);
  // extra = 78 + 12 + 78 + 3 = 171: xs = 637.
  EXPECT_EQ(l.sizePreset.left, 637);
  EXPECT_EQ(l.search.right, 625);
  EXPECT_EQ(l.customSize, RectAt(637 + 133, 16, 78, 38));
  EXPECT_EQ(l.sizeUnit, RectAt(637 + 130 + 84, 16, 78, 38));
  EXPECT_EQ(l.timePreset.left, l.sizeUnit.right + 12);
  EXPECT_LE(l.timePreset.right, 1100 - 20);
  EXPECT_TRUE(l.showCustomSize);
}

TEST(TopRowLayoutTest, TheCustomTimeAddsTwoDatePickers) {
  const TopRowLayout l = LayOutTopRow(1400, false, true, 96);
  // extra = 260 + 12 + 3 = 275: xs = 1400 - 260 - 275 - 32 = 833.
  EXPECT_EQ(l.sizePreset.left, 833);
  EXPECT_EQ(l.timePreset.left, 833 + 142);
  EXPECT_EQ(l.dateFrom, RectAt(l.timePreset.right + 3, 16, 130, 38));
  EXPECT_EQ(l.dateTo, RectAt(l.timePreset.right + 136, 16, 130, 38));
  EXPECT_LE(l.dateTo.right, 1400 - 20);
  EXPECT_TRUE(l.showDates);
}

TEST(TopRowLayoutTest, ANarrowWindowKeepsTheMinimumsAndLetsTheRowOverflow) {
  // Both custom: xs would be 1100 - 260 - 446 - 32 = 362, raised to 372.
  const TopRowLayout both = LayOutTopRow(1100, true, true, 96);
  EXPECT_EQ(both.sizePreset.left, 372);
  EXPECT_EQ(both.search, (Rect{152, 16, 360, 54}));
  const TopRowLayout tiny = LayOutTopRow(200, false, false, 96);
  EXPECT_EQ(tiny.sizePreset.left, 372);
  EXPECT_GE(tiny.search.Width(), 80);
  EXPECT_EQ(tiny.search.left, 152);
}

TEST(TopRowLayoutTest, EveryMeasureScalesWithTheDpi) {
  const TopRowLayout l = LayOutTopRow(1650, false, false, 144);
  EXPECT_EQ(l.scope, RectAt(30, 24, 180, 57));
  // xs = 1650 - 390 - 18 - 30 = 1212.
  EXPECT_EQ(l.sizePreset, RectAt(1212, 24, 195, 57));
  EXPECT_EQ(l.search.left, 30 + 180 + 18);
  EXPECT_EQ(l.timePreset.right, 1650 - 30);
}

}  // namespace
}  // namespace quillmor
