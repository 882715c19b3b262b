// A window poster for tests: records every posted message, in order, for the
// windows it was told exist.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <vector>

#include "platform/window_messages.h"

namespace quillmor {

struct PostedMessage {
  WindowHandle window = nullptr;
  uint32_t message = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;
  bool operator==(const PostedMessage&) const = default;
};

class RecordingWindowPoster : public WindowPoster {
 public:
  // A handle tests can pass as the main window.
  static WindowHandle TestWindow() { return reinterpret_cast<WindowHandle>(0x1234); }

  RecordingWindowPoster() { windows_.insert(TestWindow()); }

  bool IsWindow(WindowHandle window) override {
    std::lock_guard lock(mutex_);
    return windows_.count(window) != 0;
  }

  bool Post(WindowHandle window, uint32_t message, uint64_t wParam, int64_t lParam) override {
    {
      std::lock_guard lock(mutex_);
      if (windows_.count(window) == 0) return false;
      messages_.push_back({window, message, wParam, lParam});
    }
    posted_.notify_all();
    return true;
  }

  void DestroyWindow(WindowHandle window) {
    std::lock_guard lock(mutex_);
    windows_.erase(window);
  }

  std::vector<PostedMessage> Messages() {
    std::lock_guard lock(mutex_);
    return messages_;
  }

  // Waits (in real time) until `count` messages have been posted. False on timeout.
  bool WaitForCount(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    std::unique_lock lock(mutex_);
    return posted_.wait_for(lock, timeout, [&] { return messages_.size() >= count; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::set<WindowHandle> windows_;       // Guarded by mutex_.
  std::vector<PostedMessage> messages_;  // Guarded by mutex_.
};

}  // namespace quillmor
