// Cached size and times of one file, and the process-wide counters of the
// attribute cache.
#pragma once

#include <atomic>
#include <cstdint>

namespace quillmor {

struct AttrEntry {
  uint64_t size = 0;
  uint64_t lastWriteTime = 0;  // FILETIME
  uint64_t creationTime = 0;   // FILETIME
  uint8_t known = 0;           // 1 when the entry holds looked-up values
};

// Counters reported by the attribute cache's exit summary.
struct AttrCacheCounters {
  std::atomic<uint64_t> hits{0};
  std::atomic<uint64_t> misses{0};
  std::atomic<uint64_t> lockWaitMicroseconds{0};
  // Modification count of the attribute cache, compared with the value at the
  // last save to decide whether the file must be written again.
  std::atomic<uint64_t> cacheGeneration{0};
};

inline AttrCacheCounters g_attrCounters;

}  // namespace quillmor
