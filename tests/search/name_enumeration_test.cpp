#include "search/name_enumeration.h"

#include <algorithm>
#include <random>

#include "engine/match_item.h"
#include "search/folder_query.h"
#include "search/query_groups.h"
#include "tests/engine/engine_fixture.h"
#include "tests/engine/hand_built_volume.h"

namespace quillmor {
namespace {

class NameEnumerationTest : public EngineFixture {
 protected:
  // C: (NTFS): docs\report.pdf, docs\old\Report 2019.docx, Users\me\Desktop\todo.txt,
  //            Users\me\Desktop2\report-copy.txt
  // E: (exFAT): a\b.txt, Reports\q1.xlsx
  void SetUp() override {
    const uint64_t docs = ntfsC.AddExistingFile(kRoot, u"docs", true);
    ntfsC.AddExistingFile(docs, u"report.pdf");
    const uint64_t old = ntfsC.AddExistingFile(docs, u"old", true);
    ntfsC.AddExistingFile(old, u"Report 2019.docx");
    const uint64_t users = ntfsC.AddExistingFile(kRoot, u"Users", true);
    const uint64_t me = ntfsC.AddExistingFile(users, u"me", true);
    const uint64_t desktop = ntfsC.AddExistingFile(me, u"Desktop", true);
    ntfsC.AddExistingFile(desktop, u"todo.txt");
    const uint64_t desktop2 = ntfsC.AddExistingFile(me, u"Desktop2", true);
    ntfsC.AddExistingFile(desktop2, u"report-copy.txt");
    MountNtfs(u'C', ntfsC);
    AddWalkedDrive(u'E', u"exFAT");
    memory.AddFile(u"E:\\a\\b.txt", "b");
    memory.AddFile(u"E:\\Reports\\q1.xlsx", "q");
    StartUp(2);
    snapshot = engine->SnapshotVolumes();
  }

  // Paths of the hits of a query, in hit order.
  std::vector<std::u16string> Search(std::u16string_view text, int32_t scope = kScopeAll,
                                     std::u16string_view desktop = u"C:\\Users\\me\\Desktop") {
    const CompiledNameQuery query(FoldQueryGroups(ParseQueryGroups(text)), true, *t.env.text);
    std::vector<std::u16string> paths;
    EnumerateNames(query, ResolveScope(scope, desktop), snapshot, Generation{},
                   [&](VolumeIndex* volume, uint64_t i) { paths.push_back(volume->GetFullPath(i)); });
    return paths;
  }

  std::vector<std::u16string> Children(std::u16string_view folder) {
    std::vector<std::u16string> paths;
    ListFolderChildren(snapshot, folder, [&](VolumeIndex* v, uint64_t i) { paths.push_back(v->GetFullPath(i)); });
    return paths;
  }

  std::vector<VolumePtr> snapshot;
};

TEST_F(NameEnumerationTest, HitsComeVolumeByVolumeInRecordOrder) {
  EXPECT_EQ(Search(u"report"),
            (std::vector<std::u16string>{u"C:\\docs\\report.pdf", u"C:\\docs\\old\\Report 2019.docx",
                                         u"C:\\Users\\me\\Desktop2\\report-copy.txt", u"E:\\Reports"}));
  EXPECT_EQ(Search(u"report and pdf or b.txt"),
            (std::vector<std::u16string>{u"C:\\docs\\report.pdf", u"E:\\a\\b.txt"}));
  EXPECT_EQ(Search(u"*.TXT or r*"),
            (std::vector<std::u16string>{
                u"C:\\docs\\report.pdf", u"C:\\docs\\old\\Report 2019.docx", u"C:\\Users\\me\\Desktop\\todo.txt",
                u"C:\\Users\\me\\Desktop2\\report-copy.txt", u"E:\\a\\b.txt", u"E:\\Reports"}));
}

TEST_F(NameEnumerationTest, VolumeScopeSearchesOnlyThatSnapshotPosition) {
  EXPECT_EQ(Search(u"report", 3), (std::vector<std::u16string>{u"E:\\Reports"}));
  EXPECT_EQ(Search(u"report", 9), (std::vector<std::u16string>{}));
}

TEST_F(NameEnumerationTest, DesktopScopeKeepsOnlyFilesUnderTheDesktop) {
  // The Desktop folder counts as under itself; Desktop2 beside it does not.
  EXPECT_EQ(Search(u"t", kScopeDesktop),
            (std::vector<std::u16string>{u"C:\\Users\\me\\Desktop", u"C:\\Users\\me\\Desktop\\todo.txt"}));
  EXPECT_TRUE(ResolveScope(kScopeDesktop, u"").empty);
}

TEST_F(NameEnumerationTest, EmptyQueryListsEveryLiveRecord) {
  EXPECT_EQ(Search(u"").size(), 11u + 4u);  // C: holds "." too
}

TEST_F(NameEnumerationTest, SkipsDeletedRecordsAndBusyOrUnavailableVolumes) {
  {
    std::unique_lock lock(snapshot[0]->recordsLock);
    snapshot[0]->records[1].deleted = 1;  // docs
  }
  EXPECT_EQ(Search(u"docs"), (std::vector<std::u16string>{}));
  snapshot[1]->available = 0;
  snapshot[0]->busy = 1;
  EXPECT_EQ(Search(u""), (std::vector<std::u16string>{}));
  snapshot[0]->busy = 0;
  snapshot[1]->available = 1;
}

TEST_F(NameEnumerationTest, StaleGenerationAbandonsTheScan) {
  std::atomic<uint64_t> current{5};
  const CompiledNameQuery everything(QueryGroups{}, false, *t.env.text);
  size_t hits = 0;
  const bool complete = EnumerateNames(everything, ResolveScope(kScopeAll, u""), snapshot, Generation{&current, 5},
                                       [&](VolumeIndex*, uint64_t) {
                                         ++hits;
                                         current = 6;  // a newer search starts
                                       });
  // Checked every 256 records: C: (11 records) is finished, E: is abandoned
  // at its first record.
  EXPECT_FALSE(complete);
  EXPECT_EQ(hits, 11u);
}

TEST_F(NameEnumerationTest, FolderQueriesListDirectChildren) {
  std::u16string folder;
  struct Case {
    const char16_t* query;
    bool folderQuery;
    const char16_t* folder;
  };
  const Case cases[] = {
      {u"C:/docs/", true, u"C:\\docs"},
      {u"c:\\", true, u"c:"},
      {u"C:", true, u"C:"},
      {u"\"E:\\Reports\"", true, u"E:\\Reports"},
      {u"C:\\docs\\report.pdf", false, u""},
      {u"s:\\docs", false, u""},
      {u"C:\\nothing", false, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.query, c.query + std::char_traits<char16_t>::length(c.query)));
    folder.clear();
    EXPECT_EQ(ResolveFolderQuery(*t.env.files, c.query, folder), c.folderQuery);
    EXPECT_EQ(folder, c.folder);
  }
  EXPECT_EQ(Children(u"C:\\docs"), (std::vector<std::u16string>{u"C:\\docs\\report.pdf", u"C:\\docs\\old"}));
  EXPECT_EQ(Children(u"c:\\DOCS\\OLD"), (std::vector<std::u16string>{u"C:\\docs\\old\\Report 2019.docx"}));
  EXPECT_EQ(Children(u"C:"), (std::vector<std::u16string>{u"C:\\.", u"C:\\docs", u"C:\\Users"}));
  EXPECT_EQ(Children(u"E:"), (std::vector<std::u16string>{u"E:\\a", u"E:\\Reports"}));
}

// A row names its volume by pointer. When the manual refresh drops a walked
// volume from the set (here: E: is now an NTFS disk), published results that
// name it must still reach a live index.
TEST_F(NameEnumerationTest, ResultsKeepTheirVolumesAliveAfterRemovalFromTheSet) {
  const CompiledNameQuery query(FoldQueryGroups(ParseQueryGroups(u"b.txt")), false, *t.env.text);
  std::vector<MatchItem> items;
  EnumerateNames(query, ResolveScope(kScopeAll, u""), snapshot, Generation{}, [&](VolumeIndex* v, uint64_t i) {
    items.push_back({v, static_cast<uint32_t>(i)});
  });
  ASSERT_EQ(items.size(), 1u);
  std::weak_ptr<VolumeIndex> e = snapshot[1];
  Results results = MakeResults(std::move(items), std::move(snapshot));

  memory.RemoveDrive(u'E');
  ntfsD.AddExistingFile(kRoot, u"d.txt");
  MountNtfs(u'E', ntfsD);
  engine->syncRunning = 1;  // no sync first: E: stays out of the set
  engine->RefreshAllNonNtfsAsync(RecordingWindowPoster::TestWindow());
  WaitForMessages(3);
  WaitForBackgroundTasks();
  ASSERT_EQ(Drives(), (std::vector<std::u16string>{u"C:"}));

  ASSERT_FALSE(e.expired());
  EXPECT_EQ((*results)[0].volume->GetFullPath((*results)[0].recordIndex), u"E:\\a\\b.txt");
  results.reset();
  EXPECT_TRUE(e.expired());  // the last result gone, the index goes too
}

// A volume large enough to be scanned by two threads, then a small one.
class SplitScanTest : public ::testing::Test {
 protected:
  SplitScanTest() {
    const char16_t* const words[] = {u"Report", u"budget", u"photo", u"notes", u"data", u"IMG", u"setup", u"a"};
    std::mt19937 rng(7);
    std::vector<HandBuiltFile> files(kSplitScanRecords + 54'321);
    for (HandBuiltFile& file : files) {
      const std::string number = std::to_string(rng() % 5000);
      file.name = std::u16string(words[rng() % 8]) + u"_" + std::u16string(number.begin(), number.end()) + u".txt";
      file.deleted = rng() % 9 == 0;
    }
    snapshot.push_back(HandBuiltVolume(t.env, u"C:", files));
    snapshot.push_back(NumberedVolume(t.env, u"D:", 300));
  }

  using Hits = std::vector<MatchItem>;

  Hits Search(const CompiledNameQuery& query, Generation generation, bool& complete) {
    Hits hits;
    complete =
        EnumerateNames(query, ResolveScope(kScopeAll, u""), snapshot, generation, [&](VolumeIndex* v, uint64_t i) {
          hits.push_back({v, static_cast<uint32_t>(i)});
        });
    return hits;
  }

  // The hits of one thread testing every record in order.
  Hits SingleThreadedHits(const CompiledNameQuery& query) {
    Hits hits;
    for (const VolumePtr& volume : snapshot) {
      std::shared_lock lock(volume->recordsLock);
      for (uint32_t i = 0; i < volume->records.size(); ++i) {
        const FileRecord& record = volume->records[i];
        if (!record.deleted && query.Matches(record)) hits.push_back({volume.get(), i});
      }
    }
    return hits;
  }

  size_t Middle() const { return snapshot[0]->records.size() / 2; }

  TestEnv t;
  std::vector<VolumePtr> snapshot;
};

TEST_F(SplitScanTest, GivesTheSingleThreadedHitsInOrder) {
  for (const char16_t* text : {u"report", u"7", u"data and 12 or img_4", u"", u"nothing like it", u"*_1?.txt"}) {
    SCOPED_TRACE(std::string(text, text + std::char_traits<char16_t>::length(text)));
    const CompiledNameQuery query(FoldQueryGroups(ParseQueryGroups(text)), true, *t.env.text);
    bool complete = false;
    const Hits hits = Search(query, Generation{}, complete);
    EXPECT_TRUE(complete);
    EXPECT_EQ(hits, SingleThreadedHits(query));
  }
  // Both halves of the large volume and the small one hold hits.
  const CompiledNameQuery query(FoldQueryGroups(ParseQueryGroups(u"1")), true, *t.env.text);
  bool complete = false;
  const Hits hits = Search(query, Generation{}, complete);
  ASSERT_FALSE(hits.empty());
  EXPECT_LT(hits.front().recordIndex, Middle());
  EXPECT_TRUE(std::any_of(hits.begin(), hits.end(), [&](const MatchItem& m) {
    return m.volume == snapshot[0].get() && m.recordIndex >= Middle();
  }));
  EXPECT_EQ(hits.back().volume, snapshot[1].get());
}

TEST_F(SplitScanTest, ALimitGivesTheFirstHitsAndEndsComplete) {
  const CompiledNameQuery query(FoldQueryGroups(ParseQueryGroups(u"*1*")), true, *t.env.text);
  const Hits all = SingleThreadedHits(query);
  const size_t lower = static_cast<size_t>(std::count_if(all.begin(), all.end(), [&](const MatchItem& m) {
    return m.volume == snapshot[0].get() && m.recordIndex < Middle();
  }));
  const size_t large = static_cast<size_t>(
      std::count_if(all.begin(), all.end(), [&](const MatchItem& m) { return m.volume == snapshot[0].get(); }));
  ASSERT_LT(large, all.size());  // the small volume holds hits too
  // Limits that end in the lower half, at its end, in the upper half, at the
  // end of the large volume, in the small one, and beyond every hit.
  for (const size_t limit :
       {size_t{1}, size_t{300}, lower, lower + 1, large - 1, large, large + 2, all.size(), all.size() + 5}) {
    SCOPED_TRACE(limit);
    Hits hits;
    const bool complete = EnumerateNames(
        query, ResolveScope(kScopeAll, u""), snapshot, Generation{},
        [&](VolumeIndex* v, uint64_t i) {
          hits.push_back({v, static_cast<uint32_t>(i)});
        },
        limit);
    EXPECT_TRUE(complete);
    EXPECT_EQ(hits, Hits(all.begin(), all.begin() + static_cast<ptrdiff_t>(std::min(limit, all.size()))));
  }
}

TEST_F(SplitScanTest, StaleGenerationStopsBothHalves) {
  const CompiledNameQuery query(FoldQueryGroups(ParseQueryGroups(u"report")), true, *t.env.text);
  std::atomic<uint64_t> current{5};
  bool complete = true;
  EXPECT_TRUE(Search(query, Generation{&current, 4}, complete).empty());
  EXPECT_FALSE(complete);

  // A newer search starts at the first hit: the lower half stops at its next
  // check, and nothing of the upper half or of the next volume comes out.
  Hits hits;
  complete = EnumerateNames(query, ResolveScope(kScopeAll, u""), snapshot, Generation{&current, 5},
                            [&](VolumeIndex* v, uint64_t i) {
                              hits.push_back({v, static_cast<uint32_t>(i)});
                              current = 6;
                            });
  EXPECT_FALSE(complete);
  ASSERT_FALSE(hits.empty());
  EXPECT_LT(hits.back().recordIndex, 256u * ((hits.front().recordIndex / 256) + 1));
  EXPECT_LT(hits.back().recordIndex, Middle());
  for (const MatchItem& m : hits) EXPECT_EQ(m.volume, snapshot[0].get());
}

}  // namespace
}  // namespace quillmor
