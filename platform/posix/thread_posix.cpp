#include "platform/thread.h"

namespace quillmor {

Thread::Thread(Thread&& other) noexcept = default;
Thread& Thread::operator=(Thread&& other) noexcept = default;
Thread::~Thread() = default;

bool Thread::joinable() const noexcept { return thread_.joinable(); }
void Thread::join() { thread_.join(); }
void* Thread::NativeHandle() const noexcept { return nullptr; }

void Thread::Start(std::unique_ptr<ThreadBody> body) {
  thread_ = std::thread([body = std::move(body)] { body->Run(); });
}

void StartDetachedThread(std::unique_ptr<ThreadBody> body) {
  std::thread([body = std::move(body)] { body->Run(); }).detach();
}

}  // namespace quillmor
