// The prewarm: after start-up, the first records of every volume whose cache
// is still empty get their attributes read, slowly, on one thread. Sorting
// waits for it (prewarmPending). The timers that pace it are the window's;
// these are the parts of its timer handlers that touch the engine.
//
// The window's sequence: SchedulePrewarm() and arm the prewarm timer with one
// of the delays below (restarting it, and stopping the poll timer); when it
// fires, stop it, call StartScheduledPrewarm and arm the poll timer; at each
// poll, when PrewarmPollTick returns true, stop the poll timer.
#pragma once

#include <cstdint>

#include "engine/search_engine.h"

namespace quillmor {

// Delays of the prewarm timer: after start-up reports ready with the window
// shown, after a volume sync, and when the window is first shown after a
// hidden start-up.
inline constexpr uint32_t kPrewarmDelayAfterReadyMs = 7000;
inline constexpr uint32_t kPrewarmDelayAfterSyncMs = 5000;
inline constexpr uint32_t kPrewarmDelayAfterHiddenStartMs = 1200;
inline constexpr uint32_t kPrewarmPollIntervalMs = 500;

// Records per volume the prewarm reads, in index order.
inline constexpr uint64_t kPrewarmRecordsPerVolume = 3000;

// A prewarm is now scheduled: sorting is refused until it has run.
void SchedulePrewarm();

// The prewarm timer fired: starts the prewarm (SearchEngine::PrewarmAttrCacheAsync).
void StartScheduledPrewarm(SearchEngine& engine);

// The poll timer fired: true once the prewarm has ended, and sorting is then
// allowed again.
bool PrewarmPollTick(SearchEngine& engine);

// The job "prewarm_attr_cache" itself, on the caller's thread. Does not touch
// prewarmRunning.
void RunAttrPrewarm(SearchEngine& engine);

}  // namespace quillmor
