#include "platform/message_queue_poster.h"

namespace quillmor {

bool MessageQueuePoster::IsWindow(WindowHandle window) {
  std::lock_guard lock(mutex_);
  return window == Window() && !closed_;
}

bool MessageQueuePoster::Post(WindowHandle window, uint32_t message, uint64_t wParam, int64_t lParam) {
  {
    std::lock_guard lock(mutex_);
    if (window != Window() || closed_) return false;
    queue_.push_back({window, message, wParam, lParam});
  }
  changed_.notify_one();
  return true;
}

bool MessageQueuePoster::WaitMessage(QueuedMessage& out) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return !queue_.empty() || closed_; });
  return TakeLocked(out);
}

bool MessageQueuePoster::WaitMessageFor(QueuedMessage& out, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [&] { return !queue_.empty() || closed_; });
  return TakeLocked(out);
}

bool MessageQueuePoster::TakeMessage(QueuedMessage& out) {
  std::lock_guard lock(mutex_);
  return TakeLocked(out);
}

void MessageQueuePoster::Close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  changed_.notify_all();
}

bool MessageQueuePoster::TakeLocked(QueuedMessage& out) {
  if (queue_.empty()) return false;
  out = queue_.front();
  queue_.pop_front();
  return true;
}

}  // namespace quillmor
