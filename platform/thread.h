// The program's threads. On Windows they are made with _beginthreadex, not
// through the MinGW-w64 threads library behind std::thread: under load that
// library was seen to lose a thread it had just made (it never ran, and
// whoever waited for it waited for ever).
#pragma once

#include <memory>
#include <type_traits>
#include <utility>
#ifndef _WIN32
#include <thread>
#endif

namespace quillmor {

// What a thread runs. An exception escaping Run ends the program, as it
// does for a std::thread.
class ThreadBody {
 public:
  virtual ~ThreadBody() = default;
  virtual void Run() = 0;
};

template <typename Callable>
std::unique_ptr<ThreadBody> MakeThreadBody(Callable&& callable) {
  struct Body : ThreadBody {
    explicit Body(Callable&& c) : callable(std::forward<Callable>(c)) {}
    void Run() override { callable(); }
    std::decay_t<Callable> callable;
  };
  return std::make_unique<Body>(std::forward<Callable>(callable));
}

// A thread that is joined, used as a std::thread: it must be joined before it
// is destroyed or assigned to.
class Thread {
 public:
  Thread() = default;
  // Starts `callable` on a new thread. Throws std::system_error when no
  // thread can be made; `callable` is then not run.
  template <typename Callable>
  requires(!std::is_same_v<std::remove_cvref_t<Callable>, Thread>) explicit Thread(Callable&& callable) {
    Start(MakeThreadBody(std::forward<Callable>(callable)));
  }
  Thread(Thread&& other) noexcept;
  Thread& operator=(Thread&& other) noexcept;
  ~Thread();

  bool joinable() const noexcept;
  void join();
  // The Win32 handle while joinable; nullptr elsewhere.
  void* NativeHandle() const noexcept;

 private:
  void Start(std::unique_ptr<ThreadBody> body);

#ifdef _WIN32
  void* handle_ = nullptr;
#else
  std::thread thread_;
#endif
};

// Runs `body` on a new thread that is never joined. Throws std::system_error
// when no thread can be made; `body` is then destroyed unrun.
void StartDetachedThread(std::unique_ptr<ThreadBody> body);

}  // namespace quillmor
