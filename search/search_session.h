// The search side's state for one window: what the searches, the listings,
// the recent view and the filter pass share. The program holds one for its
// main window; tests and the command line hold their own.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "engine/result_set.h"
#include "engine/search_engine.h"
#include "engine/view_state.h"
#include "platform/env.h"
#include "search/content_candidates.h"
#include "search/content_search.h"
#include "search/filter_state.h"
#include "search/search_scope.h"
#include "search/size_time_filter.h"
#include "settings/recent_opens.h"

namespace quillmor {

// The parameters a filtered result set was built for. -1 (or 0 for the hash
// and the source) means none.
struct AppliedFilter {
  int32_t tag = -1;
  int32_t sizePreset = -1;
  int32_t timePreset = -1;
  int32_t sizeUnit = -1;
  uint32_t customSizeHash = 0;
  int32_t dateFrom = -1;
  int32_t dateTo = -1;
  const void* source = nullptr;  // the result vector it was built from
  bool operator==(const AppliedFilter&) const = default;
};

struct SearchSession {
  SearchSession(Env& env, SearchEngine& engine, ResultSet& results, ViewState& view, RecentOpenList& recent,
                FilterState& filters)
      : env(env), engine(engine), results(results), view(view), recent(recent), filters(filters) {}
  SearchSession(const SearchSession&) = delete;
  SearchSession& operator=(const SearchSession&) = delete;

  Env& env;
  SearchEngine& engine;
  ResultSet& results;
  ViewState& view;
  RecentOpenList& recent;
  FilterState& filters;
  // Reads a row's attributes from the disk when the cache has none (the
  // attribute cache's hydration); empty: such rows fail the size and time
  // filters. Set before the first search.
  AttributeHydrator hydrate;

  // Read once when a search starts (Scope()). 0 all volumes, 1 the Desktop
  // folder, n >= 2 one volume: the one of `scopeDrive`, or without one the
  // volume at snapshot position n - 2.
  std::atomic<int32_t> scope{0};
  std::mutex scopeMutex;
  std::u16string scopeDrive;  // Guarded by scopeMutex.
  void SetScope(const ScopeChoice& choice) {
    std::lock_guard lock(scopeMutex);
    scopeDrive = choice.drive;
    scope = choice.scope;
  }
  ScopeChoice Scope() {
    std::lock_guard lock(scopeMutex);
    return ScopeChoice{scope.load(), scopeDrive};
  }
  std::atomic<bool> initialSearch{true};
  // A name search ends after this many hits; 0: it reads every record. For
  // the command line's --limit, when no sort or filter needs the rest. Set
  // before the first search.
  size_t nameHitLimit = 0;

  // 1: an empty query shows every record of the scope; 0: the recent opens.
  std::atomic<uint8_t> fullListing{0};
  // Set by the refresh after a delete: the next results keep the list's
  // scroll position, which was saved here.
  std::atomic<uint8_t> keepView{0};
  std::atomic<int64_t> savedScrollOffset{0};

  // The filter pass's output and what it was built for.
  std::mutex filteredMutex;  // never held together with results.mutex
  Results filtered;          // Guarded by filteredMutex. Null: none is valid.
  AppliedFilter applied;     // Guarded by filteredMutex.
  std::atomic<int64_t> displayedCount{0};
  std::atomic<uint64_t> filterGeneration{0};

  // Content search: the candidates pass the size and time presets set when
  // the search started. When set, this makes that test instead (tests); a
  // null test keeps every candidate. Set before the first search.
  std::function<CandidateFilter()> contentCandidateFilter;
  // What the last published content search read.
  ContentSearchCounters contentCounters;
  // Called as the recent view looks an entry up by its path, before it reads
  // the index (tests). Set before the first search.
  std::function<void(std::u16string_view path)> recentPathLookupHook;

  // The last text of the search box, kept for the retry while no volume is
  // indexed yet. User-interface thread only.
  std::u16string pendingQuery;
};

}  // namespace quillmor
