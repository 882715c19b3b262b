// Time from the C library: the boot-time clock for tick counts, and
// localtime_r/mktime, with the C library's time zone, for local time.
#pragma once

#include "platform/clock.h"

namespace quillmor {

class PosixClock : public Clock {
 public:
  uint64_t SteadyNanoseconds() override;
  uint64_t TickCount64() override;
  LocalTime LocalNow() override;
  void Sleep(uint32_t milliseconds) override;

  uint64_t UtcNowFileTime() override;
  bool FileTimeToLocal(uint64_t fileTime, LocalTime& out) override;
  bool LocalToFileTime(const LocalTime& local, uint64_t& fileTime) override;
};

}  // namespace quillmor
