#include "platform/sim/memory_file_system.h"

#include <gtest/gtest.h>

#include "platform/sim/manual_clock.h"
#include "platform/thread.h"
#include "platform/win32_constants.h"

namespace quillmor {
namespace {

// No cap: these tests read files whatever their size.
constexpr uint64_t kAnySize = UINT64_MAX;

std::vector<std::u16string> Names(FileSystem& files, std::u16string_view directory) {
  std::vector<std::u16string> names;
  auto lister = files.ListDirectory(directory);
  if (lister == nullptr) return {u"<none>"};
  DirectoryEntry entry;
  while (lister->Next(entry)) names.push_back(entry.name);
  return names;
}

class MemoryFileSystemTest : public ::testing::Test {
 protected:
  MemoryFileSystemTest() : files(&clock) {}
  ManualClock clock;
  MemoryFileSystem files;
};

TEST_F(MemoryFileSystemTest, PathsCompareAsWindowsComparesThem) {
  ASSERT_TRUE(files.CreateDirectory(u"C:\\Data"));
  ASSERT_TRUE(files.WriteFile(u"c:/data//Notes.TXT", "hello"));
  std::string bytes;
  ASSERT_TRUE(files.ReadFile(u"C:\\DATA\\notes.txt", bytes, kAnySize));
  EXPECT_EQ(bytes, "hello");
  EXPECT_TRUE(files.IsDirectory(u"C:\\data\\"));
  EXPECT_EQ(Names(files, u"C:\\Data"), (std::vector<std::u16string>{u".", u"..", u"Notes.TXT"}));
  // Relative paths live in a current directory that always exists.
  ASSERT_TRUE(files.WriteFile(u".\\log.txt", "x"));
  EXPECT_EQ(files.Contents(u"log.txt"), "x");
}

TEST_F(MemoryFileSystemTest, NothingIsCreatedWithoutItsParent) {
  EXPECT_FALSE(files.CreateDirectory(u"C:\\a\\b"));
  EXPECT_FALSE(files.WriteFile(u"C:\\a\\b.txt", "x"));
  EXPECT_FALSE(files.AppendFile(u"C:\\a\\b.txt", "x"));
  EXPECT_TRUE(files.CreateDirectory(u"C:\\a"));
  EXPECT_FALSE(files.CreateDirectory(u"C:\\a"));  // exists
  EXPECT_TRUE(files.CreateDirectory(u"C:\\a\\b"));
  EXPECT_FALSE(files.CreateDirectory(u"C:\\"));
  EXPECT_FALSE(files.WriteFile(u"C:\\a", "x"));      // a directory
  EXPECT_FALSE(files.WriteFile(u"E:\\x.txt", "x"));  // no such drive
}

TEST_F(MemoryFileSystemTest, ListingShowsDirectChildrenWithTheirFacts) {
  files.AddFile(u"C:\\top\\b.bin", "12345");
  files.AddDirectories(u"C:\\top\\A dir\\deeper");
  ASSERT_TRUE(files.SetTimes(u"C:\\top\\b.bin", 111, 222));
  auto lister = files.ListDirectory(u"C:\\top");
  ASSERT_NE(lister, nullptr);
  std::vector<DirectoryEntry> entries;
  DirectoryEntry entry;
  while (lister->Next(entry)) entries.push_back(entry);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[2].name, u"A dir");
  EXPECT_EQ(entries[2].info.attributes, win32::kFileAttributeDirectory);
  EXPECT_EQ(entries[3].name, u"b.bin");
  EXPECT_EQ(entries[3].info.size, 5u);
  EXPECT_EQ(entries[3].info.creationTime, 111u);
  EXPECT_EQ(entries[3].info.lastWriteTime, 222u);
  EXPECT_EQ(Names(files, u"C:\\"), (std::vector<std::u16string>{u"top"}));  // a root has no "." or ".."
  EXPECT_EQ(files.ListDirectory(u"C:\\top\\b.bin"), nullptr);
  EXPECT_EQ(files.ListDirectory(u"C:\\missing"), nullptr);
}

TEST_F(MemoryFileSystemTest, AttributesAndInfo) {
  files.AddFile(u"C:\\f.txt", "abc");
  FileInfo info;
  ASSERT_TRUE(files.GetFileInfo(u"C:\\f.txt", info));
  EXPECT_EQ(info.size, 3u);
  EXPECT_EQ(info.lastWriteTime, clock.UtcNowFileTime());
  EXPECT_EQ(files.GetFileAttributes(u"C:\\f.txt"), win32::kFileAttributeArchive);
  EXPECT_EQ(files.GetFileAttributes(u"C:\\"), win32::kFileAttributeDirectory);
  EXPECT_EQ(files.GetFileAttributes(u"C:\\nope"), win32::kInvalidFileAttributes);

  // A read-only file can be read but not written, appended or deleted.
  ASSERT_TRUE(files.SetAttributes(u"C:\\f.txt", win32::kFileAttributeReadOnly));
  EXPECT_FALSE(files.WriteFile(u"C:\\f.txt", "x"));
  EXPECT_FALSE(files.AppendFile(u"C:\\f.txt", "x"));
  EXPECT_FALSE(files.DeleteFile(u"C:\\f.txt"));
  EXPECT_EQ(files.Contents(u"C:\\f.txt"), "abc");
}

TEST_F(MemoryFileSystemTest, AppendCreatesThenExtends) {
  ASSERT_TRUE(files.AppendFile(u"C:\\log.txt", "a"));
  ASSERT_TRUE(files.AppendFile(u"C:\\log.txt", "b"));
  EXPECT_EQ(files.Contents(u"C:\\log.txt"), "ab");
}

TEST_F(MemoryFileSystemTest, ReplaceMovesInOneStep) {
  files.AddFile(u"C:\\d\\new.tmp", "new");
  files.AddFile(u"C:\\d\\file.bin", "old");
  ASSERT_TRUE(files.ReplaceFile(u"C:\\d\\new.tmp", u"C:\\d\\file.bin"));
  EXPECT_EQ(files.Contents(u"C:\\d\\file.bin"), "new");
  EXPECT_FALSE(files.Exists(u"C:\\d\\new.tmp"));
  EXPECT_FALSE(files.ReplaceFile(u"C:\\d\\new.tmp", u"C:\\d\\file.bin"));  // source gone
  EXPECT_FALSE(files.ReplaceFile(u"C:\\d\\file.bin", u"C:\\nowhere\\file.bin"));
  EXPECT_FALSE(files.ReplaceFile(u"C:\\d\\file.bin", u"C:\\d"));  // a directory
}

TEST_F(MemoryFileSystemTest, DeleteRemovesFilesOnly) {
  files.AddFile(u"C:\\d\\f", "x");
  EXPECT_FALSE(files.DeleteFile(u"C:\\d"));
  EXPECT_TRUE(files.DeleteFile(u"C:\\d\\f"));
  EXPECT_FALSE(files.DeleteFile(u"C:\\d\\f"));
}

TEST_F(MemoryFileSystemTest, OpenForReadSeesASnapshot) {
  files.AddFile(u"C:\\f.bin", "0123456789");
  auto file = files.OpenForRead(u"C:\\f.bin");
  ASSERT_NE(file, nullptr);
  files.AddFile(u"C:\\f.bin", "changed");
  EXPECT_EQ(file->Size(), 10u);
  std::byte buffer[4];
  EXPECT_EQ(file->Read(8, buffer), 2u);
  EXPECT_EQ(static_cast<char>(buffer[0]), '8');
  EXPECT_EQ(file->Read(10, buffer), 0u);
  EXPECT_EQ(file->Read(UINT64_MAX, buffer), 0u);
  const std::span<const std::byte> mapped = file->Map();
  ASSERT_EQ(mapped.size(), 10u);
  EXPECT_EQ(static_cast<char>(mapped[9]), '9');

  files.AddFile(u"C:\\empty", "");
  EXPECT_TRUE(files.OpenForRead(u"C:\\empty")->Map().empty());
  EXPECT_EQ(files.OpenForRead(u"C:\\"), nullptr);
  EXPECT_EQ(files.OpenForRead(u"C:\\missing"), nullptr);
}

TEST_F(MemoryFileSystemTest, RefusedFolderTakesNoWrites) {
  files.AddFile(u"C:\\ro\\f.txt", "keep");
  files.AddFile(u"C:\\rope.txt", "free");
  files.RefuseWritesUnder(u"c:/RO");
  EXPECT_FALSE(files.WriteFile(u"C:\\ro\\f.txt", "x"));
  EXPECT_FALSE(files.WriteFile(u"C:\\ro\\g.txt", "x"));
  EXPECT_FALSE(files.AppendFile(u"C:\\ro\\f.txt", "x"));
  EXPECT_FALSE(files.CreateDirectory(u"C:\\ro\\sub"));
  EXPECT_FALSE(files.DeleteFile(u"C:\\ro\\f.txt"));
  EXPECT_FALSE(files.ReplaceFile(u"C:\\rope.txt", u"C:\\ro\\f.txt"));
  EXPECT_EQ(files.Contents(u"C:\\ro\\f.txt"), "keep");
  EXPECT_TRUE(files.WriteFile(u"C:\\rope.txt", "still free"));  // a prefix of the name is not the folder
  files.ClearFaults();
  EXPECT_TRUE(files.WriteFile(u"C:\\ro\\f.txt", "x"));
}

TEST_F(MemoryFileSystemTest, CutShortFileReadsBackShort) {
  files.AddFile(u"C:\\cache.bin", "0123456789");
  files.CutShortOnRead(u"C:\\cache.bin", 4);
  std::string bytes;
  ASSERT_TRUE(files.ReadFile(u"C:\\cache.bin", bytes, kAnySize));
  EXPECT_EQ(bytes, "0123");
  EXPECT_EQ(files.OpenForRead(u"C:\\cache.bin")->Size(), 4u);
}

TEST_F(MemoryFileSystemTest, FailingWritesLeaveAHalfWrittenFile) {
  files.FailNextWrites(2);
  EXPECT_FALSE(files.WriteFile(u"C:\\f.bin", "12345678"));
  EXPECT_EQ(files.Contents(u"C:\\f.bin"), "1234");
  EXPECT_FALSE(files.AppendFile(u"C:\\f.bin", "x"));
  EXPECT_EQ(files.Contents(u"C:\\f.bin"), "1234");
  EXPECT_TRUE(files.WriteFile(u"C:\\f.bin", "ok"));
  EXPECT_EQ(files.SuccessfulWrites(), 1u);
}

TEST_F(MemoryFileSystemTest, DrivesComeAndGo) {
  EXPECT_EQ(files.LogicalDrives(), 1u << 2);
  files.AddDrive(u'e', win32::kDriveRemovable, VolumeInformation{u"exFAT", 7, 255, 0});
  EXPECT_EQ(files.LogicalDrives(), (1u << 2) | (1u << 4));
  EXPECT_EQ(files.DriveType(u"E:\\"), win32::kDriveRemovable);
  VolumeInformation info;
  ASSERT_TRUE(files.GetVolumeInformation(u"e:\\", info));
  EXPECT_EQ(info.fileSystemName, u"exFAT");

  files.AddFile(u"E:\\photos\\a.jpg", "jpg");
  files.RemoveDrive(u'E');
  EXPECT_EQ(files.DriveType(u"E:\\"), win32::kDriveNoRootDir);
  EXPECT_FALSE(files.GetVolumeInformation(u"E:\\", info));
  EXPECT_EQ(files.GetFileAttributes(u"E:\\photos\\a.jpg"), win32::kInvalidFileAttributes);
  EXPECT_EQ(files.ListDirectory(u"E:\\photos"), nullptr);
  files.AddDrive(u'E', win32::kDriveRemovable, VolumeInformation{u"exFAT", 7, 255, 0});
  EXPECT_EQ(files.Contents(u"E:\\photos\\a.jpg"), "jpg");
}

TEST_F(MemoryFileSystemTest, ConcurrentWritersAndReaders) {
  files.AddDirectories(u"C:\\d");
  std::vector<Thread> threads;
  for (int w = 0; w < 4; ++w) {
    threads.emplace_back([&, w] {
      const std::u16string path = u"C:\\d\\" + std::u16string(1, static_cast<char16_t>(u'a' + w));
      for (int i = 0; i < 200; ++i) {
        files.AppendFile(u"C:\\d\\shared.log", "line\n");
        files.WriteFile(path, std::string(static_cast<size_t>(i), 'x'));
        std::string bytes;
        files.ReadFile(path, bytes, kAnySize);
        Names(files, u"C:\\d");
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(files.Contents(u"C:\\d\\shared.log")->size(), 4u * 200u * 5u);
}

}  // namespace
}  // namespace quillmor
