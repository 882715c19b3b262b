// Searches run away from the user-interface thread: each starts a background
// job under a new search generation, and a job reports only by replacing the
// result set (PublishResults) and posting WMU_SEARCH_RESULTS. Older jobs give
// up as soon as a newer search starts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/search_session.h"

namespace quillmor {

// A name search publishes its first hits early once it holds this many.
inline constexpr size_t kEarlyBatchHits = 3000;
// New result vectors reserve room for this many rows.
inline constexpr size_t kResultReserve = 100000;
// The retry pace while no volume is indexed yet, in milliseconds.
inline constexpr uint32_t kNotReadyRetryMs = 350;

// Starts a search for `query` (user-interface thread). An empty query shows
// the recent opens (or keeps the full listing; with the Desktop scope it shows
// the listing of the Desktop tree). `keepSort` keeps the current sort column
// when the results arrive; `recentView` asks for the recent opens. Before any
// volume is indexed the query is kept and retried every 350 ms.
void DoSearchAsync(SearchSession& session, std::u16string query, bool keepSort, bool recentView);

// Re-runs the current view after the index or the volume set changed, or on
// Enter in an empty search box: switches an empty query to the full listing.
void RefreshSearchResultsAfterIndexUpdate(SearchSession& session);

// After files were deleted: drops their rows from a content search's results
// (too slow to repeat) or re-runs the current view keeping the sort; either
// way the list keeps its scroll position.
void RefreshResultsAfterDelete(SearchSession& session, const std::vector<std::u16string>& deletedPaths);

// Loads recent.ini in the background, then posts WMU_RECENT_LOADED.
void LoadRecentOpensAsync(SearchSession& session);

// Shows the recent opens again when the search box is empty.
void RefreshRecentViewIfNeeded(SearchSession& session);

// The indexed file at a full path, found by its name and then its path
// ("/" and ASCII case aside), or nothing.
struct ResolvedItem {
  VolumePtr volume;
  uint32_t recordIndex = 0;
};
std::optional<ResolvedItem> ResolvePathToItem(SearchEngine& engine, std::u16string_view path);

// The recent-opens reference of an indexed row, for RecordOpen and
// RenameEntries: its volume, its record and the volume's build.
RecentItem RecentItemOf(const VolumeIndex& volume, uint32_t recordIndex);

// A path as the pipeline compares paths: "/" turned into "\", 'A'..'Z'
// lower-cased.
std::u16string NormalisedPathKey(std::u16string_view path);

}  // namespace quillmor
