#include "settings/single_run_task.h"

#include <string>

#include "settings/message_log.h"

namespace quillmor {

void LogTaskStartFailure(Env& env, const char16_t* name) noexcept {
  try {
    std::u16string line = u"[BackgroundThreadStartFailed] ";
    line += name != nullptr ? name : u"unknown";
    LogMessage(env, line);
  } catch (...) {
    // No memory left even for the line: the caller's false says enough.
  }
}

}  // namespace quillmor
