#include "engine/attr_cache_autosave.h"

#include <system_error>

#include "engine/attr_cache_file.h"
#include "engine/attr_cache_state.h"
#include "platform/shutdown.h"
#include "settings/background_task.h"
#include "settings/message_log.h"

namespace quillmor {

bool AttrCacheAutosaveTick(SearchEngine& engine) {
  if (ShuttingDown()) return false;
  const uint64_t generation = g_attrCounters.cacheGeneration.load();
  if (generation <= g_attrCounters.savedGeneration.load()) return false;
  if (g_attrCache.saveRunning.exchange(1) != 0) return false;
  try {
    StartBackgroundTask(engine.env(), u"cache_autosave", [&engine, generation] {
      try {
        if (SaveAttrCache(engine)) {
          uint64_t saved = g_attrCounters.savedGeneration.load();
          while (saved < generation && !g_attrCounters.savedGeneration.compare_exchange_weak(saved, generation)) {
          }
        }
      } catch (...) {
        LogMessage(engine.env(), u"[BackgroundThreadException] cache_autosave");
      }
      g_attrCache.saveRunning = 0;
    });
  } catch (const std::system_error&) {
    g_attrCache.saveRunning = 0;  // no thread: the next tick tries again
    return false;
  }
  return true;
}

}  // namespace quillmor
