#include <gtest/gtest.h>

#include "app/core/close_decision.h"
#include "app/core/search_results_reaction.h"

namespace quillmor {
namespace {

TEST(SearchResultsReactionTest, FinalResultsResetTheViewAndRefreshEverything) {
  SearchResultsInput in;
  in.lParam = kResultsFinal;
  in.resultCount = 500;
  in.filteredResultsExist = true;
  in.filteredCount = 20;
  const SearchResultsReaction r = ReactToSearchResults(in);
  EXPECT_TRUE(r.clearKeepView);
  EXPECT_TRUE(r.clearFilteredResults);
  EXPECT_EQ(r.displayedCount, 500u);
  EXPECT_TRUE(r.scheduleFilterBarRefresh);
  EXPECT_TRUE(r.startFilterPass);
  EXPECT_EQ(r.newVerticalOffset, 0);
  EXPECT_TRUE(r.invalidateList);
  EXPECT_FALSE(r.scheduleRepaint);
  EXPECT_TRUE(r.scheduleTrim);
}

TEST(SearchResultsReactionTest, KeepViewRestoresTheSavedOffsetOnce) {
  SearchResultsInput in;
  in.keepView = true;
  in.savedOffset = 880;
  SearchResultsReaction r = ReactToSearchResults(in);
  EXPECT_EQ(r.newVerticalOffset, 880);
  EXPECT_TRUE(r.clearKeepView);
  in.savedOffset = -5;
  EXPECT_EQ(ReactToSearchResults(in).newVerticalOffset, 0);
  // A partial batch reads the flag but leaves it for the final results.
  in.lParam = kResultsPartial;
  r = ReactToSearchResults(in);
  EXPECT_FALSE(r.clearKeepView);
  EXPECT_TRUE(r.keptView);
  EXPECT_FALSE(r.newVerticalOffset.has_value());
}

TEST(SearchResultsReactionTest, AResortKeepsTheFilteredCountWhileFiltersAreActive) {
  SearchResultsInput in;
  in.lParam = kResultsResorted;
  in.resultCount = 500;
  in.filteredCount = 20;
  in.filtersActive = true;
  in.filteredResultsExist = true;
  SearchResultsReaction r = ReactToSearchResults(in);
  EXPECT_EQ(r.displayedCount, 20u);
  EXPECT_FALSE(r.clearFilteredResults);
  EXPECT_TRUE(r.startFilterPass);
  EXPECT_FALSE(r.newVerticalOffset.has_value());  // the sort keeps the place
  EXPECT_TRUE(r.invalidateList);
  EXPECT_FALSE(r.scheduleFilterBarRefresh);
  // Without a filtered vector yet, the whole result set shows.
  in.filteredResultsExist = false;
  r = ReactToSearchResults(in);
  EXPECT_EQ(r.displayedCount, 500u);
  EXPECT_TRUE(r.clearFilteredResults);
}

TEST(SearchResultsReactionTest, PartialBatchesOnlyFilterWhenFiltersAreActive) {
  SearchResultsInput in;
  in.lParam = kResultsPartial;
  in.resultCount = 3000;
  SearchResultsReaction r = ReactToSearchResults(in);
  EXPECT_FALSE(r.startFilterPass);
  EXPECT_TRUE(r.scheduleRepaint);
  EXPECT_FALSE(r.invalidateList);
  EXPECT_FALSE(r.scheduleTrim);
  EXPECT_FALSE(r.scheduleFilterBarRefresh);
  in.filtersActive = true;
  EXPECT_TRUE(ReactToSearchResults(in).startFilterPass);
}

TEST(SearchResultsReactionTest, FiltersAndGenerations) {
  EXPECT_FALSE(FiltersActive(0, 0, 0));
  EXPECT_TRUE(FiltersActive(1, 0, 0));
  EXPECT_TRUE(FiltersActive(0, 4, 0));
  EXPECT_TRUE(FiltersActive(0, 0, 3));
  EXPECT_TRUE(IsCurrentGeneration(7, 7));
  EXPECT_FALSE(IsCurrentGeneration(6, 7));
}

TEST(CloseDecisionTest, DestroyHideOrHideWithAReset) {
  const struct {
    CloseInput input;
    CloseAction action;
  } cases[] = {
      {{true, true, true, true, false, false}, CloseAction::kDestroy},             // the tray menu's exit
      {{false, true, true, true, false, false}, CloseAction::kHideWithViewReset},  // title bar, ready
      {{false, true, true, false, false, false}, CloseAction::kHide},              // a posted WM_CLOSE
      {{false, false, true, true, false, false}, CloseAction::kDestroy},           // no tray icon
      {{false, true, false, true, false, false}, CloseAction::kDestroy},           // engine not ready
      {{false, false, false, false, true, false}, CloseAction::kHide},             // hidden start
      {{false, false, false, false, true, true}, CloseAction::kDestroy},           // ... while Windows shuts down
      {{false, true, true, false, true, true}, CloseAction::kHide},                // ready beats shutting down
  };
  int i = 0;
  for (const auto& c : cases) EXPECT_EQ(DecideClose(c.input), c.action) << "case " << i++;
}

}  // namespace
}  // namespace quillmor
