#include "engine/result_set.h"

#include "platform/shutdown.h"

namespace quillmor {

Results SnapshotResults(ResultSet& set) {
  std::lock_guard lock(set.mutex);
  return set.results;
}

bool PublishResults(ResultSet& set, Env& env, Results results, uint64_t generation, bool keepSort, int64_t kind) {
  {
    // The generation is compared under the mutex, so a stale job can never
    // replace a newer result set.
    std::lock_guard lock(set.mutex);
    if (!set.IsCurrent(generation) || ShuttingDown()) return false;
    set.results = std::move(results);
    if (!keepSort) set.sortColumn = -1;
  }
  PostIfWindow(*env.windows, set.window.load(), WMU_SEARCH_RESULTS, generation, kind);
  return true;
}

}  // namespace quillmor
