#include "search/time_range.h"

#include <utility>

#include "search/filter_state.h"

namespace quillmor {
namespace {

// The last 100-ns tick of the millisecond 23:59:59.999: the day ends there, not
// at the start of its last millisecond.
constexpr uint64_t kRestOfLastMillisecond = 9'999;

}  // namespace

bool DateFromInt(int32_t number, LocalTime& date) {
  if (number < 19'700'000) return false;
  const int32_t year = number / 10'000;
  const int32_t month = number / 100 % 100;
  const int32_t day = number % 100;
  // Years past 30827 do not fit a SYSTEMTIME conversion (nor, from 65536 on,
  // its 16-bit field, where they would wrap to an unrelated year).
  if (month < 1 || month > 12 || day < 1 || day > 31 || year > 30'827) return false;
  date = LocalTime{};
  date.year = static_cast<uint16_t>(year);
  date.month = static_cast<uint16_t>(month);
  date.day = static_cast<uint16_t>(day);
  return true;
}

uint64_t TodayMidnightUtc(Clock& clock) {
  LocalTime midnight = clock.LocalNow();
  midnight.hour = midnight.minute = midnight.second = midnight.milliseconds = 0;
  uint64_t fileTime = 0;
  return clock.LocalToFileTime(midnight, fileTime) ? fileTime : 0;
}

CustomTimeRange MakeCustomTimeRange(Clock& clock, int32_t from, int32_t to, CustomTimeRange::State unusable) {
  CustomTimeRange range;
  range.state = unusable;
  if (from > to) std::swap(from, to);
  LocalTime first, last;
  if (!DateFromInt(from, first) || !DateFromInt(to, last)) return range;
  last.hour = 23;
  last.minute = 59;
  last.second = 59;
  last.milliseconds = 999;
  if (!clock.LocalToFileTime(first, range.start) || !clock.LocalToFileTime(last, range.end)) return range;
  range.end += kRestOfLastMillisecond;
  range.state = CustomTimeRange::State::kUsable;
  return range;
}

bool PassesTimeFilter(const TimeFilter& filter, uint64_t t) {
  if (filter.preset < kTimeToday || filter.preset > kTimeCustom) return true;
  if (t == 0) return false;
  switch (filter.preset) {
    case kTimeToday:
      return t >= filter.todayMidnightUtc;
    case kTime7Days:
      return t >= filter.now || filter.now - t <= kSevenDaysFileTime;
    case kTime30Days:
      return t >= filter.now || filter.now - t <= kThirtyDaysFileTime;
    case kTimeCustom:
      switch (filter.custom.state) {
        case CustomTimeRange::State::kUsable:
          return t >= filter.custom.start && t <= filter.custom.end;
        case CustomTimeRange::State::kFailsAll:
          return false;
        case CustomTimeRange::State::kNoRestriction:
          return true;
      }
      return true;
    default:
      return true;
  }
}

}  // namespace quillmor
