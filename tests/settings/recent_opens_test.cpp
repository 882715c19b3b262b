#include "settings/recent_opens.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/thread.h"
#include "settings/config_directory.h"
#include "tests/settings/settings_fixture.h"

namespace quillmor {
namespace {

// Two volumes, as the engine's VolumeIndex pointers would be.
const char kVolumeC = 'C';
const char kVolumeD = 'D';
RecentItem ItemOn(const char& volume, uint64_t record) { return RecentItem{&volume, record}; }

class RecentOpensTest : public SettingsTest {
 protected:
  std::vector<std::u16string> Paths() {
    std::vector<std::u16string> paths;
    for (const RecentOpen& e : list.Entries()) paths.push_back(e.path);
    return paths;
  }
  std::u16string RecentFile() { return ConfigFile(u"recent.ini"); }

  RecentOpenList list;
};

TEST_F(RecentOpensTest, LoadKeepsTabbedLinesInFileOrder) {
  PutConfigFile(u"recent.ini",
                "\xEF\xBB\xBF"
                "12\tC:\\docs\\a.txt\r\n"
                "no tab here\n"
                "5\t\n"
                "\tC:\\leading tab.txt\n"  // trimming takes the tab away
                "junk\tC:\\junk stamp.txt\n"
                "7\tC:\\with\ttab.txt\n"
                "  99\t  D:\\spaced.txt  \n");
  list.Load(env);
  const std::vector<RecentOpen> entries = list.Entries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].tick, 12u);
  EXPECT_EQ(entries[0].path, u"C:\\docs\\a.txt");
  EXPECT_FALSE(entries[0].item);
  EXPECT_EQ(entries[1].tick, 0u);
  EXPECT_EQ(entries[1].path, u"C:\\junk stamp.txt");
  EXPECT_EQ(entries[2].tick, 7u);
  EXPECT_EQ(entries[2].path, u"C:\\with\ttab.txt");  // split at the first tab only
  EXPECT_EQ(entries[3].tick, 99u);
  EXPECT_EQ(entries[3].path, u"  D:\\spaced.txt");  // the line is trimmed, not the path
}

TEST_F(RecentOpensTest, LoadKeepsAtMostTheFirst100) {
  std::string text;
  for (int i = 0; i < 150; ++i) text += std::to_string(i) + "\tC:\\f" + std::to_string(i) + "\n";
  PutConfigFile(u"recent.ini", text);
  list.Load(env);
  const std::vector<RecentOpen> entries = list.Entries();
  ASSERT_EQ(entries.size(), 100u);
  EXPECT_EQ(entries.front().path, u"C:\\f0");
  EXPECT_EQ(entries.back().path, u"C:\\f99");
}

TEST_F(RecentOpensTest, LoadReplacesTheWholeList) {
  list.RecordOpen(env, ItemOn(kVolumeC, 1), u"C:\\recorded.txt");
  PutConfigFile(u"recent.ini", "3\tC:\\from file.txt\n");
  list.Load(env);
  EXPECT_EQ(Paths(), (std::vector<std::u16string>{u"C:\\from file.txt"}));

  files.DeleteFile(RecentFile());
  list.Load(env);
  EXPECT_TRUE(list.Entries().empty());
}

TEST_F(RecentOpensTest, RecordingStampsPutsFirstAndRewritesTheFile) {
  list.RecordOpen(env, ItemOn(kVolumeC, 1), u"C:\\a.txt");
  t.clock.Advance(250);
  list.RecordOpen(env, std::nullopt, u"C:\\b.txt");
  const std::vector<RecentOpen> entries = list.Entries();
  ASSERT_EQ(entries.size(), 2u);
  const uint64_t now = t.clock.TickCount64();
  EXPECT_EQ(entries[0].tick, now);
  EXPECT_EQ(entries[1].tick, now - 250);
  EXPECT_EQ(entries[1].item, ItemOn(kVolumeC, 1));
  EXPECT_EQ(ReadableText(RecentFile()),
            std::to_string(now) + "\tC:\\b.txt\n" + std::to_string(now - 250) + "\tC:\\a.txt\n");
}

TEST_F(RecentOpensTest, OpeningTheSameFileTwiceLeavesOneEntryAtTheFront) {
  list.RecordOpen(env, ItemOn(kVolumeC, 1), u"C:\\a.txt");
  list.RecordOpen(env, ItemOn(kVolumeC, 2), u"C:\\b.txt");
  list.RecordOpen(env, ItemOn(kVolumeC, 1), u"C:\\a.txt");
  EXPECT_EQ(Paths(), (std::vector<std::u16string>{u"C:\\a.txt", u"C:\\b.txt"}));
}

TEST_F(RecentOpensTest, SameFileIsFoundByItemOrByPathIgnoringCaseAndSlashes) {
  PutConfigFile(u"recent.ini", "1\tC:\\Docs\\Report.TXT\n2\tC:\\other.txt\n");
  list.Load(env);
  list.RecordOpen(env, ItemOn(kVolumeC, 7), u"c:/docs/report.txt");  // the file entry has no item
  EXPECT_EQ(Paths(), (std::vector<std::u16string>{u"c:/docs/report.txt", u"C:\\other.txt"}));

  list.RecordOpen(env, ItemOn(kVolumeC, 7), u"C:\\docs\\renamed meanwhile.txt");  // same item, new path
  EXPECT_EQ(Paths(), (std::vector<std::u16string>{u"C:\\docs\\renamed meanwhile.txt", u"C:\\other.txt"}));

  // The same record number on another volume is another file.
  list.RecordOpen(env, ItemOn(kVolumeD, 7), u"D:\\x.txt");
  EXPECT_EQ(list.Entries().size(), 3u);
}

TEST_F(RecentOpensTest, The101stDistinctOpenDropsTheOldest) {
  for (uint64_t i = 0; i < 101; ++i) list.RecordOpen(env, ItemOn(kVolumeC, i), u"C:\\f" + U16(std::to_string(i)));
  const std::vector<RecentOpen> entries = list.Entries();
  ASSERT_EQ(entries.size(), 100u);
  EXPECT_EQ(entries.front().path, u"C:\\f100");
  EXPECT_EQ(entries.back().path, u"C:\\f1");

  list.Load(env);
  EXPECT_EQ(list.Entries().size(), 100u);
}

TEST_F(RecentOpensTest, EmptyPathIsNotRecorded) {
  list.RecordOpen(env, ItemOn(kVolumeC, 1), u"");
  EXPECT_TRUE(list.Entries().empty());
}

TEST_F(RecentOpensTest, EntryTooLongToReadBackIsNotWritten) {
  // "<tick>\t<path>" must fit the reader's 4095 characters, or it would come
  // back with its path cut off.
  const uint64_t tick = t.clock.TickCount64();
  const size_t room = kMaxRecentLineChars - std::to_string(tick).size() - 1;
  const std::u16string fits = u"C:\\" + std::u16string(room - 3, u'f');
  const std::u16string tooLong = u"C:\\" + std::u16string(room - 2, u'g');
  list.RecordOpen(env, std::nullopt, fits);
  list.RecordOpen(env, std::nullopt, tooLong);
  EXPECT_EQ(list.Entries().size(), 2u);
  RecentOpenList reloaded;
  reloaded.Load(env);
  const std::vector<RecentOpen> entries = reloaded.Entries();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].path, fits);
}

TEST_F(RecentOpensTest, ClearLeavesAnEmptyFile) {
  list.RecordOpen(env, std::nullopt, u"C:\\a.txt");
  list.Clear(env);
  EXPECT_TRUE(list.Entries().empty());
  EXPECT_EQ(files.Contents(RecentFile()), "\xEF\xBB\xBF");
}

TEST_F(RecentOpensTest, SavedListLoadsBackWithTicksAndPaths) {
  list.RecordOpen(env, ItemOn(kVolumeC, 1), u"C:\\文档\\报告.docx");
  t.clock.Advance(10);
  list.RecordOpen(env, std::nullopt, u"D:\\b.txt");
  const std::vector<RecentOpen> before = list.Entries();
  RecentOpenList other;
  other.Load(env);
  const std::vector<RecentOpen> after = other.Entries();
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].tick, before[i].tick);
    EXPECT_EQ(after[i].path, before[i].path);
    EXPECT_FALSE(after[i].item);
  }
}

TEST_F(RecentOpensTest, RenameUpdatesEntriesByItemOrOldPath) {
  PutConfigFile(u"recent.ini", "1\tC:\\Old.txt\n2\tC:\\keep.txt\n");
  list.Load(env);
  list.RecordOpen(env, ItemOn(kVolumeD, 4), u"D:\\other.txt");
  EXPECT_TRUE(list.RenameEntries(env, ItemOn(kVolumeC, 9), u"c:/old.TXT", u"C:\\New.txt"));
  const std::vector<RecentOpen> entries = list.Entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1].path, u"C:\\New.txt");
  EXPECT_EQ(entries[1].item, ItemOn(kVolumeC, 9));
  EXPECT_EQ(entries[1].tick, 1u);
  EXPECT_NE(ReadableText(RecentFile()).find("1\tC:\\New.txt\n"), std::string::npos);

  // By item, whatever the path says now.
  EXPECT_TRUE(list.RenameEntries(env, ItemOn(kVolumeD, 4), u"D:\\not what the entry says", u"D:\\renamed.txt"));
  EXPECT_EQ(list.Entries()[0].path, u"D:\\renamed.txt");
}

TEST_F(RecentOpensTest, RenameWithoutMatchWritesNothing) {
  list.RecordOpen(env, ItemOn(kVolumeC, 1), u"C:\\a.txt");
  const uint64_t writes = files.SuccessfulWrites();
  EXPECT_FALSE(list.RenameEntries(env, ItemOn(kVolumeC, 2), u"C:\\b.txt", u"C:\\c.txt"));
  EXPECT_FALSE(list.RenameEntries(env, ItemOn(kVolumeC, 1), u"C:\\a.txt", u""));
  EXPECT_EQ(files.SuccessfulWrites(), writes);
  EXPECT_EQ(Paths(), (std::vector<std::u16string>{u"C:\\a.txt"}));
}

TEST_F(RecentOpensTest, RenameThatMergesTwoEntriesKeepsTheFirst) {
  // An entry from the file for the old path, and a later open of the same
  // item recorded while the file still named it differently.
  PutConfigFile(u"recent.ini", "1\tC:\\a.txt\n");
  list.Load(env);
  list.RecordOpen(env, ItemOn(kVolumeC, 5), u"C:\\b.txt");
  EXPECT_TRUE(list.RenameEntries(env, ItemOn(kVolumeC, 5), u"C:\\a.txt", u"C:\\c.txt"));
  const std::vector<RecentOpen> entries = list.Entries();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].path, u"C:\\c.txt");
  EXPECT_EQ(ReadableText(RecentFile()), std::to_string(entries[0].tick) + "\tC:\\c.txt\n");
}

TEST_F(RecentOpensTest, UnwritableFolderKeepsTheListInMemory) {
  ConfigDirectory(env);
  files.RefuseWritesUnder(kConfigDir);
  list.RecordOpen(env, std::nullopt, u"C:\\a.txt");
  EXPECT_EQ(Paths(), (std::vector<std::u16string>{u"C:\\a.txt"}));
  EXPECT_FALSE(list.Save(env));
  EXPECT_FALSE(files.Exists(RecentFile()));
}

TEST_F(RecentOpensTest, ConcurrentOpensLoadsAndReadsStayConsistent) {
  // Four threads record opens of overlapping files while one loads the file
  // again and again and one reads the list: every read sees at most 100
  // entries without duplicates, and at the end the file holds the list.
  constexpr int kWriters = 4;
  constexpr int kOpensPerWriter = 150;
  std::atomic<bool> stop{false};
  std::atomic<bool> sawBadList{false};
  std::vector<Thread> threads;
  for (int w = 0; w < kWriters; ++w) {
    threads.emplace_back([&, w] {
      for (int i = 0; i < kOpensPerWriter; ++i) {
        const int file = (i * 7 + w * 13) % 120;
        list.RecordOpen(env, ItemOn(kVolumeC, file), u"C:\\f" + U16(std::to_string(file)));
      }
    });
  }
  Thread loader([&] {
    while (!stop) list.Load(env);
  });
  Thread reader([&] {
    while (!stop) {
      const std::vector<RecentOpen> entries = list.Entries();
      std::set<std::u16string> paths;
      for (const auto& e : entries) paths.insert(e.path);
      if (entries.size() > 100 || paths.size() != entries.size()) sawBadList = true;
    }
  });
  for (auto& th : threads) th.join();
  stop = true;
  loader.join();
  reader.join();
  EXPECT_FALSE(sawBadList);

  ASSERT_TRUE(list.Save(env));
  RecentOpenList reloaded;
  reloaded.Load(env);
  const std::vector<RecentOpen> now = list.Entries();
  const std::vector<RecentOpen> fromFile = reloaded.Entries();
  ASSERT_EQ(fromFile.size(), now.size());
  for (size_t i = 0; i < now.size(); ++i) EXPECT_EQ(fromFile[i].path, now[i].path);
}

}  // namespace
}  // namespace quillmor
