#include "engine/attr_cache_autosave.h"

#include "engine/attr_cache_file.h"
#include "engine/attr_cache_state.h"
#include "platform/shutdown.h"
#include "settings/single_run_task.h"

namespace quillmor {

bool AttrCacheAutosaveTick(SearchEngine& engine) {
  if (ShuttingDown()) return false;
  const uint64_t generation = g_attrCounters.cacheGeneration.load();
  if (generation <= g_attrCounters.savedGeneration.load()) return false;
  // An exception is logged by the task runner; a task that cannot start is
  // tried again at the next tick.
  return StartSingleRunTask(engine.env(), u"cache_autosave", g_attrCache.saveRunning, [&engine, generation] {
    if (!SaveAttrCache(engine)) return;
    uint64_t saved = g_attrCounters.savedGeneration.load();
    while (saved < generation && !g_attrCounters.savedGeneration.compare_exchange_weak(saved, generation)) {
    }
  });
}

}  // namespace quillmor
