#include "index/directory_walk.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/shutdown.h"
#include "platform/sim/memory_file_system.h"
#include "platform/sim/test_env.h"
#include "platform/win32_constants.h"

namespace quillmor {
namespace {

class DirectoryWalkTest : public ::testing::Test {
 protected:
  DirectoryWalkTest() {
    g_shutdown = false;
    files.AddDrive(u'E', win32::kDriveRemovable, VolumeInformation{u"exFAT", 1, 255, 0});
    t.env.files = &files;
  }

  struct Row {
    uint64_t ref, parent;
    std::u16string name;
    uint32_t directory;
    bool operator==(const Row&) const = default;
  };
  std::vector<Row> Rows() {
    std::shared_lock lock(volume.recordsLock);
    std::vector<Row> rows;
    for (size_t i = 0; i < volume.records.size(); ++i) {
      const FileRecord& r = volume.records[i];
      rows.push_back({r.fileRef, r.parentRef, std::u16string(r.name, r.nameLength), r.isDirectory});
    }
    return rows;
  }

  TestEnv t;
  MemoryFileSystem files{&t.clock};
  VolumeIndex volume{t.env};
};

TEST_F(DirectoryWalkTest, RecordsEntriesDepthFirstWithMadeUpReferences) {
  files.AddFile(u"E:\\a\\b.txt", "b");
  ASSERT_TRUE(IndexByWalk(volume, u"E:", u"exFAT"));
  EXPECT_EQ(Rows(), (std::vector<Row>{{0x100000, kWalkRootRef, u"a", 1}, {0x100001, 0x100000, u"b.txt", 0}}));
  EXPECT_EQ(volume.GetFullPath(1), u"E:\\a\\b.txt");
  EXPECT_EQ(volume.fileSystem, u"exFAT");
  EXPECT_EQ(volume.available, 1);
  EXPECT_EQ(volume.busy, 0);
  EXPECT_EQ(volume.builtByWalk, 1);
  EXPECT_EQ(volume.records[1].nameMayHoldCjk, 0u);

  // A rebuild starts the references again at 0x100000.
  files.AddFile(u"E:\\年度报告.txt", "c");
  ASSERT_TRUE(IndexByWalk(volume, u"E:", u"exFAT"));
  EXPECT_EQ(Rows().front().ref, 0x100000u);
  EXPECT_EQ(Rows().size(), 3u);
  for (size_t i = 0; i < volume.records.size(); ++i) {
    const bool chinese = volume.records[i].name[0] == u'年';
    EXPECT_EQ(volume.records[i].nameMayHoldCjk, chinese ? 1u : 0u) << i;
  }
}

TEST_F(DirectoryWalkTest, EmptyOrUnreadableDriveIsNotAvailable) {
  EXPECT_FALSE(IndexByWalk(volume, u"E:", u"exFAT"));
  EXPECT_EQ(volume.available, 0);
  EXPECT_FALSE(IndexByWalk(volume, u"Q:", u"FAT32"));  // no such drive
  EXPECT_EQ(volume.available, 0);
}

TEST_F(DirectoryWalkTest, HiddenAndSystemEntriesAreIndexed) {
  files.AddFile(u"E:\\System Volume Information\\tracking.log", "x");
  files.SetAttributes(u"E:\\System Volume Information",
                      win32::kFileAttributeDirectory | win32::kFileAttributeHidden | win32::kFileAttributeSystem);
  ASSERT_TRUE(IndexByWalk(volume, u"E:", u"exFAT"));
  EXPECT_EQ(volume.GetFullPath(1), u"E:\\System Volume Information\\tracking.log");
}

TEST_F(DirectoryWalkTest, DepthLimitListsLevel129ButNotItsContents) {
  // 131 nested directories. The top level is listed by the call at depth 0,
  // so the call at depth 128 lists the 129th level, which is not entered.
  std::u16string path = u"E:";
  for (int level = 0; level <= 130; ++level) path += u"\\d";
  files.AddDirectories(path);
  ASSERT_TRUE(IndexByWalk(volume, u"E:", u"exFAT"));
  std::shared_lock lock(volume.recordsLock);
  EXPECT_EQ(volume.records.size(), 129u);
}

// Two folders that each hold two links to the other used to make the walk
// double at every level until the path limit: it never ended, holding the
// records lock all the while.
TEST_F(DirectoryWalkTest, DirectoryLinksThatFanOutAreWalkedAtMostTwice) {
  for (const char16_t* link : {u"E:\\A\\x", u"E:\\A\\y"}) files.AddDirectoryLink(link, u"E:\\B");
  for (const char16_t* link : {u"E:\\B\\x", u"E:\\B\\y"}) files.AddDirectoryLink(link, u"E:\\A");
  ASSERT_TRUE(IndexByWalk(volume, u"E:", u"exFAT"));

  // A\x is the first way into B, so B is walked there; the other links lead
  // to folders already entered. B itself, a real folder, is walked again.
  std::vector<std::u16string> paths;
  for (size_t i = 0; i < volume.records.size(); ++i) paths.push_back(volume.GetFullPath(i));
  EXPECT_EQ(paths, (std::vector<std::u16string>{u"E:\\A", u"E:\\A\\x", u"E:\\A\\x\\x", u"E:\\A\\x\\y", u"E:\\A\\y",
                                                u"E:\\B", u"E:\\B\\x", u"E:\\B\\y"}));
  EXPECT_EQ(volume.available, 1);
}

TEST_F(DirectoryWalkTest, LinksLeadIntoFoldersNotYetWalkedAndRealFoldersAlwaysCount) {
  files.AddFile(u"E:\\data\\deep\\file.txt", "f");
  files.AddDirectoryLink(u"E:\\a-link", u"E:\\data");         // listed before data: the first way in
  files.AddDirectoryLink(u"E:\\data\\up", u"E:\\");           // an ancestor: never entered
  files.AddDirectoryLink(u"E:\\data\\self", u"E:\\data");     // itself: never entered
  files.AddDirectoryLink(u"E:\\data\\gone", u"E:\\missing");  // a dangling link is just a name
  ASSERT_TRUE(IndexByWalk(volume, u"E:", u"exFAT"));

  std::vector<std::u16string> paths;
  for (size_t i = 0; i < volume.records.size(); ++i) paths.push_back(volume.GetFullPath(i));
  const std::vector<std::u16string> inData = {u"deep", u"deep\\file.txt", u"gone", u"self", u"up"};
  std::vector<std::u16string> expected = {u"E:\\a-link"};
  for (const auto& p : inData) expected.push_back(u"E:\\a-link\\" + p);
  expected.push_back(u"E:\\data");
  for (const auto& p : inData) expected.push_back(u"E:\\data\\" + p);
  EXPECT_EQ(paths, expected);
}

TEST_F(DirectoryWalkTest, ShutdownEndsTheWalkKeepingWhatWasFound) {
  for (int i = 0; i < 50; ++i)
    files.AddFile(u"E:\\f" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + std::u16string(i / 26 + 1, u'x'),
                  "");
  BeginShutdown();
  IndexByWalk(volume, u"E:", u"exFAT");
  g_shutdown = false;
  std::shared_lock lock(volume.recordsLock);
  EXPECT_LE(volume.records.size(), 1u);
}

}  // namespace
}  // namespace quillmor
