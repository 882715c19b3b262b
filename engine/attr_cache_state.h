// The process-wide flags of the attribute cache's background work: saves,
// the prewarm that holds sorting back, and the visible-row hydration.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

namespace quillmor {

struct AttrCacheState {
  // A background save (autosave or post-sort save) is running. Set by atomic
  // exchange, so background saves never queue behind each other.
  std::atomic<uint8_t> saveRunning{0};
  // A prewarm is scheduled or running; sorting is refused meanwhile. 1 from
  // program start until the first prewarm has ended.
  std::atomic<uint8_t> prewarmPending{1};
  // A visible-row hydration job is running.
  std::atomic<uint8_t> hydrationRunning{0};
  // Raised (the new value used) by each visible-row job as it starts; the
  // window repaints only for the current one.
  std::atomic<uint64_t> hydrationGeneration{0};

  // Held for every read and write of the cache file, so that two saves (the
  // start-up and exit saves included, which do not look at saveRunning)
  // never write it at the same time and a load never reads a file half
  // replaced.
  std::mutex fileMutex;
};

inline AttrCacheState g_attrCache;

}  // namespace quillmor
