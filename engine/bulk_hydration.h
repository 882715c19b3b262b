// The sort's bulk read of missing attributes: the rows without a known entry
// split among a few threads, with progress texts for long reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/match_item.h"
#include "engine/result_set.h"
#include "platform/env.h"

namespace quillmor {

// Half the logical processors, at least 2 and at most 6 (2 when the count is
// unknown, 0): enough to keep a disk's queue full without flooding it.
constexpr unsigned SortHydrationThreads(unsigned logicalProcessors) {
  const unsigned half = logicalProcessors / 2;
  return half < 2 ? 2 : (half > 6 ? 6 : half);
}

// Progress texts are worth showing for 5000 missing rows or 15 % of the rows.
constexpr bool ShowsHydrationProgress(uint64_t missing, uint64_t rows) {
  return missing >= 5000 || (rows != 0 && missing * 100 / rows >= 15);
}

// Reads the attributes of `missing` into the cache on `threads` threads, each
// taking one contiguous share, and returns when all have ended. The threads
// stop at their next row once `generation` is stale or shutdown has begun.
// With progress shown, every 800 rows and at most every 151 ms one of them
// posts WMU_STATUS_TEXT (generation, "Extracting properties... (processed n /
// missing)") to the result set's window.
void HydrateMissingRows(Env& env, ResultSet& set, uint64_t generation, std::span<const MatchItem> missing,
                        uint64_t totalRows, unsigned threads);

}  // namespace quillmor
