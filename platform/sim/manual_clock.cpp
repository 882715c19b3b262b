#include "platform/sim/manual_clock.h"

#include <chrono>
#include <thread>

namespace quillmor {

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

}  // namespace quillmor
