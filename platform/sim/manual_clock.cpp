#include "platform/sim/manual_clock.h"

#include <chrono>
#include <thread>

namespace quillmor {
namespace {

// Days from 1601-01-01 to a proleptic Gregorian date (civil-from-days inverse).
int64_t DaysFrom1601(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const int64_t daysFrom1970 = era * 146097 + static_cast<int64_t>(doe) - 719468;
  return daysFrom1970 + 134774;  // 1601-01-01 to 1970-01-01
}

constexpr uint64_t kTicksPerDay = 864'000'000'000ull;

}  // namespace

LocalTime ManualClock::LocalNow() {
  std::lock_guard lock(localMutex_);
  return local_;
}

void ManualClock::SetLocalTime(const LocalTime& t) {
  std::lock_guard lock(localMutex_);
  local_ = t;
}

void ManualClock::Sleep(uint32_t milliseconds) {
  Advance(milliseconds);
  slept_ += milliseconds;
  // A real pause, though a short one: loops that poll with Sleep must still
  // give the thread they wait for a chance to run.
  std::this_thread::sleep_for(std::chrono::microseconds(200));
}

uint64_t ManualClock::UtcNowFileTime() {
  // LocalToFileTime already takes the offset away.
  uint64_t ft = 0;
  LocalToFileTime(LocalNow(), ft);
  return ft;
}

bool ManualClock::FileTimeToLocal(uint64_t fileTime, LocalTime& out) {
  const int64_t local = static_cast<int64_t>(fileTime) + utcOffsetMinutes_.load() * 600'000'000ll;
  if (local < 0) return false;
  int64_t days = local / static_cast<int64_t>(kTicksPerDay);
  const uint64_t rest = static_cast<uint64_t>(local) % kTicksPerDay;
  // civil_from_days, counted from 1970.
  const int64_t z = days - 134774 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
  out.year = static_cast<uint16_t>(y);
  out.month = static_cast<uint16_t>(m);
  out.day = static_cast<uint16_t>(d);
  out.dayOfWeek = static_cast<uint16_t>((days + 1) % 7);  // 1601-01-01 was a Monday
  out.hour = static_cast<uint16_t>(rest / 36'000'000'000ull);
  out.minute = static_cast<uint16_t>(rest / 600'000'000ull % 60);
  out.second = static_cast<uint16_t>(rest / 10'000'000ull % 60);
  out.milliseconds = static_cast<uint16_t>(rest / 10'000ull % 1000);
  return true;
}

bool ManualClock::LocalToFileTime(const LocalTime& t, uint64_t& fileTime) {
  // As SystemTimeToFileTime: a day the month does not have is refused, not
  // rolled over into the next month.
  if (!IsValidLocalTime(t)) return false;
  const int64_t days = DaysFrom1601(t.year, t.month, t.day);
  const int64_t local = days * static_cast<int64_t>(kTicksPerDay) + t.hour * 36'000'000'000ll +
                        t.minute * 600'000'000ll + t.second * 10'000'000ll + t.milliseconds * 10'000ll;
  const int64_t utc = local - utcOffsetMinutes_.load() * 600'000'000ll;
  if (utc < 0) return false;
  fileTime = static_cast<uint64_t>(utc);
  return true;
}

}  // namespace quillmor
