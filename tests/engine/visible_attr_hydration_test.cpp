#include "engine/visible_attr_hydration.h"

#include "tests/engine/sort_fixture.h"

namespace quillmor {
namespace {

TEST(VisibleRowsTest, RangeFollowsTheGeometry) {
  struct Case {
    const char* name;
    ListGeometry geometry;
    uint64_t rows;
    RowRange expected;
  };
  const Case cases[] = {
      {"top of a list", {440, 0, 0, 1, 96}, 1000, {0, 12}},
      {"scrolled by two rows and a bit", {440, 100, 0, 1, 96}, 1000, {2, 14}},
      {"short list", {440, 0, 0, 1, 96}, 5, {0, 5}},
      {"near the end", {440, 44 * 995, 0, 1, 96}, 1000, {995, 1000}},
      {"scrolled past the end", {440, 44 * 2000, 0, 1, 96}, 1000, {2000, 1000}},
      {"150 % DPI: rows of 66 px", {660, 132, 0, 1, 144}, 1000, {2, 14}},
      {"no room at all", {0, 0, 0, 1, 96}, 1000, {0, 2}},
      {"small icons, 5 per row", {840, 84 * 3, 1, 5, 96}, 1000, {15, 75}},
      {"large icons, 4 per row, capped", {448, 112 * 2, 2, 4, 96}, 20, {8, 20}},
      {"icons per row unknown", {448, 0, 2, 0, 96}, 100, {0, 6}},
      {"negative offset", {440, -50, 0, 1, 96}, 1000, {0, 12}},
  };
  for (const Case& c : cases) {
    const RowRange range = VisibleRows(c.geometry, c.rows);
    EXPECT_EQ(range.first, c.expected.first) << c.name;
    EXPECT_EQ(range.last, c.expected.last) << c.name;
  }
}

class VisibleHydrationTest : public SortFixture {
 protected:
  VisibleHydrationTest() {
    volume = NumberedVolume(t.env, u"E:", 100);
    Show(AllRows(volume), {volume});
    view.geometry = {440, 0, 0, 1, 96};  // rows 0 to 11
  }
  VolumePtr volume;
};

TEST_F(VisibleHydrationTest, HydratesTheRowsOnScreenAndAnnouncesIt) {
  RequestVisibleAttrHydrationAsync(t.env, set, view);
  WaitForBackgroundTasks();
  EXPECT_EQ(AttrCacheSize(*volume), 12u);
  const uint64_t generation = g_attrCache.hydrationGeneration;
  EXPECT_EQ(t.poster.Messages(), (std::vector{Message(WMU_HYDRATION_DONE, generation, 0)}));
  EXPECT_EQ(g_attrCache.hydrationRunning, 0);

  // Everything on screen is known now: nothing read, nothing posted.
  RequestVisibleAttrHydrationAsync(t.env, set, view);
  WaitForBackgroundTasks();
  EXPECT_EQ(t.poster.Messages().size(), 1u);

  // The rows the list draws may be others (a filtered list).
  Results shown = MakeResults({{volume.get(), 50}, {volume.get(), 60}}, {volume});
  RequestVisibleAttrHydrationAsync(t.env, set, view, shown);
  WaitForBackgroundTasks();
  EXPECT_EQ(AttrCacheSize(*volume), 14u);
  EXPECT_EQ(t.poster.Messages().size(), 2u);
}

TEST_F(VisibleHydrationTest, ARequestWhileAJobRunsIsDropped) {
  g_attrCache.hydrationRunning = 1;
  const uint64_t generation = g_attrCache.hydrationGeneration;
  RequestVisibleAttrHydrationAsync(t.env, set, view);
  WaitForBackgroundTasks();
  EXPECT_EQ(AttrCacheSize(*volume), 0u);
  EXPECT_EQ(g_attrCache.hydrationGeneration, generation);

  // Nothing on screen, no results, or shutdown: no job either.
  g_attrCache.hydrationRunning = 0;
  view.geometry.scrollOffset = 44 * 500;
  RequestVisibleAttrHydrationAsync(t.env, set, view);
  view.geometry.scrollOffset = 0;
  g_shutdown = true;
  RequestVisibleAttrHydrationAsync(t.env, set, view);
  g_shutdown = false;
  Show({}, {});
  RequestVisibleAttrHydrationAsync(t.env, set, view);
  WaitForBackgroundTasks();
  EXPECT_EQ(g_attrCache.hydrationGeneration, generation);
  EXPECT_TRUE(t.poster.Messages().empty());
}

TEST_F(VisibleHydrationTest, AJobGivesUpWhenEitherGenerationMoves) {
  const std::vector<MatchItem> rows = AllRows(volume);
  const uint64_t hydration = g_attrCache.hydrationGeneration.fetch_add(1) + 1;
  const uint64_t search = set.searchGeneration;
  // A newer hydration (the user scrolled on), then a newer search.
  EXPECT_FALSE(HydrateVisibleRows(set, rows, {0, 12}, hydration - 1, search));
  EXPECT_FALSE(HydrateVisibleRows(set, rows, {0, 12}, hydration, search + 1));
  EXPECT_EQ(AttrCacheSize(*volume), 0u);
  // Rows out of range or of no volume are skipped.
  const std::vector<MatchItem> odd = {{nullptr, 0}, {volume.get(), 500}, {volume.get(), 3}};
  EXPECT_TRUE(HydrateVisibleRows(set, odd, {0, 10}, hydration, search));
  EXPECT_EQ(AttrCacheSize(*volume), 1u);
  EXPECT_TRUE(HydrateVisibleRows(set, rows, {0, 12}, hydration, search));
  EXPECT_EQ(AttrCacheSize(*volume), 12u);
}

}  // namespace
}  // namespace quillmor
