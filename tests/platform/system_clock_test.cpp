// The platform's own clock, in whatever time zone the machine has.
#include <gtest/gtest.h>

#include "platform/env.h"

namespace quillmor {
namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;

// Mid-January and mid-July middays: no zone changes its offset then.
TEST(SystemClockTest, LocalTimesRoundTrip) {
  Clock& clock = *DefaultEnv().clock;
  const LocalTime times[] = {
      {1601, 1, 0, 2, 12, 0, 0, 0},      {1969, 7, 0, 15, 12, 30, 0, 0}, {1970, 1, 0, 15, 12, 0, 0, 1},
      {2024, 7, 0, 15, 12, 34, 56, 789}, {2038, 1, 0, 19, 12, 0, 0, 0},  {2999, 1, 0, 15, 11, 59, 59, 999},
  };
  for (const LocalTime& t : times) {
    uint64_t fileTime = 0;
    ASSERT_TRUE(clock.LocalToFileTime(t, fileTime)) << t.year;
    LocalTime back;
    ASSERT_TRUE(clock.FileTimeToLocal(fileTime, back)) << t.year;
    EXPECT_EQ(back.year, t.year);
    EXPECT_EQ(back.month, t.month);
    EXPECT_EQ(back.day, t.day);
    EXPECT_EQ(back.hour, t.hour);
    EXPECT_EQ(back.minute, t.minute);
    EXPECT_EQ(back.second, t.second);
    EXPECT_EQ(back.milliseconds, t.milliseconds);
  }
  // 2024-07-15 was a Monday.
  uint64_t fileTime = 0;
  LocalTime monday;
  ASSERT_TRUE(clock.LocalToFileTime({2024, 7, 3, 15, 12, 0, 0, 0}, fileTime));
  ASSERT_TRUE(clock.FileTimeToLocal(fileTime, monday));
  EXPECT_EQ(monday.dayOfWeek, 1);
}

TEST(SystemClockTest, ImpossibleTimesFail) {
  Clock& clock = *DefaultEnv().clock;
  const LocalTime bad[] = {
      {2023, 2, 0, 29, 12, 0, 0, 0}, {2024, 4, 0, 31, 12, 0, 0, 0}, {2024, 13, 0, 1, 12, 0, 0, 0},
      {2024, 1, 0, 0, 12, 0, 0, 0},  {2024, 1, 0, 1, 24, 0, 0, 0},  {2024, 1, 0, 1, 12, 0, 0, 1000},
  };
  for (const LocalTime& t : bad) {
    uint64_t fileTime = 0;
    EXPECT_FALSE(clock.LocalToFileTime(t, fileTime)) << t.year << "-" << t.month << "-" << t.day;
  }
  LocalTime local;
  EXPECT_FALSE(clock.FileTimeToLocal(0x8000'0000'0000'0000ull, local));
}

TEST(SystemClockTest, NowAgreesAcrossTheClocks) {
  Clock& clock = *DefaultEnv().clock;
  uint64_t fromLocal = 0;
  ASSERT_TRUE(clock.LocalToFileTime(clock.LocalNow(), fromLocal));
  const uint64_t utc = clock.UtcNowFileTime();
  const uint64_t difference = utc > fromLocal ? utc - fromLocal : fromLocal - utc;
  EXPECT_LT(difference, 5 * kTicksPerSecond);

  const uint64_t tick = clock.TickCount64();
  const uint64_t steady = clock.SteadyNanoseconds();
  clock.Sleep(20);
  EXPECT_GE(clock.SteadyNanoseconds() - steady, 15'000'000u);
  // Wine refreshes the tick count only now and then, so right after the
  // sleep it may still lag behind; it must catch up.
  const uint64_t deadline = clock.SteadyNanoseconds() + 2'000'000'000u;
  while (clock.TickCount64() < tick + 10 && clock.SteadyNanoseconds() < deadline) clock.Sleep(1);
  EXPECT_GE(clock.TickCount64(), tick + 10);
}

}  // namespace
}  // namespace quillmor
