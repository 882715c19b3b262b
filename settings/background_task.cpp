#include "settings/background_task.h"

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

}  // namespace

void StartBackgroundJob(Env& env, const char16_t* name, std::unique_ptr<BackgroundJob> job) {
  // std::thread throws std::system_error when the thread cannot be created;
  // the lambda, and with it the job, is then destroyed before the throw.
  std::thread([&env, name, job = std::move(job)] { RunJob(env, name, *job); }).detach();
}

}  // namespace quillmor
