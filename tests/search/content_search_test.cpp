// Content search through the search pipeline, as the window runs it: files
// on a walked drive in memory, messages recorded, Escape as a new search
// generation.
#include "search/content_search.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "engine/content_zip_settings.h"
#include "platform/sim/fake_view_state.h"
#include "platform/utf.h"
#include "search/search_pipeline.h"
#include "settings/config_directory.h"
#include "tests/engine/engine_fixture.h"
#include "tests/search/open_hook_file_system.h"

namespace quillmor {
namespace {

using PathList = std::vector<std::u16string>;

// GetTickCount64 that moves on by `step` ms at every reading, so that the
// rate limits of early batches and progress texts let several through.
class SteppingClock : public ManualClock {
 public:
  explicit SteppingClock(uint64_t step) : step_(step) {}
  uint64_t TickCount64() override {
    Advance(step_);
    return ManualClock::TickCount64();
  }

 private:
  uint64_t step_;
};

class ContentSearchTest : public EngineFixture {
 protected:
  ContentSearchTest() {
    results.window = RecordingWindowPoster::TestWindow();
    AddWalkedDrive(u'E', u"exFAT");
    InstallContentZipSettings(DefaultContentZipSettings());
  }
  ~ContentSearchTest() override {
    WaitForBackgroundTasks();
    // The window frees every status text it receives; here the test is the window.
    for (const PostedMessage& m : t.poster.Messages()) {
      if (m.message == WMU_STATUS_TEXT) delete[] reinterpret_cast<char16_t*>(m.lParam);
    }
  }

  // Indexes E: with the files added so far. Files may still be added or
  // changed afterwards: the index holds names only.
  void Index() {
    t.env.files = &hooked;
    StartUp(2);
    hooked.opens = 0;  // the start-up reads the attribute cache file
  }

  void Search(std::u16string query) {
    DoSearchAsync(session, std::move(query), false, false);
    WaitForBackgroundTasks();
  }

  // The hits of the current results, sorted (workers add them in no fixed order).
  PathList Hits() {
    PathList paths;
    if (const Results r = SnapshotResults(results)) {
      for (const MatchItem& item : *r) paths.push_back(item.volume->GetFullPath(item.recordIndex));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  std::vector<std::pair<uint64_t, int64_t>> SearchMessages() {
    std::vector<std::pair<uint64_t, int64_t>> out;
    for (const PostedMessage& m : t.poster.Messages()) {
      if (m.message == WMU_SEARCH_RESULTS) out.emplace_back(m.wParam, m.lParam);
    }
    return out;
  }

  // Status texts of generation g, in order (all generations when g is 0).
  std::vector<std::u16string> StatusTexts(uint64_t g = 0) {
    std::vector<std::u16string> texts;
    for (const PostedMessage& m : t.poster.Messages()) {
      if (m.message == WMU_STATUS_TEXT && (g == 0 || m.wParam == g)) {
        texts.emplace_back(reinterpret_cast<const char16_t*>(m.lParam));
      }
    }
    return texts;
  }

  uint64_t CurrentGeneration() { return results.searchGeneration.load(); }

  std::string Fixture(const char* name) {
    const char* root = std::getenv("QUILLMOR_TEST_DATA");
    if (root == nullptr) return {};
    std::ifstream in(std::string(root) + "/office/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  OpenHookFileSystem hooked{files};
  ResultSet results;
  FakeViewState view;
  RecentOpenList recent;
  FilterState filters;
  SearchSession session{t.env, *engine, results, view, recent, filters};
};

TEST_F(ContentSearchTest, FindsTheTermInUtf8AnsiAndUtf16Files) {
  std::string ansi;
  ASSERT_TRUE(t.env.text->FromUtf16(0, u"Un café noir.", ansi));
  const std::string contents[] = {"Un caf\xC3\xA9 noir.", ansi, Utf16ToLittleEndianBytes(u"\uFEFFUn café noir."),
                                  "caf\xC3\xA9", "Un cafe noir."};
  const char16_t* names[] = {u"utf8.txt", u"ansi.txt", u"utf16.txt", u"upper.TXT", u"plain.txt"};
  uint64_t total = 0;
  for (int i = 0; i < 5; ++i) {
    memory.AddFile(u"E:\\notes\\" + std::u16string(names[i]), contents[i]);
    total += contents[i].size();
  }
  Index();

  Search(u"s:café");
  EXPECT_EQ(Hits(), (PathList{u"E:\\notes\\ansi.txt", u"E:\\notes\\upper.TXT", u"E:\\notes\\utf16.txt",
                              u"E:\\notes\\utf8.txt"}));
  EXPECT_EQ(SearchMessages(), (std::vector<std::pair<uint64_t, int64_t>>{{1, 2}, {1, 0}}));
  ASSERT_FALSE(StatusTexts().empty());
  EXPECT_EQ(StatusTexts()[0], u"Filtered 5 files, scanning... (Esc to cancel)");
  EXPECT_EQ(session.contentCounters.candidates, 5u);
  EXPECT_EQ(session.contentCounters.bytesRead, total);
}

TEST_F(ContentSearchTest, MatchingIsCaseSensitive) {
  memory.AddFile(u"E:\\a.txt", "only foo here");
  Index();
  Search(u"s:Foo");
  EXPECT_TRUE(Hits().empty());
  EXPECT_EQ(SearchMessages().back(), (std::pair<uint64_t, int64_t>{1, 0}));
  Search(u"s:foo");
  EXPECT_EQ(Hits(), (PathList{u"E:\\a.txt"}));
  // Upper-case S is a name query.
  Search(u"S:foo");
  EXPECT_TRUE(Hits().empty());
  EXPECT_EQ(session.contentCounters.candidates, 1u);
}

TEST_F(ContentSearchTest, ExtensionsChooseTheCandidates) {
  for (const char16_t* name : {u"E:\\d\\a.md", u"E:\\d\\b.txt", u"E:\\d\\c.log", u"E:\\d\\README",
                               u"E:\\d\\x.txt\\y.md", u"E:\\d\\archive.tar.txt", u"E:\\d\\txt"}) {
    memory.AddFile(name, "foo");
  }
  Index();
  struct Case {
    const char16_t* query;
    PathList hits;
  };
  const Case cases[] = {
      {u"s:foo", {u"E:\\d\\archive.tar.txt", u"E:\\d\\b.txt"}},
      {u"s:foo|md", {u"E:\\d\\a.md", u"E:\\d\\x.txt\\y.md"}},
      {u"s:foo|md,,TXT", {u"E:\\d\\a.md", u"E:\\d\\archive.tar.txt", u"E:\\d\\b.txt", u"E:\\d\\x.txt\\y.md"}},
      {u"s:foo|.LOG", {u"E:\\d\\c.log"}},
      {u"s:foo|tar.txt", {}},  // only the part after the last '.' counts
  };
  for (const Case& c : cases) {
    Search(c.query);
    EXPECT_EQ(Hits(), c.hits) << Utf16ToUtf8(c.query);
    // The directory x.txt and the files without an extension are never read.
    EXPECT_EQ(session.contentCounters.candidates, c.hits.size()) << Utf16ToUtf8(c.query);
  }
}

TEST_F(ContentSearchTest, NoCandidateEmptiesTheResults) {
  memory.AddFile(u"E:\\a.txt", "foo");
  Index();
  Search(u"a.txt");
  ASSERT_EQ(Hits().size(), 1u);
  Search(u"s:foo|");
  EXPECT_TRUE(Hits().empty());
  EXPECT_EQ(SearchMessages().back(), (std::pair<uint64_t, int64_t>{2, 0}));
  EXPECT_EQ(StatusTexts(2), (std::vector<std::u16string>{u"No candidate files after filters."}));
  EXPECT_EQ(hooked.opens, 0);
}

TEST_F(ContentSearchTest, SizeAndTimeFilterNarrowsTheCandidates) {
  memory.AddFile(u"E:\\small.txt", "foo");
  memory.AddFile(u"E:\\large.txt", "foo");
  Index();
  std::atomic<int> filterCalls{0};
  // A preset that keeps only large.txt...
  session.contentCandidateFilter = [&]() -> CandidateFilter {
    return [&](VolumeIndex& volume, uint32_t index) {
      ++filterCalls;
      return volume.GetFullPath(index) == u"E:\\large.txt";
    };
  };
  Search(u"s:foo");
  EXPECT_EQ(Hits(), (PathList{u"E:\\large.txt"}));
  EXPECT_EQ(session.contentCounters.candidates, 1u);
  EXPECT_EQ(filterCalls, 2);

  // ...one that keeps nothing ("> 100MB" without such a file)...
  session.contentCandidateFilter = [] { return CandidateFilter([](VolumeIndex&, uint32_t) { return false; }); };
  Search(u"s:foo");
  EXPECT_TRUE(Hits().empty());
  EXPECT_EQ(StatusTexts(CurrentGeneration()), (std::vector<std::u16string>{u"No candidate files after filters."}));

  // ...and no preset at all.
  session.contentCandidateFilter = [] { return CandidateFilter(); };
  Search(u"s:foo");
  EXPECT_EQ(Hits().size(), 2u);
}

TEST_F(ContentSearchTest, SizePresetSetWhenTheSearchStartsNarrowsTheCandidates) {
  memory.AddFile(u"E:\\small.txt", "foo");
  memory.AddFile(u"E:\\large.txt", "foo" + std::string(2 << 20, ' '));
  Index();
  session.hydrate = [this](VolumeIndex& v, uint32_t i, AttrEntry& out) {
    FileInfo info;
    if (!t.env.files->GetFileInfo(v.GetFullPath(i), info)) return false;
    out = AttrEntry{info.size, info.lastWriteTime, info.creationTime, 1};
    return true;
  };
  filters.presets.sizePreset = kSize1To100MB;
  Search(u"s:foo");
  EXPECT_EQ(Hits(), (PathList{u"E:\\large.txt"}));
  EXPECT_EQ(session.contentCounters.candidates, 1u);

  // Rows whose attributes cannot be read fail a size preset.
  session.hydrate = nullptr;
  Search(u"s:foo");
  EXPECT_TRUE(Hits().empty());

  filters.presets.sizePreset = kSizeAll;
  Search(u"s:foo");
  EXPECT_EQ(Hits().size(), 2u);
}

TEST_F(ContentSearchTest, DesktopScopeReadsOnlyTheDesktopTree) {
  memory.AddFile(u"E:\\Users\\me\\Desktop\\a.txt", "foo");
  memory.AddFile(u"E:\\Users\\me\\Desktop\\sub\\b.txt", "foo");
  memory.AddFile(u"E:\\Users\\me\\Desktop2\\c.txt", "foo");
  memory.AddFile(u"E:\\Users\\me\\d.txt", "foo");
  Index();
  t.system.desktop = u"E:\\Users\\me\\Desktop";
  session.scope = kScopeDesktop;
  Search(u"s:foo");
  EXPECT_EQ(Hits(), (PathList{u"E:\\Users\\me\\Desktop\\a.txt", u"E:\\Users\\me\\Desktop\\sub\\b.txt"}));
  EXPECT_EQ(hooked.opens, 2);

  // No Desktop folder: nothing at all, without reading.
  t.system.desktop.reset();
  Search(u"s:foo");
  EXPECT_TRUE(Hits().empty());
  EXPECT_EQ(hooked.opens, 2);
}

TEST_F(ContentSearchTest, VolumeScopeAndUnavailableVolumes) {
  AddWalkedDrive(u'F', u"FAT32");
  memory.AddFile(u"E:\\e.txt", "foo");
  memory.AddFile(u"F:\\f.txt", "foo");
  Index();
  session.scope = kScopeFirstVolume + 1;
  Search(u"s:foo");
  EXPECT_EQ(Hits(), (PathList{u"F:\\f.txt"}));
  session.scope = kScopeAll;
  engine->SnapshotVolumes()[0]->available = 0;
  Search(u"s:foo");
  EXPECT_EQ(Hits(), (PathList{u"F:\\f.txt"}));
}

TEST_F(ContentSearchTest, OfficeDocumentsAreSearchedAsArchives) {
  for (const char* name : {"sample.docx", "sample.xlsx", "sample.pptx", "sample.odt"}) {
    const std::string bytes = Fixture(name);
    if (bytes.empty()) GTEST_SKIP() << "no test data";
    memory.AddFile(u"E:\\office\\" + U16(name), bytes);
  }
  Index();
  Search(u"s:annual report|docx");
  EXPECT_EQ(Hits(), (PathList{u"E:\\office\\sample.docx"}));
  Search(u"s:annual report|docx,xlsx,pptx,odt");
  EXPECT_EQ(Hits(), (PathList{u"E:\\office\\sample.docx", u"E:\\office\\sample.odt", u"E:\\office\\sample.pptx",
                              u"E:\\office\\sample.xlsx"}));
  Search(u"s:欠款 and quarterly|docx,pptx");
  EXPECT_EQ(Hits(), (PathList{u"E:\\office\\sample.docx", u"E:\\office\\sample.pptx"}));
  Search(u"s:annualreport|docx");  // the compacted second try
  EXPECT_EQ(Hits(), (PathList{u"E:\\office\\sample.docx"}));
  Search(u"s:nowhere in them|docx,xlsx,pptx,odt");
  EXPECT_TRUE(Hits().empty());

  // The lists are read again at every search: without .docx among the ZIP
  // extensions a .docx is plain bytes, compressed, so the words are not found.
  ASSERT_TRUE(memory.WriteFile(ConfigFilePath(t.env, kContentZipExtsFile), "exts=.xlsx\n"));
  Search(u"s:annual report|docx,xlsx");
  EXPECT_EQ(Hits(), (PathList{u"E:\\office\\sample.xlsx"}));
  // No inner pattern: no entry of any document is read.
  ASSERT_TRUE(memory.WriteFile(ConfigFilePath(t.env, kContentZipInnerPatternsFile), "# none\n"));
  Search(u"s:annual report|docx,xlsx");
  EXPECT_TRUE(Hits().empty());
}

TEST_F(ContentSearchTest, HitsArriveInBatchesUnderTheRateLimits) {
  // The clock stands still: one early batch and one progress text at most.
  for (int i = 0; i < 60; ++i) memory.AddFile(u"E:\\h\\" + U16(std::to_string(i)) + u".txt", "needle");
  Index();
  Search(u"s:needle");
  EXPECT_EQ(Hits().size(), 60u);
  EXPECT_EQ(SearchMessages(), (std::vector<std::pair<uint64_t, int64_t>>{{1, 2}, {1, 0}}));
  const std::vector<std::u16string> texts = StatusTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], u"Filtered 60 files, scanning... (Esc to cancel)");
  std::smatch match;
  const std::string progress = Utf16ToUtf8(texts[1]);
  ASSERT_TRUE(std::regex_match(progress, match, std::regex(R"(Scanning contents\.\.\. \(Processed (\d+) / 60\))")))
      << progress;
  EXPECT_EQ(std::stoi(match[1]) % 5, 0);
}

TEST_F(ContentSearchTest, MovingClockLetsMoreBatchesThrough) {
  SteppingClock clock(300);  // every reading is a new interval
  t.env.clock = &clock;
  for (int i = 0; i < 90; ++i) memory.AddFile(u"E:\\h\\" + U16(std::to_string(i)) + u".txt", "needle");
  Index();
  Search(u"s:needle");
  EXPECT_EQ(Hits().size(), 90u);
  const auto messages = SearchMessages();
  ASSERT_GE(messages.size(), 3u);  // a batch per worker at 16 hits, and the final message
  EXPECT_EQ(messages.back(), (std::pair<uint64_t, int64_t>{1, 0}));
  for (size_t i = 0; i + 1 < messages.size(); ++i) EXPECT_EQ(messages[i].second, 2);
  // Progress only on every fifth file: 18 chances at most.
  const size_t progress = StatusTexts().size() - 1;
  EXPECT_GE(progress, 2u);
  EXPECT_LE(progress, 18u);
}

TEST_F(ContentSearchTest, EscapeStopsTheScanWithoutAFinalMessage) {
  for (int i = 0; i < 90; ++i) memory.AddFile(u"E:\\h\\" + U16(std::to_string(i)) + u".txt", "needle");
  Index();
  hooked.beforeOpen = [&](int open) {
    if (open == 20) results.NextGeneration();  // Escape in the search box
  };
  Search(u"s:needle");
  // Each worker stops at its next file: at most the two others were opening one.
  EXPECT_LE(hooked.opens, 22);
  for (const auto& [generation, lParam] : SearchMessages()) EXPECT_NE(lParam, 0);
  EXPECT_EQ(StatusTexts(2), std::vector<std::u16string>{});
}

TEST_F(ContentSearchTest, ShutdownStopsTheScan) {
  for (int i = 0; i < 90; ++i) memory.AddFile(u"E:\\h\\" + U16(std::to_string(i)) + u".txt", "needle");
  Index();
  hooked.beforeOpen = [&](int open) {
    if (open == 10) BeginShutdown();
  };
  Search(u"s:needle");
  EXPECT_LE(hooked.opens, 12);
  for (const auto& [generation, lParam] : SearchMessages()) EXPECT_NE(lParam, 0);
}

TEST_F(ContentSearchTest, NewSearchDuringTheScanWins) {
  for (int i = 0; i < 90; ++i) memory.AddFile(u"E:\\h\\" + U16(std::to_string(i)) + u".txt", "needle");
  memory.AddFile(u"E:\\other.log", "needle");
  Index();
  hooked.beforeOpen = [&](int open) {
    if (open == 5) DoSearchAsync(session, u"s:needle|log", false, false);
  };
  Search(u"s:needle");
  EXPECT_EQ(Hits(), (PathList{u"E:\\other.log"}));
  for (const auto& [generation, lParam] : SearchMessages()) {
    if (lParam == 0) {
      EXPECT_EQ(generation, 2u);
    }
  }
}

}  // namespace
}  // namespace quillmor
