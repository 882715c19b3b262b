// The message log, "Quillmor_gdi.log" in the temporary directory: window
// milestones and the exceptions of background tasks, each line with the
// process's GDI and USER object counts so that a handle leak shows over time.
#pragma once

#include <string>
#include <string_view>

#include "platform/env.h"

namespace quillmor {

// The temporary directory followed by "Quillmor_gdi.log", or the relative
// ".\Quillmor_gdi.log" when the temporary path is empty or MAX_PATH (260)
// characters or longer.
std::u16string MessageLogPath(Env& env);

// Appends "[yyyy-mm-dd hh:mm:ss.mmm] GDI=n USER=n text" in local time; an
// empty text leaves the line ending in a space. Thread-safe; failures are
// silent.
void LogMessage(Env& env, std::u16string_view text = {});

}  // namespace quillmor
