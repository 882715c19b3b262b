// The process-wide state of the attribute cache, set back between tests.
#pragma once

#include "engine/attr_cache_state.h"
#include "engine/sort_job.h"

namespace quillmor {

inline void ResetAttrCacheState(uint8_t prewarmPending) {
  g_attrCache.saveRunning = 0;
  g_attrCache.prewarmPending = prewarmPending;
  g_attrCache.hydrationRunning = 0;
  g_lastSortSaveTick = 0;
}

}  // namespace quillmor
