#include "platform/sim/manual_clock.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

constexpr uint64_t kTicksPerMinute = 600'000'000;

TEST(ManualClockTest, KnownDatesConvertBothWays) {
  struct Case {
    int offsetMinutes;
    LocalTime local;
    uint64_t fileTime;
  };
  const Case cases[] = {
      {0, {1601, 1, 1, 1, 0, 0, 0, 0}, 0},  // 1601-01-01 was a Monday
      {0, {1970, 1, 0, 4, 0, 0, 0, 0}, 116444736000000000ull + 3 * 1440 * kTicksPerMinute},
      // 2024-02-29 12:34:56.789 at UTC+8 is 04:34:56.789 UTC; a Thursday.
      {480, {2024, 2, 4, 29, 12, 34, 56, 789}, 133536548967890000ull},
      {-300, {2024, 2, 4, 29, 12, 34, 56, 789}, 133536548967890000ull + 13 * 60 * kTicksPerMinute},
  };
  for (const Case& c : cases) {
    ManualClock clock;
    clock.SetUtcOffsetMinutes(c.offsetMinutes);
    uint64_t fileTime = 0;
    ASSERT_TRUE(clock.LocalToFileTime(c.local, fileTime));
    EXPECT_EQ(fileTime, c.fileTime);
    LocalTime back;
    ASSERT_TRUE(clock.FileTimeToLocal(c.fileTime, back));
    EXPECT_EQ(back.year, c.local.year);
    EXPECT_EQ(back.month, c.local.month);
    EXPECT_EQ(back.day, c.local.day);
    EXPECT_EQ(back.dayOfWeek, c.local.dayOfWeek);
    EXPECT_EQ(back.hour, c.local.hour);
    EXPECT_EQ(back.minute, c.local.minute);
    EXPECT_EQ(back.second, c.local.second);
    EXPECT_EQ(back.milliseconds, c.local.milliseconds);
  }
}

TEST(ManualClockTest, RoundTripsAcrossYearsAndOffsets) {
  for (int offset : {-720, -300, 0, 330, 840}) {
    ManualClock clock;
    clock.SetUtcOffsetMinutes(offset);
    // Every 97 days and a bit from 1602 to about 2300, landing on odd times.
    for (uint64_t ft = 365ull * 864'000'000'000; ft < 0x0400'0000'0000'0000ull; ft += 83'886'080'000'123ull) {
      LocalTime local;
      ASSERT_TRUE(clock.FileTimeToLocal(ft, local));
      uint64_t back = 0;
      ASSERT_TRUE(clock.LocalToFileTime(local, back));
      EXPECT_EQ(back, ft - ft % 10'000) << offset;  // milliseconds survive, finer ticks do not
    }
  }
}

// SystemTimeToFileTime refuses dates that do not exist rather than rolling
// them over into the next month.
TEST(ManualClockTest, RefusesDatesThatDoNotExist) {
  ManualClock clock;
  const LocalTime bad[] = {
      {2023, 2, 0, 29, 0, 0, 0, 0}, {2024, 2, 0, 30, 0, 0, 0, 0},   {2024, 4, 0, 31, 0, 0, 0, 0},
      {1900, 2, 0, 29, 0, 0, 0, 0}, {2024, 13, 0, 1, 0, 0, 0, 0},   {2024, 0, 0, 1, 0, 0, 0, 0},
      {2024, 1, 0, 0, 0, 0, 0, 0},  {2024, 1, 0, 1, 24, 0, 0, 0},   {2024, 1, 0, 1, 0, 60, 0, 0},
      {2024, 1, 0, 1, 0, 0, 60, 0}, {2024, 1, 0, 1, 0, 0, 0, 1000}, {1600, 12, 0, 31, 0, 0, 0, 0},
  };
  for (const LocalTime& t : bad) {
    uint64_t ft = 0;
    EXPECT_FALSE(clock.LocalToFileTime(t, ft)) << t.year << "-" << t.month << "-" << t.day;
  }
  uint64_t ft = 0;
  EXPECT_TRUE(clock.LocalToFileTime({2024, 2, 0, 29, 0, 0, 0, 0}, ft));
  EXPECT_TRUE(clock.LocalToFileTime({2000, 2, 0, 29, 0, 0, 0, 0}, ft));

  // Local midnight of 1601-01-01 east of Greenwich lies before FILETIME 0.
  clock.SetUtcOffsetMinutes(60);
  EXPECT_FALSE(clock.LocalToFileTime({1601, 1, 0, 1, 0, 0, 0, 0}, ft));
}

TEST(ManualClockTest, UtcNowIsTheLocalTimeLessTheOffset) {
  ManualClock clock;
  clock.SetUtcOffsetMinutes(120);
  clock.SetLocalTime({2026, 12, 0, 3, 9, 12, 0, 0});
  ManualClock utc;
  uint64_t expected = 0;
  ASSERT_TRUE(utc.LocalToFileTime({2026, 12, 0, 3, 7, 12, 0, 0}, expected));
  EXPECT_EQ(clock.UtcNowFileTime(), expected);
  LocalTime local;
  ASSERT_TRUE(clock.FileTimeToLocal(clock.UtcNowFileTime(), local));
  EXPECT_EQ(local.hour, 9);
  EXPECT_EQ(local.minute, 12);
}

}  // namespace
}  // namespace quillmor
