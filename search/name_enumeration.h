// The name scan: every record of the volumes in scope, tested against a
// compiled query, hits delivered in order.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <shared_mutex>
#include <system_error>
#include <vector>

#include "engine/search_engine.h"
#include "platform/shutdown.h"
#include "platform/thread.h"
#include "search/compiled_name_query.h"
#include "search/folder_path.h"
#include "search/search_generation.h"
#include "search/search_scope.h"

namespace quillmor {

// Volumes of at least this many records are scanned by two threads. Starting
// a thread costs tens of microseconds; below this a volume scans in about a
// millisecond, and halving that is not worth a thread.
inline constexpr size_t kSplitScanRecords = 200'000;

// Tests the records [begin, end) of `volume` in ascending order and calls
// hit(index) for each hit, counting `remaining` down; once it is 0 the scan
// ends as complete. The caller holds the volume's recordsLock shared.
// Returns false, testing nothing more, when the generation goes stale or
// shutdown begins (both checked before every 256th record index).
template <typename Hit>
bool ScanRecordRange(const CompiledNameQuery& query, const ResolvedScope& scope, const VolumeIndex& volume,
                     size_t begin, size_t end, Generation generation, size_t& remaining, Hit&& hit) {
  constexpr size_t kCheckEvery = 256;  // divides the block size
  static_assert(RecordSequence::kBlockSize % kCheckEvery == 0);
  const bool everything = query.MatchesAll();
  for (size_t chunk = begin; chunk < end && remaining != 0;) {
    if (generation.Cancelled()) return false;
    const size_t chunkEnd = std::min(end, (chunk / kCheckEvery + 1) * kCheckEvery);
    // A chunk lies in one block of the record sequence.
    const size_t blockStart = chunk - chunk % RecordSequence::kBlockSize;
    const FileRecord* records = volume.records.BlockData(chunk / RecordSequence::kBlockSize) - blockStart;
    // The chunk's hits are noted without a branch on the outcome, which
    // is as hard to predict as the query is common, and delivered after.
    uint32_t found[kCheckEvery];
    size_t foundCount = 0;
    for (size_t i = chunk; i < chunkEnd; ++i) {
      const FileRecord& record = records[i];
      found[foundCount] = static_cast<uint32_t>(i);
      foundCount += (!record.deleted & (everything || query.Matches(record))) ? 1 : 0;
    }
    for (size_t k = 0; k < foundCount && remaining != 0; ++k) {
      // The Desktop scope builds a path: only for names that match.
      if (scope.desktopOnly && !IsUnderFolder(volume.BuildPath(found[k]), scope.desktop)) continue;
      hit(found[k]);
      --remaining;
    }
    chunk = chunkEnd;
  }
  return true;
}

// Scans the first `count` records of `volume`, whose recordsLock the caller
// holds shared, and calls sink(volume, index) for each hit in ascending order,
// at most `remaining` times (counted down). A large volume's upper half is
// scanned by a helper thread meanwhile; its hits are kept and delivered after
// those of the lower half, which go out as they are found. The helper reads under the caller's lock and is joined
// before this returns. It never takes the lock itself: a shared lock asked for
// while a writer waits may have to wait for that writer (Windows' slim
// reader/writer locks let the writer go first), and the writer waits for the
// caller, who would be waiting for the helper.
template <typename Sink>
bool ScanVolume(const CompiledNameQuery& query, const ResolvedScope& scope, VolumeIndex& volume, size_t count,
                Generation generation, size_t& remaining, Sink& sink) {
  const auto deliver = [&](size_t i) { sink(&volume, static_cast<uint64_t>(i)); };
  if (count < kSplitScanRecords) {
    return ScanRecordRange(query, scope, volume, 0, count, generation, remaining, deliver);
  }

  const size_t middle = count / 2;
  std::vector<uint32_t> upperHits;  // record indices fit 32 bits, as in MatchItem
  // The upper half keeps no more than the whole limit: the lower half may
  // find none.
  size_t upperRemaining = remaining;
  bool upperComplete = false;
  std::exception_ptr upperError;  // rethrown here, as if this thread had met it
  Thread helper;
  try {
    helper = Thread([&] {
      try {
        upperComplete = ScanRecordRange(query, scope, volume, middle, count, generation, upperRemaining,
                                        [&](size_t i) { upperHits.push_back(static_cast<uint32_t>(i)); });
      } catch (...) {
        upperError = std::current_exception();
      }
    });
  } catch (const std::system_error&) {
    // No thread to be had: scan it all here.
    return ScanRecordRange(query, scope, volume, 0, count, generation, remaining, deliver);
  }
  // Joined on every way out, a throwing sink included: the helper reads the
  // volume under the lock the caller releases after this returns.
  struct JoinOnExit {
    Thread& thread;
    ~JoinOnExit() {
      if (thread.joinable()) thread.join();
    }
  } joinOnExit{helper};

  const bool lowerComplete = ScanRecordRange(query, scope, volume, 0, middle, generation, remaining, deliver);
  helper.join();
  if (upperError) std::rethrow_exception(upperError);
  if (!lowerComplete || !upperComplete) return false;
  for (size_t k = 0; k < upperHits.size() && remaining != 0; ++k, --remaining) {
    sink(&volume, static_cast<uint64_t>(upperHits[k]));
  }
  return true;
}

// Scans the snapshot volume by volume, in snapshot order, and each volume in
// ascending record index under its shared recordsLock, skipping volumes that
// are not available or are being built and records that are deleted (or, with
// the Desktop scope, not under the Desktop folder). Calls sink(volume, index)
// for each hit in that order, the hits of a large volume's lower half at once
// and those of its upper half when the volume is done (see ScanVolume).
// Returns false, delivering nothing more, when the generation goes stale
// (checked every 256 records) or shutdown begins. After `limit` hits the
// enumeration ends early, as complete: the rest of the records are not read.
template <typename Sink>
bool EnumerateNames(const CompiledNameQuery& query, const ResolvedScope& scope, const std::vector<VolumePtr>& snapshot,
                    Generation generation, Sink&& sink, size_t limit = SIZE_MAX) {
  size_t remaining = limit;
  for (size_t position = 0; position < snapshot.size() && remaining != 0; ++position) {
    if (scope.volumeFilter >= 0 && position != static_cast<size_t>(scope.volumeFilter)) continue;
    VolumeIndex& volume = *snapshot[position];
    if (!volume.available.load() || volume.busy.load()) continue;

    std::shared_lock lock(volume.recordsLock);
    if (!ScanVolume(query, scope, volume, volume.records.size(), generation, remaining, sink)) return false;
  }
  return true;
}

}  // namespace quillmor
