#include "engine/attr_prewarm.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>
#include <vector>

#include "engine/attr_cache_state.h"
#include "engine/hydrate_attributes.h"
#include "platform/shutdown.h"
#include "settings/single_run_task.h"

namespace quillmor {

void SchedulePrewarm() { g_attrCache.prewarmPending = 1; }

void StartScheduledPrewarm(SearchEngine& engine) { engine.PrewarmAttrCacheAsync(); }

bool PrewarmPollTick(SearchEngine& engine) {
  if (engine.prewarmRunning.load() != 0) return false;
  g_attrCache.prewarmPending = 0;
  return true;
}

void RunAttrPrewarm(SearchEngine& engine) {
  // Volumes whose cache is still empty: typically one the file had no
  // section for.
  std::vector<VolumePtr> targets;
  for (const VolumePtr& v : engine.SnapshotVolumes()) {
    if (v->available.load() == 0) continue;
    std::shared_lock attrs(v->attrsLock);
    if (v->attrs.empty()) targets.push_back(v);
  }

  Env& env = engine.env();
  for (const VolumePtr& v : targets) {
    if (ShuttingDown()) break;
    uint64_t count = 0;
    {
      std::shared_lock records(v->recordsLock);
      count = v->records.size();
    }
    // One thread, pausing 1 ms every 128 files, so that it never competes
    // with the user for the disk.
    const uint64_t n = std::min(count, kPrewarmRecordsPerVolume);
    for (uint64_t i = 0; i < n && !ShuttingDown(); ++i) {
      AttrEntry entry;
      HydrateAttributes(v.get(), i, entry);
      if (i % 128 == 0) env.clock->Sleep(1);
    }
  }
}

void SearchEngine::PrewarmAttrCacheAsync() {
  StartSingleRunTask(env_, u"prewarm_attr_cache", prewarmRunning, [this] { RunAttrPrewarm(*this); });
}

}  // namespace quillmor
