#include "app/core/cell_text.h"

#include <gtest/gtest.h>

#include "platform/sim/manual_clock.h"
#include "settings/window_settings.h"
#include "tests/app/language_fixture.h"

namespace quillmor {
namespace {

TEST(SizeTextTest, EachUnitStartsAtItsPowerOf1024) {
  const struct {
    uint64_t bytes;
    const char16_t* text;
  } cases[] = {
      {0, u"0 B"},
      {1023, u"1023 B"},
      {1024, u"1 KB"},
      {1535, u"1 KB"},  // whole KB, rounded down
      {1048575, u"1023 KB"},
      {1048576, u"1.00 MB"},
      {1572864, u"1.50 MB"},
      {1073741823, u"1024.00 MB"},  // printf rounds, the unit does not change
      {1073741824, u"1.00 GB"},
      {5'905'580'032ull, u"5.50 GB"},
      {UINT64_MAX, u"17179869184.00 GB"},
  };
  for (const auto& c : cases) EXPECT_EQ(SizeText(c.bytes), c.text) << c.bytes;
}

TEST(RowNumberTextTest, OneBasedWithAtLeastTwoDigits) {
  const struct {
    int64_t index;
    const char16_t* text;
  } cases[] = {{0, u"01"}, {8, u"09"}, {9, u"10"}, {99, u"100"}, {1'234'566, u"1234567"}};
  for (const auto& c : cases) EXPECT_EQ(RowNumberText(c.index), c.text) << c.index;
}

class DateTextTest : public ::testing::Test {
 protected:
  uint64_t FileTimeOf(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute) {
    LocalTime t;
    t.year = year, t.month = month, t.day = day, t.hour = hour, t.minute = minute, t.second = 59;
    uint64_t ft = 0;
    EXPECT_TRUE(clock.LocalToFileTime(t, ft));
    return ft;
  }
  ManualClock clock;
};

TEST_F(DateTextTest, ShowsTheLocalTimeToTheMinute) {
  const uint64_t ft = FileTimeOf(2024, 5, 1, 8, 7);
  EXPECT_EQ(DateText(ft, clock), u"2024-05-01 08:07");
  // The time zone is the clock's: the same instant two hours east.
  clock.SetUtcOffsetMinutes(120);
  EXPECT_EQ(DateText(ft, clock), u"2024-05-01 10:07");
  clock.SetUtcOffsetMinutes(-9 * 60);
  EXPECT_EQ(DateText(ft, clock), u"2024-04-30 23:07");
}

TEST_F(DateTextTest, ZeroAndUnconvertibleTimesShowADash) {
  EXPECT_EQ(DateText(0, clock), u"-");
  clock.SetUtcOffsetMinutes(-60);  // before 1601 once shifted: no local time
  EXPECT_EQ(DateText(1, clock), u"-");
}

TEST_F(DateTextTest, CellsShowDotsUntilLoaded) {
  EXPECT_EQ(DateCellText(std::nullopt, clock), u"...");
  EXPECT_EQ(DateCellText(0, clock), u"-");
  EXPECT_EQ(SizeCellText(false, std::nullopt), u"...");
  EXPECT_EQ(SizeCellText(false, 1024), u"1 KB");
  EXPECT_EQ(SizeCellText(true, std::nullopt), u"");
  EXPECT_EQ(SizeCellText(true, 4096), u"");
}

using HeaderTextTest = LanguageTest;

TEST_F(HeaderTextTest, TheSortedColumnCarriesItsArrow) {
  const struct {
    int32_t column, sortColumn;
    bool ascending;
    const char16_t* text;
  } cases[] = {
      {kColumnName, kColumnName, true, u"Name \u2191"},
      {kColumnName, kColumnName, false, u"Name \u2193"},
      {kColumnSize, kColumnName, true, u"Size"},
      {kColumnModified, kColumnModified, true, u"Modified \u2191"},
      {kColumnCreated, -1, true, u"Created"},
      {kColumnPath, kColumnPath, false, u"Path \u2193"},
      {kColumnRowNumber, kColumnRowNumber, true, u"#"},  // never sorted, never an arrow
      {6, 6, true, u""},
      {-1, -1, true, u""},
  };
  for (const auto& c : cases) EXPECT_EQ(HeaderText(c.column, c.sortColumn, c.ascending), c.text) << c.column;
}

TEST_F(HeaderTextTest, HeadersFollowTheLanguage) {
  Install(u"zh-cn", true);
  EXPECT_EQ(HeaderText(kColumnSize, kColumnSize, true), u"大小 \u2191");
  InstallTable({{u"Header_Name", u"Nom"}});
  EXPECT_EQ(HeaderText(kColumnName, -1, true), u"Nom");
  EXPECT_EQ(HeaderText(kColumnPath, -1, true), u"Path");  // missing keys fall back to English
}

}  // namespace
}  // namespace quillmor
