#include "settings/memory_trim.h"

#include "platform/shutdown.h"
#include "settings/background_task.h"

namespace quillmor {
namespace {

// Clears the running flag however the global trim ends.
struct ClearOnExit {
  std::atomic<bool>& flag;
  ~ClearOnExit() { flag.store(false); }
};

}  // namespace

MemoryTrimState& ProcessMemoryTrimState() {
  static MemoryTrimState state;
  return state;
}

bool TrimSelfIfIdle(Env& env, WindowHandle mainWindow, MemoryTrimState& state) {
  const uint64_t now = env.clock->TickCount64();
  uint64_t last = state.lastSelfTrimTick.load();
  if (now - last < kSelfTrimSpacingMs) return false;

  uint32_t inputTick = 0;
  if (env.system->LastInputTick(inputTick) && mainWindow != nullptr && env.windows->IsWindow(mainWindow) &&
      env.system->IsForegroundWindow(mainWindow)) {
    // The input time is GetTickCount's 32 bits, which wrap every 49.7 days:
    // the difference in 32-bit arithmetic is right across one wrap.
    const uint32_t inputAge = static_cast<uint32_t>(now) - inputTick;
    if (inputAge < kUserActiveMs) return false;
  }

  // Another caller that got here first has trimmed already.
  if (!state.lastSelfTrimTick.compare_exchange_strong(last, now)) return false;
  TrimSelfNow(env);
  return true;
}

void TrimSelfNow(Env& env) { env.system->TrimOwnWorkingSet(); }

bool RequestGlobalTrimAsync(Env& env, bool globalTrimEnabled, MemoryTrimState& state) {
  if (!globalTrimEnabled || ShuttingDown()) return false;
  if (state.globalTrimRunning.exchange(true)) return false;
  try {
    StartBackgroundTask(env, u"global_trim_all", [&env, &state] {
      ClearOnExit clear{state.globalTrimRunning};
      env.system->TrimOtherProcesses();
    });
  } catch (...) {
    state.globalTrimRunning.store(false);  // else no global trim would ever run again
    throw;
  }
  return true;
}

}  // namespace quillmor
