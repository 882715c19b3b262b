// What the main window does with a current WMU_SEARCH_RESULTS, decided from
// the message and the window's state; the window carries it out (under the
// results lock where it says so).
#pragma once

#include <cstdint>
#include <optional>

#include "app/core/message_texts.h"

namespace quillmor {

// Filters are active when a size preset, a time preset or a tag other than 0
// is chosen.
constexpr bool FiltersActive(int32_t sizePreset, int32_t timePreset, int32_t selectedTag) {
  return sizePreset != 0 || timePreset != 0 || selectedTag != 0;
}

// A posted result counts only for the current search generation.
constexpr bool IsCurrentGeneration(uint64_t posted, uint64_t current) { return posted == current; }

struct SearchResultsInput {
  int64_t lParam = kResultsFinal;
  bool filtersActive = false;
  bool filteredResultsExist = false;  // a filtered result vector is held
  bool keepView = false;              // set by the refresh after a delete
  int64_t savedOffset = 0;            // the offset saved with keepView
  uint64_t resultCount = 0;           // the snapshot's size
  uint64_t filteredCount = 0;         // the filtered vector's size
};

struct SearchResultsReaction {
  bool clearKeepView = false;         // every lParam but a partial batch consumes the flag
  bool keptView = false;              // the flag was set when read
  bool clearFilteredResults = false;  // drop the filtered vector and reset the filter progress
  uint64_t displayedCount = 0;
  bool scheduleFilterBarRefresh = false;  // 60 ms, final results only
  bool startFilterPass = false;           // RefreshFilteredResultsAsync
  // Final results set the scroll offset: the saved one (at least 0) with
  // keep-view, else 0. Nothing for the others, which keep theirs.
  std::optional<int64_t> newVerticalOffset;
  bool invalidateList = false;   // at once (final and re-sorted results)
  bool scheduleRepaint = false;  // in 100 ms (partial batches)
  bool scheduleTrim = false;     // 1800 ms, except partial batches
};

// Steps 2, 4 and 7 to 9 of the reaction: which count is shown (the filtered
// count only for a re-sorted result while filters are active and a filtered
// vector exists; otherwise the filtered results are dropped), and which
// follow-ups run. The window clears the selection and cancels a rename
// whatever the message.
SearchResultsReaction ReactToSearchResults(const SearchResultsInput& input);

}  // namespace quillmor
