#include "app/core/search_results_reaction.h"

#include <algorithm>

namespace quillmor {

SearchResultsReaction ReactToSearchResults(const SearchResultsInput& input) {
  SearchResultsReaction r;
  const bool partial = input.lParam == kResultsPartial;
  const bool final = input.lParam == kResultsFinal;
  r.keptView = input.keepView;
  r.clearKeepView = !partial;

  if (input.lParam == kResultsResorted && input.filtersActive && input.filteredResultsExist) {
    r.displayedCount = input.filteredCount;
  } else {
    r.clearFilteredResults = true;
    r.displayedCount = input.resultCount;
  }

  r.scheduleFilterBarRefresh = final;
  r.startFilterPass = !partial || input.filtersActive;
  if (final) r.newVerticalOffset = input.keepView ? std::max<int64_t>(0, input.savedOffset) : 0;
  r.invalidateList = !partial;
  r.scheduleRepaint = partial;
  r.scheduleTrim = !partial;
  return r;
}

}  // namespace quillmor
