// Background jobs of a kind that must not run twice at once: each kind has a
// flag, set by atomic exchange before its job starts and cleared when the job
// ends, however it ends.
#pragma once

#include <atomic>
#include <utility>

#include "platform/env.h"
#include "settings/background_task.h"

namespace quillmor {

// Writes "[BackgroundThreadStartFailed] <name>" to the message log.
void LogTaskStartFailure(Env& env, const char16_t* name) noexcept;

// Starts `job` as the background task `name` unless a job guarded by
// `running` still runs (the request is then dropped). The flag is cleared when
// the job ends, an escaping exception included. A task that cannot start (no
// thread, no memory) clears the flag at once, is logged and returns false, so
// that the next request tries again; nothing is thrown. True when the job was
// started.
template <typename Flag, typename Job>
bool StartSingleRunTask(Env& env, const char16_t* name, std::atomic<Flag>& running, Job&& job) {
  if (running.exchange(Flag{1}) != Flag{0}) return false;
  struct ClearOnExit {
    std::atomic<Flag>& flag;
    ~ClearOnExit() { flag.store(Flag{0}); }
  };
  try {
    StartBackgroundTask(env, name, [&running, job = std::forward<Job>(job)]() mutable {
      ClearOnExit clear{running};
      job();
    });
  } catch (...) {
    running.store(Flag{0});
    LogTaskStartFailure(env, name);
    return false;
  }
  return true;
}

}  // namespace quillmor
