#include "search/search_pipeline.h"

#include <algorithm>
#include <chrono>
#include <future>

#include "platform/utf.h"
#include "search/search_scope.h"

#include "platform/sim/fake_view_state.h"
#include "tests/engine/engine_fixture.h"

namespace quillmor {
namespace {

class SearchPipelineTest : public EngineFixture {
 protected:
  SearchPipelineTest() { results.window = RecordingWindowPoster::TestWindow(); }

  // C: holds docs\ with `files` files named "hit-N.txt" and a few others;
  // E: (exFAT) holds a\b.txt and Desktop-like folders.
  void MakeVolumes(int files = 5) {
    docs = ntfsC.AddExistingFile(kRoot, u"docs", true);
    for (int i = 0; i < files; ++i) ntfsC.AddExistingFile(docs, u"hit-" + U16(std::to_string(i)) + u".txt");
    report = ntfsC.AddExistingFile(docs, u"report.pdf");
    MountNtfs(u'C', ntfsC);
    AddWalkedDrive(u'E', u"exFAT");
    memory.AddFile(u"E:\\a\\b.txt", "b");
    memory.AddFile(u"E:\\Users\\me\\Desktop\\todo.txt", "t");
    StartUp(2);
  }

  // The WMU_SEARCH_RESULTS messages posted so far, as (generation, lParam).
  std::vector<std::pair<uint64_t, int64_t>> SearchMessages() {
    std::vector<std::pair<uint64_t, int64_t>> out;
    for (const PostedMessage& m : t.poster.Messages()) {
      if (m.message == WMU_SEARCH_RESULTS) out.emplace_back(m.wParam, m.lParam);
    }
    return out;
  }

  std::vector<std::u16string> ResultPaths() {
    std::vector<std::u16string> paths;
    if (const Results r = SnapshotResults(results)) {
      for (const MatchItem& item : *r) paths.push_back(item.volume->GetFullPath(item.recordIndex));
    }
    return paths;
  }

  void Search(std::u16string query, bool keepSort = false, bool recentView = false) {
    DoSearchAsync(session, std::move(query), keepSort, recentView);
    WaitForBackgroundTasks();
  }

  ResultSet results;
  FakeViewState view;
  RecentOpenList recent;
  FilterState filters;
  SearchSession session{t.env, *engine, results, view, recent, filters};
  uint64_t docs = 0, report = 0;
};

TEST_F(SearchPipelineTest, NameSearchPublishesItsHitsWithItsGeneration) {
  MakeVolumes();
  Search(u"  HIT  ");
  EXPECT_EQ(SearchMessages(), (std::vector<std::pair<uint64_t, int64_t>>{{1, 0}}));
  EXPECT_EQ(ResultPaths().size(), 5u);
  EXPECT_EQ(ResultPaths()[0], u"C:\\docs\\hit-0.txt");
  EXPECT_EQ(results.sortColumn, -1);
}

TEST_F(SearchPipelineTest, EarlyBatchAt3000Hits) {
  MakeVolumes(5000);
  Search(u"hit-");
  const auto messages = SearchMessages();
  ASSERT_EQ(messages, (std::vector<std::pair<uint64_t, int64_t>>{{1, 2}, {1, 0}}));
  EXPECT_EQ(ResultPaths().size(), 5000u);

  // 2,999 hits: only the final message.
  Search(u"hit-1");  // hit-1, hit-10..19, hit-100..199, hit-1000..1999: 1,111
  EXPECT_EQ(SearchMessages().back(), (std::pair<uint64_t, int64_t>{2, 0}));
  EXPECT_EQ(SearchMessages().size(), 3u);
}

TEST_F(SearchPipelineTest, StaleSearchPublishesNothing) {
  MakeVolumes(3000);
  // The first search is held at C:'s records, where its 3,000 hits are, until
  // the second has begun; left to run, it could publish its early batch while
  // it was still current.
  {
    const VolumePtr c = engine->SnapshotVolumes()[0];
    std::unique_lock hold(c->recordsLock);
    DoSearchAsync(session, u"hit", false, false);
    DoSearchAsync(session, u"report", false, false);
  }
  WaitForBackgroundTasks();
  for (const auto& [generation, lParam] : SearchMessages()) EXPECT_EQ(generation, 2u);
  EXPECT_EQ(ResultPaths(), (std::vector<std::u16string>{u"C:\\docs\\report.pdf"}));

  // A job whose generation went stale before it published installs nothing.
  const uint64_t g = results.NextGeneration();
  results.NextGeneration();
  EXPECT_FALSE(PublishResults(results, t.env, MakeResults({}, {}), g, false, 0));
  EXPECT_EQ(ResultPaths().size(), 1u);
}

TEST_F(SearchPipelineTest, SearchBeforeAnyVolumeIsRetried) {
  DoSearchAsync(session, u"report", false, false);
  EXPECT_EQ(session.pendingQuery, u"report");
  EXPECT_EQ(view.Retries(), (std::vector<uint32_t>{350}));
  ASSERT_EQ(view.StatusTexts().size(), 1u);
  EXPECT_EQ(view.StatusTexts()[0], u"Index is still initializing. Retrying search shortly...");
  WaitForBackgroundTasks();
  EXPECT_TRUE(SearchMessages().empty());
}

TEST_F(SearchPipelineTest, EmptyQueryShowsRecentOpensUntilEnterShowsTheFullListing) {
  MakeVolumes(2);
  recent.RecordOpen(t.env, std::nullopt, u"c:/DOCS/report.pdf");  // found by its path
  Search(u"");
  EXPECT_EQ(ResultPaths(), (std::vector<std::u16string>{u"C:\\docs\\report.pdf"}));

  RefreshSearchResultsAfterIndexUpdate(session);  // Enter on the empty box
  WaitForBackgroundTasks();
  EXPECT_EQ(session.fullListing, 1);
  EXPECT_EQ(ResultPaths().size(), 5u + 6u);  // C: ".", docs, 2 hits, report; E: a, b.txt, Users, me, Desktop, todo.txt
  Search(u"");                               // the full listing stays
  EXPECT_EQ(ResultPaths().size(), 11u);

  Search(u"b.txt");  // a query clears the flag...
  EXPECT_EQ(session.fullListing, 0);
  Search(u"");  // ...so an empty box shows the recent opens again
  EXPECT_EQ(ResultPaths(), (std::vector<std::u16string>{u"C:\\docs\\report.pdf"}));
}

TEST_F(SearchPipelineTest, DesktopScopeListsTheDesktopTreeForAnEmptyQuery) {
  MakeVolumes(2);
  t.system.desktop = u"E:\\Users\\me\\Desktop";
  session.scope = kScopeDesktop;
  Search(u"");
  EXPECT_EQ(ResultPaths(),
            (std::vector<std::u16string>{u"E:\\Users\\me\\Desktop", u"E:\\Users\\me\\Desktop\\todo.txt"}));
  Search(u"t");
  EXPECT_EQ(ResultPaths(),
            (std::vector<std::u16string>{u"E:\\Users\\me\\Desktop", u"E:\\Users\\me\\Desktop\\todo.txt"}));
  t.system.desktop.reset();
  Search(u"t");
  EXPECT_TRUE(ResultPaths().empty());
}

// The window's scope box skips volumes that are not available, so its entry
// for E: may be the snapshot's first volume entry though E: is the second:
// the scope names its volume by drive.
TEST_F(SearchPipelineTest, AVolumeScopeChosenByDriveSearchesThatDriveWhereverItSits) {
  MakeVolumes(2);
  engine->SnapshotVolumes().at(0)->available = 0;  // C:, left out of the box
  const struct {
    ScopeChoice choice;
    const char16_t* query;
    std::vector<std::u16string> paths;
  } cases[] = {
      {{kScopeFirstVolume, u"e:"}, u"b.txt", {u"E:\\a\\b.txt"}},
      {{kScopeFirstVolume, u"e:"},
       u"",
       {u"E:\\a", u"E:\\a\\b.txt", u"E:\\Users", u"E:\\Users\\me", u"E:\\Users\\me\\Desktop",
        u"E:\\Users\\me\\Desktop\\todo.txt"}},
      // A drive gone since it was chosen finds no names; a typed folder is
      // still listed, as it is for any volume scope.
      {{kScopeFirstVolume, u"Q:"}, u"b.txt", {}},
      {{kScopeFirstVolume, u"Q:"}, u"E:\\a", {u"E:\\a\\b.txt"}},
  };
  for (const auto& c : cases) {
    session.SetScope(c.choice);
    if (c.query[0] == u'\0') {
      RefreshSearchResultsAfterIndexUpdate(session);  // the full listing of the scope
      WaitForBackgroundTasks();
    } else {
      Search(c.query);
    }
    std::vector<std::u16string> paths = ResultPaths(), expected = c.paths;
    std::sort(paths.begin(), paths.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(paths, expected) << testing::PrintToString(c.choice.drive) << " "
                               << testing::PrintToString(std::u16string(c.query));
  }
}

TEST_F(SearchPipelineTest, RecentEntryOfRecreatedFileIsFoundByItsPath) {
  MakeVolumes(1);
  const auto found = ResolvePathToItem(*engine, u"C:\\docs\\report.pdf");
  ASSERT_TRUE(found.has_value());
  recent.RecordOpen(t.env, RecentItemOf(*found->volume, found->recordIndex), u"C:\\docs\\report.pdf");

  // Deleted and created again: a new record under the same path.
  ntfsC.DeleteFile(report);
  ntfsC.CreateFile(docs, u"report.pdf");
  ASSERT_TRUE(t.poster.WaitForCount(2));
  const VolumePtr c = engine->SnapshotVolumes()[0];
  while (c->nextUsn.load() < ntfsC.Journal().nextUsn) t.clock.Sleep(1);

  Search(u"", false, true);
  ASSERT_EQ(ResultPaths(), (std::vector<std::u16string>{u"C:\\docs\\report.pdf"}));
  const MatchItem row = (*SnapshotResults(results))[0];
  EXPECT_NE(row.recordIndex, found->recordIndex);
  EXPECT_EQ(recent.Entries()[0].item->recordIndex, row.recordIndex);  // written back
}

// A recent entry whose file was renamed or moved outside the program used to
// vanish from the recent view, its stored path no longer being the record's.
TEST_F(SearchPipelineTest, RecentEntryOfRenamedFileKeepsItsRowUnderTheCurrentPath) {
  MakeVolumes(1);
  const auto found = ResolvePathToItem(*engine, u"C:\\docs\\report.pdf");
  ASSERT_TRUE(found.has_value());
  recent.RecordOpen(t.env, RecentItemOf(*found->volume, found->recordIndex), u"C:\\docs\\report.pdf");

  ntfsC.RenameFile(report, kRoot, u"annual.pdf");  // renamed and moved
  const VolumePtr c = engine->SnapshotVolumes()[0];
  while (c->nextUsn.load() < ntfsC.Journal().nextUsn) t.clock.Sleep(1);

  Search(u"", false, true);
  EXPECT_EQ(ResultPaths(), (std::vector<std::u16string>{u"C:\\annual.pdf"}));
  EXPECT_EQ((*SnapshotResults(results))[0].recordIndex, found->recordIndex);
  EXPECT_EQ(recent.Entries()[0].path, u"C:\\annual.pdf");  // saved so at the next write
}

// What the path check was for: after a rebuild a record index may name
// another file, and only then is the stored path compared.
TEST_F(SearchPipelineTest, RecentEntryAfterARebuildIsCheckedByItsPath) {
  MakeVolumes(1);
  const auto found = ResolvePathToItem(*engine, u"E:\\a\\b.txt");
  ASSERT_TRUE(found.has_value());
  recent.RecordOpen(t.env, RecentItemOf(*found->volume, found->recordIndex), u"E:\\a\\b.txt");

  // a0.txt is walked before b.txt: after the rebuild b.txt's old index names it.
  memory.AddFile(u"E:\\a\\a0.txt", "0");
  engine->RefreshAllNonNtfsAsync(RecordingWindowPoster::TestWindow());
  WaitForBackgroundTasks();
  ASSERT_EQ(found->volume->GetFullPath(found->recordIndex), u"E:\\a\\a0.txt");

  Search(u"", false, true);
  EXPECT_EQ(ResultPaths(), (std::vector<std::u16string>{u"E:\\a\\b.txt"}));
  EXPECT_EQ(recent.Entries()[0].item->recordIndex, found->recordIndex + 1);  // renewed by its path
}

// A volume that replaced a removed one used to start its build numbers where
// the old one had: an entry naming the old volume passed for the new one,
// when the new one was made at the old one's address, without its path being
// checked, and showed whatever file the new volume holds at that index.
TEST_F(SearchPipelineTest, RecentEntryOfAReplacedVolumeIsCheckedByItsPath) {
  MakeVolumes(1);
  const auto found = ResolvePathToItem(*engine, u"E:\\a\\b.txt");
  ASSERT_TRUE(found.has_value());
  const RecentItem opened = RecentItemOf(*found->volume, found->recordIndex);

  // E: is pulled out and the refresh drops its volume; it comes back with
  // a0.txt, walked before b.txt, and a sync makes a new volume for it.
  memory.RemoveDrive(u'E');
  engine->RefreshAllNonNtfsAsync(RecordingWindowPoster::TestWindow());
  WaitForBackgroundTasks();
  ASSERT_EQ(Drives(), (std::vector<std::u16string>{u"C:"}));
  AddWalkedDrive(u'E', u"exFAT");
  memory.AddFile(u"E:\\a\\a0.txt", "0");
  memory.AddFile(u"E:\\a\\b.txt", "b");
  engine->SyncCurrentVolumesAsync(RecordingWindowPoster::TestWindow());
  WaitForBackgroundTasks();
  const VolumePtr e = engine->SnapshotVolumes().at(1);
  ASSERT_NE(e, found->volume);
  ASSERT_EQ(e->GetFullPath(found->recordIndex), u"E:\\a\\a0.txt");

  // The entry as it reads when the new volume sits where the old one was.
  recent.RecordOpen(t.env, RecentItem{e.get(), opened.recordIndex, opened.build}, u"E:\\a\\b.txt");
  Search(u"", false, true);
  EXPECT_EQ(ResultPaths(), (std::vector<std::u16string>{u"E:\\a\\b.txt"}));
}

// The recent view used to hold the list's mutex while it looked entries up
// by their paths, each lookup a scan of a whole volume: opening a file waited
// for it. Its findings must not overwrite an entry changed meanwhile either.
TEST_F(SearchPipelineTest, OpeningAFileDoesNotWaitForTheRecentViewsLookups) {
  MakeVolumes(1);
  recent.RecordOpen(t.env, std::nullopt, u"C:\\docs\\report.pdf");  // found by its path
  std::future<void> reopened;
  bool reopenedAtOnce = false;
  session.recentPathLookupHook = [&](std::u16string_view) {
    if (reopened.valid()) return;
    // Opened again while the view looks it up. The bound only ends a test
    // that would otherwise wait for ever.
    reopened = std::async(std::launch::async, [&] { recent.RecordOpen(t.env, std::nullopt, u"c:/DOCS/report.pdf"); });
    reopenedAtOnce = reopened.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
  };
  Search(u"", false, true);
  reopened.wait();
  EXPECT_TRUE(reopenedAtOnce);
  EXPECT_EQ(ResultPaths(), (std::vector<std::u16string>{u"C:\\docs\\report.pdf"}));
  // The entry the view resolved was replaced meanwhile: the newer one stays.
  const std::vector<RecentOpen> entries = recent.Entries();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].path, u"c:/DOCS/report.pdf");
  EXPECT_FALSE(entries[0].item.has_value());
}

TEST_F(SearchPipelineTest, DeletingFromContentResultsPrunesRowsWithoutSearchingAgain) {
  MakeVolumes(3);
  Search(u"hit");
  ASSERT_EQ(ResultPaths().size(), 3u);
  const size_t before = SearchMessages().size();
  view.SetSearchText(u"s:anything");
  view.SetGeometry(ListGeometry{400, 88, 0, 1, 96});
  RefreshResultsAfterDelete(session, {u"c:/docs/HIT-0.txt", u"C:\\docs\\hit-2.txt"});
  WaitForBackgroundTasks();
  EXPECT_EQ(ResultPaths(), (std::vector<std::u16string>{u"C:\\docs\\hit-1.txt"}));
  EXPECT_EQ(session.keepView, 1);
  EXPECT_EQ(session.savedScrollOffset, 88);
  ASSERT_EQ(SearchMessages().size(), before + 1);
  EXPECT_EQ(SearchMessages().back(), (std::pair<uint64_t, int64_t>{results.searchGeneration.load(), 0}));
}

TEST_F(SearchPipelineTest, DeletingFromNameResultsSearchesAgainKeepingTheSort) {
  MakeVolumes(3);
  view.SetSearchText(u"hit");
  Search(u"hit");
  results.sortColumn = 1;
  RefreshResultsAfterDelete(session, {u"C:\\docs\\hit-0.txt"});
  WaitForBackgroundTasks();
  EXPECT_EQ(SearchMessages().back(), (std::pair<uint64_t, int64_t>{2, 0}));
  EXPECT_EQ(results.sortColumn, 1);
}

}  // namespace
}  // namespace quillmor
