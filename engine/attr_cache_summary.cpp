#include "engine/attr_cache_summary.h"

#include <cstdint>
#include <limits>

#include "engine/attr_cache_file.h"
#include "platform/utf.h"
#include "settings/perf_log.h"

namespace quillmor {
namespace {

std::u16string Decimal(uint64_t value) { return U16(std::to_string(value)); }

}  // namespace

std::u16string AttrCacheSummaryLine() {
  const AttrCacheCounters& c = g_attrCounters;
  const uint64_t hits = c.hits.load(), misses = c.misses.load();
  const uint64_t total = hits + misses;
  uint64_t ratio = 0;  // hundredths of a percent
  if (total != 0) {
    ratio = hits <= std::numeric_limits<uint64_t>::max() / 10000 ? hits * 10000 / total : hits / (total / 10000);
  }
  const uint64_t fraction = ratio % 100;
  return u"summary hit_ratio=" + Decimal(ratio / 100) + u"." + (fraction < 10 ? u"0" : u"") + Decimal(fraction) +
         u"% hits=" + Decimal(hits) + u" misses=" + Decimal(misses) + u" disk_reads=" + Decimal(c.diskReads) +
         u" hydrate_calls=" + Decimal(c.hydrateCalls) + u" hydrate_us=" + Decimal(c.hydrateMicroseconds) +
         u" lock_wait_us=" + Decimal(c.lockWaitMicroseconds) + u" cache_load_ms=" + Decimal(c.cacheLoadMilliseconds) +
         u" cache_save_ms=" + Decimal(c.cacheSaveMilliseconds);
}

void SaveAttrCacheAtExit(SearchEngine& engine) {
  SaveAttrCache(engine);
  LogMetric(engine.env(), AttrCacheSummaryLine());
}

}  // namespace quillmor
