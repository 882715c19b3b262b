#include "settings/background_task.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "settings/message_log.h"

namespace quillmor {
namespace {

void RunJob(Env& env, const char16_t* name, BackgroundJob& job) noexcept {
  try {
    job.Run();
  } catch (...) {
    // Logging can fail too (no memory left); the thread must still end quietly.
    try {
      std::u16string line = u"[BackgroundThreadException] ";
      line += name != nullptr ? name : u"unknown";
      LogMessage(env, line);
    } catch (...) {
    }
  }
}

// Tasks started and not yet ended (their job run and destroyed). Never
// destroyed: detached tasks may still end while the process exits.
struct RunningTasks {
  std::mutex mutex;
  std::condition_variable changed;
  size_t count = 0;  // Guarded by mutex.
};
RunningTasks& Running() {
  static RunningTasks* running = new RunningTasks;
  return *running;
}

void ChangeRunning(int delta) {
  RunningTasks& running = Running();
  std::lock_guard lock(running.mutex);
  running.count += delta;
  // Under the lock: a waiter that sees the count reach 0 may tear down at
  // once, so this thread must be done with the condition variable by then.
  running.changed.notify_all();
}

}  // namespace

void StartBackgroundJob(Env& env, const char16_t* name, std::unique_ptr<BackgroundJob> job) {
  ChangeRunning(+1);
  try {
    // std::thread throws std::system_error when the thread cannot be
    // created; the lambda, and with it the job, is then destroyed before the
    // throw.
    std::thread([&env, name, job = std::move(job)]() mutable {
      RunJob(env, name, *job);
      job.reset();
      ChangeRunning(-1);
    }).detach();
  } catch (...) {
    ChangeRunning(-1);
    throw;
  }
}

size_t RunningBackgroundTasks() {
  std::lock_guard lock(Running().mutex);
  return Running().count;
}

void WaitForBackgroundTasks() {
  RunningTasks& running = Running();
  std::unique_lock lock(running.mutex);
  // Re-checked now and then: the MinGW-w64 threads library can lose a
  // wake-up under load (a test run under Wine waited here for ever with no
  // task left).
  while (!running.changed.wait_for(lock, std::chrono::milliseconds(50), [&] { return running.count == 0; })) {
  }
}

}  // namespace quillmor
