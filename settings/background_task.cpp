#include "settings/background_task.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

#include "platform/thread.h"
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

// A task on its thread. The job is destroyed before the count drops: a
// waiter that sees 0 may tear down what the job refers to.
struct TaskBody : ThreadBody {
  TaskBody(Env& e, const char16_t* n, std::unique_ptr<BackgroundJob> j) : env(e), name(n), job(std::move(j)) {}
  void Run() override {
    RunJob(env, name, *job);
    job.reset();
    ChangeRunning(-1);
  }
  Env& env;
  const char16_t* name;
  std::unique_ptr<BackgroundJob> job;
};

}  // namespace

void StartBackgroundJob(Env& env, const char16_t* name, std::unique_ptr<BackgroundJob> job) {
  ChangeRunning(+1);
  try {
    // When no thread can be made this throws, and the job is destroyed
    // before the throw leaves.
    StartDetachedThread(std::make_unique<TaskBody>(env, name, std::move(job)));
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
  running.changed.wait(lock, [&] { return running.count == 0; });
}

}  // namespace quillmor
