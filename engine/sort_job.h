// Sorting the result list by a column: the job "do_sort" works on a copy of
// the current results and publishes the sorted copy through the result set,
// so the list never shows a half-sorted vector. Sorting by size or time reads
// the missing attributes first, showing the rows already known, sorted, in
// the meantime. Clicking the sorted column again reverses the order.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/result_set.h"
#include "engine/search_engine.h"
#include "engine/view_state.h"

namespace quillmor {

// GetTickCount64 when the last post-sort save of the attribute cache started;
// such saves run at most every 3 seconds.
inline std::atomic<uint64_t> g_lastSortSaveTick{0};

// Sorts the current results by `column` (1 name, 2 size, 3 modified,
// 4 created, 5 path; 0 does nothing) on a background job and returns at once.
// A new column sorts ascending; the current column again reverses the order
// and flips sortAscending. The job takes a new search generation, so any
// search, hydration or sort still running becomes stale. Refused with a status
// text while the prewarm is pending. User-interface thread.
//
// Publishes WMU_SEARCH_RESULTS (generation, kResultsResorted) to the result
// set's window: twice for an attribute sort that had to read attributes (the
// order of the rows already known, then the final order). Progress goes to the same window
// as WMU_STATUS_TEXT (see HydrateMissingRows).
void DoSortAsync(SearchEngine& engine, ResultSet& set, ViewState& view, int32_t column);

// What one "do_sort" job does.
struct SortRequest {
  uint64_t generation = 0;
  int32_t column = 0;
  bool reverse = false;
  bool ascending = true;
};

// The job "do_sort", on the caller's thread.
void RunSortJob(SearchEngine& engine, ResultSet& set, const SortRequest& request);

}  // namespace quillmor
