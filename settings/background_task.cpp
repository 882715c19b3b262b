#include "settings/background_task.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

#include "platform/detached_thread.h"
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

// What a task's thread needs; the thread owns and frees it.
struct StartedTask {
  Env& env;
  const char16_t* name;
  std::unique_ptr<BackgroundJob> job;
};

void RunStartedTask(void* started) {
  std::unique_ptr<StartedTask> task(static_cast<StartedTask*>(started));
  RunJob(task->env, task->name, *task->job);
  task.reset();
  ChangeRunning(-1);
}

}  // namespace

void StartBackgroundJob(Env& env, const char16_t* name, std::unique_ptr<BackgroundJob> job) {
  ChangeRunning(+1);
  // When no thread can be made, StartDetachedThread throws and the job is
  // destroyed here, before the throw leaves.
  std::unique_ptr<StartedTask> task;
  try {
    task = std::make_unique<StartedTask>(StartedTask{env, name, std::move(job)});
    StartDetachedThread(RunStartedTask, task.get());
    task.release();  // the thread's now
  } catch (...) {
    task.reset();
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
