// Time from the Win32 API, in the system's time zone.
#pragma once

#include "platform/clock.h"

namespace quillmor {

class Win32Clock : public Clock {
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
