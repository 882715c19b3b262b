// A latch on a mutex and a condition variable. std::latch waits through
// std::atomic::wait, which the MinGW-w64 GCC 12 library implements without a
// futex and can miss a wake-up there, leaving a test hung.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>

namespace quillmor {

class CountdownLatch {
 public:
  explicit CountdownLatch(std::ptrdiff_t count) : count_(count) {}

  void count_down() {
    std::lock_guard lock(mutex_);
    if (count_ > 0 && --count_ == 0) zero_.notify_all();
  }

  void wait() {
    std::unique_lock lock(mutex_);
    zero_.wait(lock, [&] { return count_ == 0; });
  }

  void arrive_and_wait() {
    count_down();
    wait();
  }

 private:
  std::mutex mutex_;
  std::condition_variable zero_;
  std::ptrdiff_t count_;  // Guarded by mutex_.
};

}  // namespace quillmor
