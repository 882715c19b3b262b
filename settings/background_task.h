// The one way background work starts: a named job on a detached thread of its
// own. The caller never waits for the job and never learns its result; a job
// reports back by posting a message to the main window.
#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>

#include "platform/env.h"

namespace quillmor {

// A job as StartBackgroundJob takes it.
class BackgroundJob {
 public:
  virtual ~BackgroundJob() = default;
  virtual void Run() = 0;
};

// Starts `job` on a new detached thread, which owns it and destroys it when
// the job ends. An exception that escapes the job is caught and written to the
// message log as "[BackgroundThreadException] " and the task name ("unknown"
// when `name` is null); the program goes on. `name` must outlive the task (a
// string literal) and so must `env` (the process's Env does). When no thread
// can be started, std::system_error reaches the caller and the job is
// destroyed unrun.
void StartBackgroundJob(Env& env, const char16_t* name, std::unique_ptr<BackgroundJob> job);

// How many tasks are running now. For the exit summary and tests.
size_t RunningBackgroundTasks();
// Waits until every task has ended (its job run and destroyed). Tests call it
// before they tear down what the tasks use; the program never waits.
void WaitForBackgroundTasks();

// StartBackgroundJob for any callable without arguments, move-only ones
// included: StartBackgroundTask(env, u"do_search", [=] { ... }).
template <typename Job>
void StartBackgroundTask(Env& env, const char16_t* name, Job&& job) {
  struct CallableJob : BackgroundJob {
    explicit CallableJob(Job&& j) : callable(std::forward<Job>(j)) {}
    void Run() override { callable(); }
    std::decay_t<Job> callable;
  };
  StartBackgroundJob(env, name, std::make_unique<CallableJob>(std::forward<Job>(job)));
}

}  // namespace quillmor
