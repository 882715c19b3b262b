// A clock for tests: time moves only when a test advances it or when code
// sleeps, so pauses of hundreds of milliseconds cost nothing.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/clock.h"

namespace quillmor {

class ManualClock : public Clock {
 public:
  uint64_t SteadyNanoseconds() override { return nanos_.load(); }
  uint64_t TickCount64() override { return nanos_.load() / 1'000'000; }
  LocalTime LocalNow() override;
  // Advances the clock by the pause and yields for a moment, so that a thread
  // polling in a sleep loop lets the others run.
  void Sleep(uint32_t milliseconds) override;

  // Local time is UTC plus a fixed offset (no daylight saving), so tests can
  // place midnights exactly.
  uint64_t UtcNowFileTime() override;
  bool FileTimeToLocal(uint64_t fileTime, LocalTime& out) override;
  bool LocalToFileTime(const LocalTime& local, uint64_t& fileTime) override;
  void SetUtcOffsetMinutes(int minutes) { utcOffsetMinutes_ = minutes; }

  void Advance(uint64_t milliseconds) { nanos_ += milliseconds * 1'000'000; }
  // Total milliseconds passed to Sleep, from every thread.
  uint64_t SleptMilliseconds() const { return slept_.load(); }
  void SetLocalTime(const LocalTime& t);

 private:
  std::atomic<uint64_t> nanos_{1'000'000'000'000};  // an arbitrary uptime
  std::atomic<uint64_t> slept_{0};
  std::atomic<int> utcOffsetMinutes_{0};
  std::mutex localMutex_;
  LocalTime local_{2026, 12, 3, 9, 12, 0, 0, 0};  // Guarded by localMutex_.
};

}  // namespace quillmor
