#include "tools/directory_drives.h"

#include <gtest/gtest.h>

#include "platform/sim/memory_file_system.h"
#include "platform/win32_constants.h"

namespace quillmor {
namespace {

// No cap: these tests read files whatever their size.
constexpr uint64_t kAnySize = UINT64_MAX;

TEST(DirectoryDrivesTest, MapsLettersOntoDirectoriesAndOnlyThoseExist) {
  MemoryFileSystem memory;
  memory.AddFile(u"C:\\data\\sub\\a.txt", "abc");
  DirectoryDrives drives(memory);
  ASSERT_TRUE(drives.Map(u'e', u"C:\\data\\"));
  EXPECT_EQ(drives.LogicalDrives(), 1u << 4);
  EXPECT_EQ(drives.DriveType(u"E:\\"), win32::kDriveFixed);
  EXPECT_EQ(drives.DriveType(u"C:\\"), win32::kDriveNoRootDir);

  VolumeInformation info;
  ASSERT_TRUE(drives.GetVolumeInformation(u"E:\\", info));
  EXPECT_NE(info.fileSystemName, u"NTFS");  // walked, never opened as a volume

  std::string bytes;
  ASSERT_TRUE(drives.ReadFile(u"E:\\sub\\a.txt", bytes, kAnySize));
  EXPECT_EQ(bytes, "abc");
  EXPECT_NE(drives.GetFileAttributes(u"e:\\SUB") & win32::kFileAttributeDirectory, 0u);
  EXPECT_NE(drives.ListDirectory(u"E:"), nullptr);
  // Other paths pass through.
  EXPECT_TRUE(drives.ReadFile(u"C:\\data\\sub\\a.txt", bytes, kAnySize));

  // A pattern longer than MAX_PATH is refused, as FindFirstFileW refuses it.
  EXPECT_EQ(drives.ListDirectory(u"E:\\" + std::u16string(256, u'x')), nullptr);
  EXPECT_FALSE(drives.Map(u'1', u"C:\\"));
}

}  // namespace
}  // namespace quillmor
