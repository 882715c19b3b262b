// Handing memory back to the system when the window is hidden or idle: the
// program's own working set, and on request every other process's.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/env.h"

namespace quillmor {

// What concurrent callers share so that they trim at most once.
struct MemoryTrimState {
  // GetTickCount64 of the last self-trim; 0 before the first.
  std::atomic<uint64_t> lastSelfTrimTick{0};
  // Set while the "global_trim_all" task runs.
  std::atomic<bool> globalTrimRunning{false};
};

// The state the program uses.
MemoryTrimState& ProcessMemoryTrimState();

// At most every 30 s between self-trims.
inline constexpr uint64_t kSelfTrimSpacingMs = 30000;
// Input younger than this in the foreground main window means the user is
// working there.
inline constexpr uint32_t kUserActiveMs = 5000;

// Trims the own working set unless one was trimmed less than 30 s ago or the
// user is working in `mainWindow` (it exists, is the foreground window and saw
// input less than 5 s ago). True when it trimmed. Thread-safe.
bool TrimSelfIfIdle(Env& env, WindowHandle mainWindow, MemoryTrimState& state = ProcessMemoryTrimState());

// Trims the own working set, unconditionally.
void TrimSelfNow(Env& env);

// Starts the task "global_trim_all", which trims every other process it can
// open, unless `globalTrimEnabled` (the globalTrimOnToggle setting) is off,
// shutdown has begun, the task is already running or cannot start. True when
// it started the task.
bool RequestGlobalTrimAsync(Env& env, bool globalTrimEnabled, MemoryTrimState& state = ProcessMemoryTrimState());

}  // namespace quillmor
