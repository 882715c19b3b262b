// Time: the steady clock, the tick count, local time and sleeping.
#pragma once

#include <cstdint>

namespace quillmor {

// SYSTEMTIME.
struct LocalTime {
  uint16_t year = 0;
  uint16_t month = 0;  // 1 to 12
  uint16_t dayOfWeek = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

// SystemTimeToFileTime's checks: a date from 1601 to 30827 that exists (no
// 29 February outside leap years, no 31 April) and a time of day within range.
// dayOfWeek is not checked.
inline bool IsValidLocalTime(const LocalTime& t) {
  if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12 || t.day < 1 || t.hour > 23 || t.minute > 59 ||
      t.second > 59 || t.milliseconds > 999) {
    return false;
  }
  constexpr uint16_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
  return t.day <= (t.month == 2 && leap ? 29 : kDays[t.month - 1]);
}

// Thread-safe.
class Clock {
 public:
  virtual ~Clock() = default;
  // A monotonic clock in nanoseconds (std::chrono::steady_clock).
  virtual uint64_t SteadyNanoseconds() = 0;
  // GetTickCount64: milliseconds since the system started.
  virtual uint64_t TickCount64() = 0;
  // GetLocalTime.
  virtual LocalTime LocalNow() = 0;
  // Sleep. Tests replace it so that they need not wait out fixed pauses.
  virtual void Sleep(uint32_t milliseconds) = 0;

  // GetSystemTimeAsFileTime: now, as a FILETIME (100-ns units since
  // 1601-01-01 UTC).
  virtual uint64_t UtcNowFileTime() = 0;
  // FileTimeToSystemTime + SystemTimeToTzSpecificLocalTime: the local time of
  // a FILETIME. False for a time the system cannot convert.
  virtual bool FileTimeToLocal(uint64_t fileTime, LocalTime& out) = 0;
  // TzSpecificLocalTimeToSystemTime + SystemTimeToFileTime: the FILETIME of a
  // local time (dayOfWeek ignored). False for an invalid date.
  virtual bool LocalToFileTime(const LocalTime& local, uint64_t& fileTime) = 0;
};

}  // namespace quillmor
