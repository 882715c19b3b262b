#include <process.h>
#include <windows.h>

#include <cerrno>
#include <exception>
#include <system_error>

#include "platform/thread.h"

namespace quillmor {
namespace {

unsigned __stdcall RunBody(void* body) {
  std::unique_ptr<ThreadBody> owned(static_cast<ThreadBody*>(body));
  try {
    owned->Run();
  } catch (...) {
    std::terminate();
  }
  return 0;
}

HANDLE StartBody(std::unique_ptr<ThreadBody>& body) {
  const uintptr_t thread = _beginthreadex(nullptr, 0, RunBody, body.get(), 0, nullptr);
  if (thread == 0) throw std::system_error(errno, std::generic_category(), "_beginthreadex");
  body.release();  // the thread's now
  return reinterpret_cast<HANDLE>(thread);
}

}  // namespace

Thread::Thread(Thread&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

Thread& Thread::operator=(Thread&& other) noexcept {
  if (handle_ != nullptr) std::terminate();
  handle_ = std::exchange(other.handle_, nullptr);
  return *this;
}

Thread::~Thread() {
  if (handle_ != nullptr) std::terminate();
}

bool Thread::joinable() const noexcept { return handle_ != nullptr; }

void Thread::join() {
  if (handle_ == nullptr) throw std::system_error(std::make_error_code(std::errc::invalid_argument), "join");
  WaitForSingleObject(handle_, INFINITE);
  CloseHandle(handle_);
  handle_ = nullptr;
}

void* Thread::NativeHandle() const noexcept { return handle_; }

void Thread::Start(std::unique_ptr<ThreadBody> body) { handle_ = StartBody(body); }

void StartDetachedThread(std::unique_ptr<ThreadBody> body) { CloseHandle(StartBody(body)); }

}  // namespace quillmor
