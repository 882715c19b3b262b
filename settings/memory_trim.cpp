#include "settings/memory_trim.h"

#include "platform/shutdown.h"
#include "settings/rate_limit.h"
#include "settings/single_run_task.h"

namespace quillmor {

MemoryTrimState& ProcessMemoryTrimState() {
  static MemoryTrimState state;
  return state;
}

bool TrimSelfIfIdle(Env& env, WindowHandle mainWindow, MemoryTrimState& state) {
  const uint64_t now = env.clock->TickCount64();
  if (!GapPassed(state.lastSelfTrimTick, now, kSelfTrimSpacingMs)) return false;

  uint32_t inputTick = 0;
  if (env.system->LastInputTick(inputTick) && mainWindow != nullptr && env.windows->IsWindow(mainWindow) &&
      env.system->IsForegroundWindow(mainWindow)) {
    // The input time is GetTickCount's 32 bits, which wrap every 49.7 days:
    // the difference in 32-bit arithmetic is right across one wrap.
    const uint32_t inputAge = static_cast<uint32_t>(now) - inputTick;
    if (inputAge < kUserActiveMs) return false;
  }

  // Another caller that got here first has trimmed already.
  if (!ClaimTurn(state.lastSelfTrimTick, now, kSelfTrimSpacingMs)) return false;
  TrimSelfNow(env);
  return true;
}

void TrimSelfNow(Env& env) { env.system->TrimOwnWorkingSet(); }

bool RequestGlobalTrimAsync(Env& env, bool globalTrimEnabled, MemoryTrimState& state) {
  if (!globalTrimEnabled || ShuttingDown()) return false;
  return StartSingleRunTask(env, u"global_trim_all", state.globalTrimRunning,
                            [&env] { env.system->TrimOtherProcesses(); });
}

}  // namespace quillmor
