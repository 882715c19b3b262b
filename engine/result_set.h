// The current search results, shared by every job that produces or reorders
// them (searches, sorts, content search) and every reader (the result list,
// filters, hydration).
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "engine/match_item.h"
#include "platform/env.h"

namespace quillmor {

// Process-wide in the program (one per main window); tests and the command
// line own their own.
struct ResultSet {
  // Incremented (the new value used) by every search, sort and Escape during a
  // content search; a job holding an older value gives up or is ignored.
  std::atomic<uint64_t> searchGeneration{0};

  std::mutex mutex;  // held only to swap or copy `results`
  Results results;   // Guarded by mutex. Null before the first search.

  // The column of the current order (-1 unsorted) and its direction. Written
  // by the user-interface thread; reset to -1 by publications that do not
  // keep the sort.
  std::atomic<int32_t> sortColumn{-1};
  // Sorted by "Created", the time filters test creation times.
  static constexpr int32_t kCreatedColumn = 4;
  std::atomic<uint8_t> sortAscending{1};

  // The window the jobs report to (null: nobody is told).
  std::atomic<WindowHandle> window{nullptr};

  // Increments the search generation and returns the new value.
  uint64_t NextGeneration() { return searchGeneration.fetch_add(1) + 1; }
  bool IsCurrent(uint64_t generation) const { return searchGeneration.load() == generation; }
};

// A reference to the current results (null before the first publication).
Results SnapshotResults(ResultSet& set);

// Installs `results` when `generation` is still current and shutdown has not
// begun (resetting sortColumn to -1 unless keepSort), then posts
// WMU_SEARCH_RESULTS (generation, kind), kind one of kResultsFinal,
// kResultsResorted and kResultsPartial. Returns whether it installed.
bool PublishResults(ResultSet& set, Env& env, Results results, uint64_t generation, bool keepSort, int64_t kind);

}  // namespace quillmor
