// The attribute cache at exit: the last save and the summary of its use.
#pragma once

#include <string>

#include "engine/search_engine.h"

namespace quillmor {

// "summary hit_ratio=5.00% hits=1 misses=19 disk_reads=... hydrate_calls=...
// hydrate_us=... lock_wait_us=... cache_load_ms=... cache_save_ms=...", from
// the process-wide counters. The ratio is hits / (hits + misses) in hundredths
// of a percent, truncated; 0.00% when there were no lookups.
std::u16string AttrCacheSummaryLine();

// At window destruction, on the window's thread: saves the cache whatever its
// state (waiting for a background save that is writing), then writes the
// summary line to the timing log.
void SaveAttrCacheAtExit(SearchEngine& engine);

}  // namespace quillmor
