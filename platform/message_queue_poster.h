// A window poster without a window system: one handle of its own, and a queue
// that a consumer thread drains in posting order, as a message loop would.
// Console tools and tests use it where the application has its main window.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/window_messages.h"

namespace quillmor {

struct QueuedMessage {
  WindowHandle window = nullptr;
  uint32_t message = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;
  bool operator==(const QueuedMessage&) const = default;
};

// Thread-safe.
class MessageQueuePoster : public WindowPoster {
 public:
  // The one handle this poster accepts; unique while the poster lives.
  WindowHandle Window() const { return const_cast<MessageQueuePoster*>(this); }

  // True for Window() until Close.
  bool IsWindow(WindowHandle window) override;
  // Queues the message when it is addressed to Window() and the poster is
  // open; false otherwise.
  bool Post(WindowHandle window, uint32_t message, uint64_t wParam, int64_t lParam) override;

  // GetMessage: waits for the next message and takes it. False once the
  // poster is closed and every message posted before was taken.
  bool WaitMessage(QueuedMessage& out);
  // As WaitMessage, giving up after `timeout` (false then, too).
  bool WaitMessageFor(QueuedMessage& out, std::chrono::milliseconds timeout);
  // PeekMessage with PM_REMOVE: takes a message when one is queued.
  bool TakeMessage(QueuedMessage& out);

  // DestroyWindow: the handle stops being a window, later posts fail, and
  // waiting consumers return once the queue is drained.
  void Close();

 private:
  bool TakeLocked(QueuedMessage& out);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<QueuedMessage> queue_;  // Guarded by mutex_.
  bool closed_ = false;              // Guarded by mutex_.
};

}  // namespace quillmor
