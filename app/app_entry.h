// The program's life: start-up in its fixed order, the message loop, and the
// shutdown after it.
#pragma once

#include "app/app_env.h"

namespace quillmor {

inline constexpr wchar_t kSingleInstanceMutexName[] = L"Quillmor_Singleton_Mutex_2024";

// Runs the program over `env` and returns its exit code: 0, or 1 when a
// standard user starts it without "-hidden" (the administrator refusal, which
// the real program ends with ExitProcess(1)).
int RunApplication(AppEnv& env, HINSTANCE instance, const wchar_t* commandLine, int showCommand);

}  // namespace quillmor
