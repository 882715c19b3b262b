// Reading the attributes of the rows the result list shows, once scrolling
// has settled: the job "attr_hydration", one at a time, which gives up as soon
// as the user scrolls on or a new search or sort starts.
#pragma once

#include <cstdint>

#include "engine/match_item.h"
#include "engine/result_set.h"
#include "engine/view_state.h"
#include "platform/env.h"

namespace quillmor {

// Row heights at 96 DPI by view mode: list, small icons, large icons.
inline constexpr int32_t kListRowHeight96 = 44;
inline constexpr int32_t kSmallIconRowHeight96 = 84;
inline constexpr int32_t kLargeIconRowHeight96 = 112;

// Rows [first, last) of a result vector.
struct RowRange {
  uint64_t first = 0;
  uint64_t last = 0;
  bool operator==(const RowRange&) const = default;
};

// The rows on screen, plus a row's margin below: (row area height / row
// height) + 2 rows from the one at the scroll offset, capped at `rowCount`.
// In the icon views rows of icons are counted and turned into result rows
// with the icons per row.
RowRange VisibleRows(const ListGeometry& geometry, uint64_t rowCount);

// Starts "attr_hydration" for the visible rows of `shown` (the rows the list
// draws; null means the current result set) unless a job runs already, in
// which case the request is dropped. The job reads each row without a known
// entry from the disk and, when it read any and neither the hydration nor the
// search generation moved meanwhile, posts WMU_HYDRATION_DONE (its hydration
// generation, 0) to the result set's window. User-interface thread.
void RequestVisibleAttrHydrationAsync(Env& env, ResultSet& set, ViewState& view, Results shown = nullptr);

// The job's work, on the caller's thread: hydrates rows [range) of `rows`
// while `hydrationGeneration` and `searchGeneration` stay current and
// shutdown has not begun. Returns whether it read anything and ran to the
// end.
bool HydrateVisibleRows(ResultSet& set, const std::vector<MatchItem>& rows, RowRange range,
                        uint64_t hydrationGeneration, uint64_t searchGeneration);

}  // namespace quillmor
