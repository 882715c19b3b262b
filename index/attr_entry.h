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

// Counters of the attribute cache, reported by its exit summary. They only
// ever grow.
struct AttrCacheCounters {
  // LookupAttributes found a known entry / found none or an unknown one.
  std::atomic<uint64_t> hits{0};
  std::atomic<uint64_t> misses{0};
  // Time spent waiting for attrsLock (shared in lookups, exclusive in
  // hydration).
  std::atomic<uint64_t> lockWaitMicroseconds{0};

  // Hydrations of an available volume, the disk reads they made and the time
  // they took.
  std::atomic<uint64_t> hydrateCalls{0};
  std::atomic<uint64_t> diskReads{0};
  std::atomic<uint64_t> hydrateMicroseconds{0};

  // Loads and saves of the cache file: time and the totals of their log lines.
  std::atomic<uint64_t> cacheLoadMilliseconds{0};
  std::atomic<uint64_t> cacheSaveMilliseconds{0};
  std::atomic<uint64_t> entriesLoaded{0};
  std::atomic<uint64_t> bytesLoaded{0};
  std::atomic<uint64_t> entriesSaved{0};
  std::atomic<uint64_t> bytesSaved{0};

  // Modification count of every attrs map: +1 per entry hydrated, per erase
  // by the journal monitor and per completed load of the file.
  std::atomic<uint64_t> cacheGeneration{0};
  // cacheGeneration as of the file's last load or save; the cache is dirty
  // while cacheGeneration is above it.
  std::atomic<uint64_t> savedGeneration{0};
};

inline AttrCacheCounters g_attrCounters;

}  // namespace quillmor
