#include "search/filter_pass.h"

#include "platform/sim/fake_view_state.h"
#include "search/default_filter_tags.h"
#include "search/search_pipeline.h"
#include "tests/countdown_latch.h"
#include "tests/engine/engine_fixture.h"

namespace quillmor {
namespace {

class FilterPassTest : public EngineFixture {
 protected:
  // E: (exFAT) holds docs\ (a directory), a.txt (1 byte), big.txt (2 MB),
  // photo.jpg (10 bytes).
  FilterPassTest() {
    results.window = RecordingWindowPoster::TestWindow();
    AddWalkedDrive(u'E', u"exFAT");
    memory.AddDirectories(u"E:\\docs");
    memory.AddFile(u"E:\\docs\\a.txt", "a");
    memory.AddFile(u"E:\\big.txt", std::string(2 << 20, 'x'));
    memory.AddFile(u"E:\\photo.jpg", "0123456789");
    StartUp(2);
    filters.SetTags(BuildDefaultTags(false));
    // The attribute cache's part, read straight from the file system.
    session.hydrate = [this](VolumeIndex& v, uint32_t i, AttrEntry& out) {
      FileInfo info;
      if (!t.env.files->GetFileInfo(v.GetFullPath(i), info)) return false;
      out = AttrEntry{info.size, info.lastWriteTime, info.creationTime, 1};
      return true;
    };
    RefreshSearchResultsAfterIndexUpdate(session);  // the full listing of E:
    WaitForBackgroundTasks();
  }

  size_t FilterMessages() {
    size_t n = 0;
    for (const PostedMessage& m : t.poster.Messages()) n += m.message == WMU_FILTER_RESULTS;
    return n;
  }

  std::vector<std::u16string> Displayed() {
    std::vector<std::u16string> paths;
    for (const MatchItem& item : *DisplayedResults(session))
      paths.push_back(item.volume->GetFullPath(item.recordIndex));
    return paths;
  }

  void Refilter() {
    RefreshFilteredResultsAsync(session);
    WaitForBackgroundTasks();
  }

  ResultSet results;
  FakeViewState view;
  RecentOpenList recent;
  FilterState filters;
  SearchSession session{t.env, *engine, results, view, recent, filters};
};

TEST_F(FilterPassTest, NoFilterShowsTheResultsAsTheyAre) {
  Refilter();
  EXPECT_EQ(FilterMessages(), 1u);
  EXPECT_EQ(Displayed().size(), 4u);
  EXPECT_EQ(session.displayedCount, 4);
}

TEST_F(FilterPassTest, SizePresetWithTagZeroDropsDirectoriesAndFilesOutsideTheRange) {
  filters.presets.sizePreset = kSizeUnder1MB;
  Refilter();
  EXPECT_EQ(Displayed(), (std::vector<std::u16string>{u"E:\\docs\\a.txt", u"E:\\photo.jpg"}));
  EXPECT_EQ(session.displayedCount, 2);
}

TEST_F(FilterPassTest, TagsKeepTheirExtensionsAndTheFolderTagKeepsFolders) {
  const FilterTagsSnapshot tags = filters.Tags();
  int32_t folder = -1, documents = -1;
  for (size_t i = 0; i < tags->size(); ++i) {
    if (IsFolderTag((*tags)[i])) folder = static_cast<int32_t>(i);
    if ((*tags)[i].name == u"Documents") documents = static_cast<int32_t>(i);
  }
  ASSERT_GT(folder, 0);
  ASSERT_GT(documents, 0);
  filters.SelectTag(folder);
  Refilter();
  EXPECT_EQ(Displayed(), (std::vector<std::u16string>{u"E:\\docs"}));
  filters.SelectTag(documents);
  Refilter();
  EXPECT_EQ(Displayed(), (std::vector<std::u16string>{u"E:\\big.txt", u"E:\\docs\\a.txt"}));
}

TEST_F(FilterPassTest, UnchangedSettingsReuseTheLastPassAndAnEditedSizeTextDoesNot) {
  filters.presets.sizePreset = kSizeCustom;
  filters.presets.sizeUnit = kUnitBytes;
  view.SetCustomSizeText(u"0-5");
  Refilter();
  EXPECT_EQ(Displayed(), (std::vector<std::u16string>{u"E:\\docs\\a.txt"}));
  const Results first = DisplayedResults(session);

  Refilter();  // the same everything: the cached pass, posted at once
  EXPECT_EQ(DisplayedResults(session), first);
  EXPECT_EQ(FilterMessages(), 2u);

  view.SetCustomSizeText(u"5-0");  // the same characters in another order
  Refilter();
  EXPECT_NE(DisplayedResults(session), first);
  EXPECT_EQ(CustomSizeTextHash(u"0-5") == CustomSizeTextHash(u"5-0"), false);
}

TEST_F(FilterPassTest, StalePassInstallsNothing) {
  // The first pass is held at its first attribute read until the second
  // refresh has made it stale; only the second installs.
  CountdownLatch secondStarted(1);
  session.hydrate = [&secondStarted, read = session.hydrate](VolumeIndex& v, uint32_t i, AttrEntry& out) {
    secondStarted.wait();
    return read(v, i, out);
  };
  filters.presets.sizePreset = kSizeUnder1MB;
  RefreshFilteredResultsAsync(session);
  filters.presets.sizePreset = kSizeOver100MB;
  RefreshFilteredResultsAsync(session);
  secondStarted.count_down();
  WaitForBackgroundTasks();
  EXPECT_TRUE(Displayed().empty());
  EXPECT_EQ(FilterMessages(), 1u);
}

// The window's end does not wait for its jobs: a filter pass and a search
// still running then finish on the session, which the program keeps for them,
// and publish and post nothing.
TEST_F(FilterPassTest, JobsStillRunningWhenTheWindowEndsPublishNothing) {
  const Results before = SnapshotResults(results);
  const size_t messages = t.poster.Messages().size();
  filters.presets.sizePreset = kSizeUnder1MB;
  {
    std::unique_lock hold(engine->SnapshotVolumes().at(0)->recordsLock);
    RefreshFilteredResultsAsync(session);
    DoSearchAsync(session, u"a", false, false);
    // What the window's WM_DESTROY does to them.
    BeginShutdown();
    results.window = nullptr;
  }
  WaitForBackgroundTasks();
  EXPECT_EQ(session.filtered, nullptr);
  EXPECT_EQ(SnapshotResults(results), before);
  EXPECT_EQ(t.poster.Messages().size(), messages);
}

}  // namespace
}  // namespace quillmor
