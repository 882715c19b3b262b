// The time presets: today since local midnight, the last 7 or 30 days, and a
// custom range of whole local days.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace quillmor {

// 100-ns units.
inline constexpr uint64_t kSevenDaysFileTime = 6'048'000'000'000;
inline constexpr uint64_t kThirtyDaysFileTime = 25'920'000'000'000;

// year * 10000 + month * 100 + day as a date at 00:00:00.000: valid from
// 19700000 on, with a month of 1 to 12, a day of 1 to 31 (not checked against
// the month; the conversion to a FILETIME refuses 31 April) and a year the
// system can convert (at most 30827).
bool DateFromInt(int32_t number, LocalTime& date);

// Today's local midnight as a UTC FILETIME; 0 when it cannot be converted.
uint64_t TodayMidnightUtc(Clock& clock);

// A custom range of whole local days, as UTC FILETIMEs, both ends included.
struct CustomTimeRange {
  enum class State {
    kUsable,
    kNoRestriction,  // every time passes
    kFailsAll,       // no time passes
  };
  State state = State::kNoRestriction;
  uint64_t start = 0;  // the first day's local 00:00:00.0000000
  uint64_t end = 0;    // the last day's local 23:59:59.9999999
};

// The range from `from` to `to` (date numbers, swapped when from is after to).
// `unusable` is what the range does when a date is not valid or cannot be
// converted.
CustomTimeRange MakeCustomTimeRange(Clock& clock, int32_t from, int32_t to, CustomTimeRange::State unusable);

// What a time test of one pass needs, computed once per pass.
struct TimeFilter {
  int32_t preset = 0;             // TimePreset
  uint64_t todayMidnightUtc = 0;  // with kTimeToday
  uint64_t now = 0;               // with kTime7Days and kTime30Days
  CustomTimeRange custom;         // with kTimeCustom
};

// The time test of a file's last-write or creation time `t`. The presets
// kTimeToday to kTimeCustom fail a time of 0 (never set, or unreadable); other
// values restrict nothing. A time in the future passes the 7 and 30 day
// presets.
bool PassesTimeFilter(const TimeFilter& filter, uint64_t t);

}  // namespace quillmor
