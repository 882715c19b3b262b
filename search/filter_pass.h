// The filter pass: the filtered result set the list shows while a filter tag,
// a size preset or a time preset is set, computed in the background from the
// result set and kept while neither changes.
#pragma once

#include "search/search_session.h"

namespace quillmor {

// Reads the filter settings from the window (user-interface thread) and
// either reuses the last pass, shows the unfiltered results, or starts
// "refresh_filtered_results". Every outcome ends in WMU_FILTER_RESULTS.
void RefreshFilteredResultsAsync(SearchSession& session);

// The rows the list shows: the filtered result set when a pass result is
// valid, else the result set.
Results DisplayedResults(SearchSession& session);

}  // namespace quillmor
