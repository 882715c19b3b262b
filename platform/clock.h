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
