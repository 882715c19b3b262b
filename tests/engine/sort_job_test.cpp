#include "engine/sort_job.h"

#include <algorithm>

#include "engine/bulk_hydration.h"
#include "engine/sort_order.h"
#include "platform/utf.h"
#include "tests/engine/sort_fixture.h"

namespace quillmor {
namespace {

class SortJobTest : public SortFixture {};

TEST_F(SortJobTest, SizePutsDirectoriesFirstThenFilesAndTheSecondClickReverses) {
  const VolumePtr e = HandBuiltVolume(t.env, u"E:", {{u"d1", true}, {u"ten"}, {u"d2", true}, {u"five"}, {u"seven"}});
  PutAttributes(*e, 1, 10);
  PutAttributes(*e, 3, 5);
  PutAttributes(*e, 4, 7);
  Show(AllRows(e), {e});

  Sort(kColumnSize);
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"d1", u"d2", u"five", u"seven", u"ten"}));
  EXPECT_EQ(set.sortColumn, kColumnSize);
  EXPECT_EQ(set.sortAscending, 1);

  Sort(kColumnSize);
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"ten", u"seven", u"five", u"d2", u"d1"}));
  EXPECT_EQ(set.sortAscending, 0);
  EXPECT_NE(Log().find("] sort col=2 type=reverse total_ms=0 rows=5\r\n"), std::string::npos);

  Sort(kColumnSize);  // back to ascending, still by reversing
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"d1", u"d2", u"five", u"seven", u"ten"}));
  EXPECT_EQ(set.sortAscending, 1);
}

TEST_F(SortJobTest, NamesDifferingOnlyInCaseFallToTheRecordIndex) {
  const VolumePtr e = HandBuiltVolume(t.env, u"E:", {{u"x"}, {u"A.txt"}, {u"a.txt"}, {u"b.txt"}});
  Show({{e.get(), 3}, {e.get(), 1}, {e.get(), 2}}, {e});
  Sort(kColumnName);
  EXPECT_EQ(Indices(Rows()), (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"A.txt", u"a.txt", u"b.txt"}));
  EXPECT_NE(Log().find("] sort col=1 type=warm total_ms=0 hydrate_ms=0 misses=0 hits=0 rows=3\r\n"), std::string::npos);

  // The tie-break is the same in both directions: reversing a sorted order
  // is the descending order.
  Sort(kColumnName);
  EXPECT_EQ(Indices(Rows()), (std::vector<uint32_t>{3, 2, 1}));
}

TEST_F(SortJobTest, TextKeysCompareAsTheCRuntimeDoesWithoutLocale) {
  const VolumePtr e =
      HandBuiltVolume(t.env, u"E:", {{u"abcd"}, {u"\u00C4x"}, {u"bx"}, {u"abc"}, {u"Bx"}, {u"\u00E4x"}});
  Show(AllRows(e), {e});
  Sort(kColumnName);
  // Only A to Z fold: the shorter of two equal starts comes first, and
  // letters above 127 sort by their code unit.
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"abc", u"abcd", u"bx", u"Bx", u"\u00C4x", u"\u00E4x"}));

  // Letters fold to lower case, so "Z" comes after "[" and "_" before "A",
  // as with _wcsicmp (a fold to upper case would say the opposite).
  struct Case {
    std::u16string a, b;
    int sign;
  };
  for (const Case& c : {Case{u"abc", u"ABC", 0}, Case{u"abc", u"abcd", -1}, Case{u"_", u"a", -1}, Case{u"_", u"A", -1},
                        Case{u"Z", u"[", 1}, Case{u"\u00E9", u"\u00C9", 1}, Case{u"", u"", 0}}) {
    const int r = CompareTextIgnoringAsciiCase(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << Utf16ToUtf8(c.a) << " vs " << Utf16ToUtf8(c.b);
  }
}

TEST_F(SortJobTest, PathSortAndTheTieBreakOrderVolumesByDrive) {
  // D: is built first, so it is not merely the lower address that wins.
  const VolumePtr d = HandBuiltVolume(t.env, u"D:", {{u"same.txt"}, {u"b"}});
  const VolumePtr c = HandBuiltVolume(t.env, u"C:", {{u"z"}, {u"same.txt"}});
  Show({{d.get(), 0}, {d.get(), 1}, {c.get(), 1}, {c.get(), 0}}, {d, c});
  Sort(kColumnName);
  EXPECT_EQ(Rows(), (std::vector<MatchItem>{{d.get(), 1}, {c.get(), 1}, {d.get(), 0}, {c.get(), 0}}));
  Sort(kColumnPath);
  EXPECT_EQ(Rows(), (std::vector<MatchItem>{{c.get(), 1}, {c.get(), 0}, {d.get(), 1}, {d.get(), 0}}));
}

TEST_F(SortJobTest, MissingAttributesPublishTheKnownRowsFirstThenTheFinalOrder) {
  AddWalkedDrive(u'E', u"exFAT");
  memory.AddFile(u"E:\\f0", std::string(25, 'x'));
  memory.AddFile(u"E:\\f2", std::string(5, 'x'));
  memory.AddFile(u"E:\\f4", std::string(15, 'x'));
  const VolumePtr e = NumberedVolume(t.env, u"E:", 6);
  PutAttributes(*e, 1, 30);
  PutAttributes(*e, 3, 10);
  PutAttributes(*e, 5, 20);
  Show(AllRows(e), {e});

  Sort(kColumnSize);
  const uint64_t g = set.searchGeneration;
  EXPECT_EQ(MessagesOf(WMU_SEARCH_RESULTS),
            (std::vector{Message(WMU_SEARCH_RESULTS, g, 1), Message(WMU_SEARCH_RESULTS, g, 1)}));
  const auto published = receiver.Published();
  ASSERT_EQ(published.size(), 2u);
  EXPECT_EQ(Names(published[0]), (std::vector<std::u16string>{u"f3", u"f5", u"f1", u"f0", u"f2", u"f4"}));
  EXPECT_EQ(Names(published[1]), (std::vector<std::u16string>{u"f2", u"f3", u"f4", u"f5", u"f0", u"f1"}));
  EXPECT_EQ(Names(), Names(published[1]));
  EXPECT_TRUE(receiver.StatusTexts().empty());  // progress comes every 800 rows

  const std::string log = Log();
  EXPECT_NE(log.find("] sort col=2 type=cold-2phase total_ms=0 hydrate_ms=0 misses=3 hits=0 rows=6\r\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("] cache_save "), std::string::npos);  // saved after the sort
}

TEST_F(SortJobTest, LargeHydrationReportsProgressOnlyAboveItsThreshold) {
  struct Case {
    uint32_t missing;
    bool progress;
  };
  for (const Case c : {Case{2000, false}, Case{4000, true}}) {
    SCOPED_TRACE(c.missing);
    const VolumePtr e = NumberedVolume(t.env, u"E:", 20000);
    for (uint32_t i = 0; i < 20000 - c.missing; ++i) PutAttributes(*e, i, i + 1);
    Show(AllRows(e), {e});
    const size_t before = receiver.StatusTexts().size();
    set.sortColumn = -1;
    Sort(kColumnModified);
    const uint64_t g = set.searchGeneration;

    const auto texts = receiver.StatusTexts();
    const std::vector<std::u16string> mine(texts.begin() + before, texts.end());
    if (c.progress) {
      // The clock stands still, so only the first qualifying tick posts.
      EXPECT_EQ(mine, (std::vector<std::u16string>{u"Extracting properties... (processed 800 / 4000)"}));
      for (const PostedMessage& m : MessagesOf(WMU_STATUS_TEXT)) EXPECT_EQ(m.wParam, g);
    } else {
      EXPECT_TRUE(mine.empty());
    }
    // Phase one: every known row before every missing one.
    const auto published = receiver.Published();
    ASSERT_GE(published.size(), 2u);
    const std::vector<MatchItem>& first = published[published.size() - 2];
    ASSERT_EQ(first.size(), 20000u);
    const uint32_t known = 20000 - c.missing;
    EXPECT_TRUE(
        std::all_of(first.begin(), first.begin() + known, [&](const MatchItem& r) { return r.recordIndex < known; }));
  }
}

TEST_F(SortJobTest, AStaleSortPublishesNothing) {
  const VolumePtr e = HandBuiltVolume(t.env, u"E:", {{u"b"}, {u"a"}});
  Show(AllRows(e), {e});
  const Results before = SnapshotResults(set);
  const uint64_t g = set.NextGeneration();
  set.NextGeneration();  // a newer search started meanwhile
  for (int32_t column : {kColumnName, kColumnSize}) {
    RunSortJob(*engine, set, SortRequest{g, column, false, true});
    RunSortJob(*engine, set, SortRequest{g, column, true, true});
  }
  WaitForBackgroundTasks();
  EXPECT_TRUE(t.poster.Messages().empty());
  EXPECT_EQ(SnapshotResults(set), before);
  EXPECT_EQ(Log().find("sort col="), std::string::npos);
}

TEST_F(SortJobTest, DeletedRowsDisappearAtTheNextSortOrReverse) {
  const VolumePtr e = HandBuiltVolume(t.env, u"E:", {{u"c"}, {u"b"}, {u"a"}, {u"d"}});
  Show(AllRows(e), {e});
  Sort(kColumnName);
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
  {
    std::unique_lock lock(e->recordsLock);
    e->records[1].deleted = 1;
  }
  Sort(kColumnName);  // reverse
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"d", u"c", u"a"}));
  {
    std::unique_lock lock(e->recordsLock);
    for (uint32_t i = 0; i < 4; ++i) e->records[i].deleted = 1;
  }
  Sort(kColumnPath);  // every row stale: an empty list
  EXPECT_TRUE(Rows().empty());
  EXPECT_NE(SnapshotResults(set), nullptr);
  EXPECT_EQ(MessagesOf(WMU_SEARCH_RESULTS).size(), 3u);
}

TEST_F(SortJobTest, RefusedWhileThePrewarmIsPendingAndColumnZeroDoesNothing) {
  const VolumePtr e = HandBuiltVolume(t.env, u"E:", {{u"b"}, {u"a"}});
  Show(AllRows(e), {e});
  const uint64_t generation = set.searchGeneration;

  g_attrCache.prewarmPending = 1;
  Sort(kColumnModified);
  EXPECT_EQ(view.statusTexts,
            (std::vector<std::u16string>{u"Cache prewarming in progress. Sorting is temporarily disabled."}));
  g_attrCache.prewarmPending = 0;
  Sort(kColumnRowNumber);

  EXPECT_EQ(set.sortColumn, -1);
  EXPECT_EQ(set.searchGeneration, generation);
  EXPECT_EQ(view.invalidations, 0);
  EXPECT_TRUE(t.poster.Messages().empty());
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"b", u"a"}));

  Sort(kColumnName);
  EXPECT_EQ(view.invalidations, 1);
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"a", u"b"}));
}

TEST_F(SortJobTest, PostSortSavesRunAtMostEveryThreeSecondsAndNeverBesideAnotherSave) {
  const VolumePtr e = HandBuiltVolume(t.env, u"E:", {{u"b"}, {u"a"}});
  PutAttributes(*e, 0, 1);
  PutAttributes(*e, 1, 2);
  Show(AllRows(e), {e});
  auto saves = [&] {
    const std::string log = Log();
    size_t n = 0;
    for (size_t at = log.find("cache_save"); at != std::string::npos; at = log.find("cache_save", at + 1)) ++n;
    return n;
  };
  Sort(kColumnSize);
  EXPECT_EQ(saves(), 1u);
  Sort(kColumnModified);
  EXPECT_EQ(saves(), 1u);  // within 3 s
  Sort(kColumnName);
  t.clock.Advance(3001);
  g_attrCache.saveRunning = 1;  // an autosave is writing
  Sort(kColumnCreated);
  EXPECT_EQ(saves(), 1u);
  g_attrCache.saveRunning = 0;
  t.clock.Advance(3001);
  Sort(kColumnSize);
  EXPECT_EQ(saves(), 2u);
}

TEST(SortHydrationTest, ThreadsAndProgressThresholds) {
  const std::pair<unsigned, unsigned> cases[] = {{0, 2}, {1, 2}, {4, 2}, {6, 3}, {12, 6}, {13, 6}, {64, 6}};
  for (const auto& [processors, threads] : cases) {
    EXPECT_EQ(SortHydrationThreads(processors), threads) << processors;
  }
  EXPECT_TRUE(ShowsHydrationProgress(5000, 1000000));
  EXPECT_FALSE(ShowsHydrationProgress(4999, 1000000));
  EXPECT_TRUE(ShowsHydrationProgress(15, 100));
  EXPECT_FALSE(ShowsHydrationProgress(14, 100));
  EXPECT_TRUE(ShowsHydrationProgress(4000, 20000));
}

TEST(DeriveResultsTest, AReorderedCopyKeepsTheVolumesButNotTheOriginalRows) {
  TestEnv t;
  VolumePtr volume = std::make_shared<VolumeIndex>(t.env);
  const std::weak_ptr<VolumeIndex> alive = volume;
  Results original = MakeResults({{volume.get(), 0}, {volume.get(), 1}}, {volume});
  volume.reset();
  const std::weak_ptr<const std::vector<MatchItem>> originalRows = original;
  const Results sorted = DeriveResults(original, {original->at(1), original->at(0)});
  original.reset();
  EXPECT_TRUE(originalRows.expired());
  EXPECT_FALSE(alive.expired());
  const Results again = DeriveResults(sorted, {});
  EXPECT_FALSE(alive.expired());

  // Results made some other way are kept alive whole.
  auto foreign = std::make_shared<const std::vector<MatchItem>>();
  const std::weak_ptr<const std::vector<MatchItem>> foreignRows = foreign;
  const Results copy = DeriveResults(foreign, {});
  foreign.reset();
  EXPECT_FALSE(foreignRows.expired());
}

}  // namespace
}  // namespace quillmor
