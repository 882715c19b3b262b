#include "platform/posix/posix_clock.h"

#include <time.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace quillmor {
namespace {

constexpr uint64_t kTicksPerHour = 36'000'000'000ull;
// 2024-07-15 12:00 UTC and 2024-01-15 12:00 UTC.
constexpr uint64_t kJulyNoonUtc = 133655184000000000ull;
constexpr uint64_t kJanuaryNoonUtc = 133497936000000000ull;

// Runs the clock in Central European time, whatever the machine's zone.
class PosixClockTest : public ::testing::Test {
 protected:
  PosixClockTest() {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
  }
  ~PosixClockTest() override {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

  PosixClock clock;
  std::optional<std::string> saved_;
};

TEST_F(PosixClockTest, SummerAndWinterOffsetsFollowTheTimeZone) {
  uint64_t fileTime = 0;
  ASSERT_TRUE(clock.LocalToFileTime({2024, 7, 0, 15, 14, 0, 0, 0}, fileTime));
  EXPECT_EQ(fileTime, kJulyNoonUtc);  // UTC+2
  ASSERT_TRUE(clock.LocalToFileTime({2024, 1, 0, 15, 13, 0, 0, 0}, fileTime));
  EXPECT_EQ(fileTime, kJanuaryNoonUtc);  // UTC+1

  LocalTime local;
  ASSERT_TRUE(clock.FileTimeToLocal(kJulyNoonUtc + 250 * 10'000, local));
  EXPECT_EQ(local.hour, 14);
  EXPECT_EQ(local.milliseconds, 250);
  EXPECT_EQ(local.dayOfWeek, 1);
  // The last hour of 2023-12-31 UTC is already the new year in Berlin.
  ASSERT_TRUE(clock.FileTimeToLocal(kJanuaryNoonUtc - 14 * 24 * kTicksPerHour - 13 * kTicksPerHour + 1, local));
  EXPECT_EQ(local.year, 2024);
  EXPECT_EQ(local.month, 1);
  EXPECT_EQ(local.day, 1);
  EXPECT_EQ(local.hour, 0);
}

}  // namespace
}  // namespace quillmor
