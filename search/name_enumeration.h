// The name scan: every record of the volumes in scope, tested against a
// compiled query, hits delivered in order.
#pragma once

#include <atomic>
#include <cstdint>
#include <shared_mutex>
#include <vector>

#include "engine/search_engine.h"
#include "platform/shutdown.h"
#include "search/compiled_name_query.h"
#include "search/folder_path.h"
#include "search/search_generation.h"
#include "search/search_scope.h"

namespace quillmor {

// Scans the snapshot volume by volume, in snapshot order, and each volume in
// ascending record index under its shared recordsLock, skipping volumes that
// are not available or are being built and records that are deleted (or, with
// the Desktop scope, not under the Desktop folder). Calls sink(volume, index)
// for each hit at once. Returns false, delivering nothing more, when the
// generation goes stale (checked every 256 records) or shutdown begins.
template <typename Sink>
bool EnumerateNames(const CompiledNameQuery& query, const ResolvedScope& scope, const std::vector<VolumePtr>& snapshot,
                    Generation generation, Sink&& sink) {
  for (size_t position = 0; position < snapshot.size(); ++position) {
    if (scope.volumeFilter >= 0 && position != static_cast<size_t>(scope.volumeFilter)) continue;
    VolumeIndex& volume = *snapshot[position];
    if (!volume.available.load() || volume.busy.load()) continue;

    std::shared_lock lock(volume.recordsLock);
    const size_t count = volume.records.size();
    for (size_t block = 0, base = 0; base < count; ++block, base += RecordSequence::kBlockSize) {
      const FileRecord* records = volume.records.BlockData(block);
      const size_t end = std::min(count - base, RecordSequence::kBlockSize);
      for (size_t k = 0; k < end; ++k) {
        const size_t i = base + k;
        if (ShuttingDown()) return false;
        if ((i & 255) == 0 && generation.Stale()) return false;
        const FileRecord& record = records[k];
        if (record.deleted) continue;
        if (scope.desktopOnly && !IsUnderFolder(volume.BuildPath(i), scope.desktop)) continue;
        if (query.MatchesAll() || query.Matches(record)) sink(&volume, static_cast<uint64_t>(i));
      }
    }
  }
  return true;
}

}  // namespace quillmor
