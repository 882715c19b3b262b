#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <map>
#include <vector>

#include "platform/sim/test_env.h"
#include "platform/utf.h"
#include "platform/win32_constants.h"
#include "settings/config_directory.h"
#include "tests/scratch_directory.h"

namespace quillmor {
namespace {

// No cap: these tests read files whatever their size.
constexpr uint64_t kAnySize = UINT64_MAX;

using namespace win32;

constexpr uint32_t kReparsePoint = 0x400;
constexpr int64_t kUnixEpochSeconds = 11'644'473'600;

struct FileDescriptorCloser {
  explicit FileDescriptorCloser(int fd) : fd(fd) {}
  ~FileDescriptorCloser() {
    if (fd >= 0) ::close(fd);
  }
  int fd;
};

uint64_t FileTimeOf(const timespec& ts) {
  return static_cast<uint64_t>(ts.tv_sec + kUnixEpochSeconds) * 10'000'000 + static_cast<uint64_t>(ts.tv_nsec) / 100;
}

// A real temporary tree served as drive E:.
class PosixFileSystemTest : public ::testing::Test {
 protected:
  PosixFileSystemTest() { fs.MapDrive(u'E', root); }

  void Write(const std::string& relative, std::string_view content) {
    std::ofstream(root + "/" + relative, std::ios::binary) << content;
  }
  void MakeDirectory(const std::string& relative) { ASSERT_EQ(::mkdir((root + "/" + relative).c_str(), 0777), 0); }
  std::string Read(const std::string& relative) {
    std::string bytes;
    EXPECT_TRUE(fs.ReadFile(U16("E:\\" + relative), bytes, kAnySize));
    return bytes;
  }

  std::map<std::u16string, FileInfo> List(std::u16string_view directory, std::vector<std::u16string>* order = nullptr) {
    std::map<std::u16string, FileInfo> entries;
    auto lister = fs.ListDirectory(directory);
    EXPECT_NE(lister, nullptr);
    if (lister == nullptr) return entries;
    DirectoryEntry entry;
    while (lister->Next(entry)) {
      entries[entry.name] = entry.info;
      if (order != nullptr) order->push_back(entry.name);
    }
    return entries;
  }

  ScratchDirectory scratch{"quillmor-fs"};
  const std::string root = scratch.path().string();
  PosixFileSystem fs;
};

TEST_F(PosixFileSystemTest, WindowsPathsMapOntoTheDriveDirectory) {
  struct Case {
    std::u16string path;
    std::string native;
  };
  const Case cases[] = {
      {u"E:\\a\\b.txt", root + "/a/b.txt"},
      {u"e:\\a", root + "/a"},  // drive letters ignore case
      {u"E:", root},
      {u"E:\\", root},
      {u"E:/a/b", root + "/a/b"},
      {u"E:\\a\\", root + "/a/"},  // a trailing separator stays: "file\" must not name a file
      {u"E:\\.\\a\\.\\b", root + "/a/b"},
      {u"E:\\a\\..\\..\\..\\b", root + "/b"},  // ".." never leaves the drive
      {u"\\\\?\\E:\\a", root + "/a"},
      {u"E:\\\u4e2d\u6587.txt", root + "/\xe4\xb8\xad\xe6\x96\x87.txt"},
      {u"/home/u/Documents\\Quillmor\\config", "/home/u/Documents/Quillmor/config"},
      {u".\\Quillmor_gdi.log", "./Quillmor_gdi.log"},
  };
  for (const Case& c : cases) {
    std::string native;
    ASSERT_TRUE(fs.NativePath(c.path, native)) << Utf16ToUtf8(c.path);
    EXPECT_EQ(native, c.native) << Utf16ToUtf8(c.path);
  }
  std::string native;
  EXPECT_FALSE(fs.NativePath(u"F:\\a", native));
  EXPECT_FALSE(fs.NativePath(u"F:", native));
}

TEST_F(PosixFileSystemTest, DriveMappedOntoTheRootDirectory) {
  fs.MapDrive(u'R', "/");
  std::string native;
  ASSERT_TRUE(fs.NativePath(u"R:\\usr\\..\\..\\etc", native));
  EXPECT_EQ(native, "/etc");
  ASSERT_TRUE(fs.NativePath(u"R:\\", native));
  EXPECT_EQ(native, "/");
}

TEST_F(PosixFileSystemTest, DrivesShowMappedLettersOnly) {
  ASSERT_TRUE(fs.MapDrive(u'c', root + "/", u"NTFS"));
  EXPECT_FALSE(fs.MapDrive(u'1', root));
  EXPECT_EQ(fs.LogicalDrives(), (1u << 2) | (1u << 4));

  EXPECT_EQ(fs.DriveType(u"E:\\"), kDriveFixed);
  EXPECT_EQ(fs.DriveType(u"C:\\"), kDriveFixed);
  EXPECT_EQ(fs.DriveType(u"F:\\"), kDriveNoRootDir);
  EXPECT_EQ(fs.DriveType(u"E:\\a"), kDriveNoRootDir);  // not a root

  VolumeInformation info;
  ASSERT_TRUE(fs.GetVolumeInformation(u"E:\\", info));
  EXPECT_EQ(info.fileSystemName, u"ext4");
  EXPECT_GT(info.maximumComponentLength, 0u);
  ASSERT_TRUE(fs.GetVolumeInformation(u"C:\\", info));
  EXPECT_EQ(info.fileSystemName, u"NTFS");
  EXPECT_FALSE(fs.GetVolumeInformation(u"F:\\", info));

  fs.UnmapDrive(u'C');
  EXPECT_EQ(fs.LogicalDrives(), 1u << 4);
  EXPECT_EQ(fs.GetFileAttributes(u"C:\\"), kInvalidFileAttributes);
}

// A letter whose directory went away answers as a drive without media:
// it is still listed, but its root does not answer.
TEST_F(PosixFileSystemTest, VanishedDriveDirectoryIsADriveWithoutMedia) {
  fs.MapDrive(u'G', root + "/gone");
  VolumeInformation info;
  EXPECT_EQ(fs.LogicalDrives() & (1u << 6), 1u << 6);
  EXPECT_FALSE(fs.GetVolumeInformation(u"G:\\", info));
  EXPECT_EQ(fs.GetFileAttributes(u"G:\\"), kInvalidFileAttributes);
  EXPECT_EQ(fs.ListDirectory(u"G:"), nullptr);
}

TEST_F(PosixFileSystemTest, ListingsLookLikeFindFirstFile) {
  MakeDirectory("a");
  Write("a/b.txt", "hello");
  Write("Zeta.txt", "123456789");
  Write("alpha", "");
  ASSERT_EQ(::symlink((root + "/a").c_str(), (root + "/dirlink").c_str()), 0);
  ASSERT_EQ(::symlink((root + "/Zeta.txt").c_str(), (root + "/filelink").c_str()), 0);
  ASSERT_EQ(::symlink((root + "/nowhere").c_str(), (root + "/broken").c_str()), 0);

  // The drive's root has no "." or ".."; names come in NTFS order.
  std::vector<std::u16string> order;
  auto top = List(u"E:", &order);
  EXPECT_EQ(order, (std::vector<std::u16string>{u"a", u"alpha", u"broken", u"dirlink", u"filelink", u"Zeta.txt"}));
  EXPECT_EQ(top[u"a"].attributes, kFileAttributeDirectory);
  EXPECT_EQ(top[u"a"].size, 0u);
  EXPECT_EQ(top[u"Zeta.txt"].attributes, kFileAttributeArchive);
  EXPECT_EQ(top[u"Zeta.txt"].size, 9u);
  EXPECT_EQ(top[u"alpha"].size, 0u);
  // Symbolic links are described as Windows describes junctions and links.
  EXPECT_EQ(top[u"dirlink"].attributes, kFileAttributeDirectory | kReparsePoint);
  EXPECT_EQ(top[u"filelink"].attributes, kFileAttributeArchive | kReparsePoint);
  EXPECT_EQ(top[u"broken"].attributes, kFileAttributeArchive | kReparsePoint);
  EXPECT_EQ(List(u"E:\\").size(), top.size());

  order.clear();
  auto inner = List(u"E:\\a", &order);
  EXPECT_EQ(order, (std::vector<std::u16string>{u".", u"..", u"b.txt"}));
  EXPECT_EQ(inner[u"."].attributes, kFileAttributeDirectory);
  EXPECT_EQ(inner[u".."].attributes, kFileAttributeDirectory);
  EXPECT_EQ(inner[u"b.txt"].size, 5u);

  // Through the link, the same contents.
  EXPECT_EQ(List(u"E:\\dirlink").count(u"b.txt"), 1u);
}

TEST_F(PosixFileSystemTest, SizesAndTimesAgreeWithStat) {
  Write("t.bin", std::string(70000, 'x'));
  const std::string path = root + "/t.bin";
  // 2021-03-04 05:06:07.1234567 UTC.
  const timespec times[2] = {{1614834367, 123456700}, {1614834367, 123456700}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

  struct statx sx {};
  ASSERT_EQ(::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx), 0);
  const uint64_t creation =
      (sx.stx_mask & STATX_BTIME) != 0 ? FileTimeOf({sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec}) : 0;

  FileInfo info;
  ASSERT_TRUE(fs.GetFileInfo(u"E:\\t.bin", info));
  EXPECT_EQ(info.size, 70000u);
  EXPECT_EQ(info.lastWriteTime, 132593079671234567ull);
  EXPECT_EQ(info.creationTime, creation);
  EXPECT_EQ(info.attributes, kFileAttributeArchive);

  auto listed = List(u"E:");
  EXPECT_EQ(listed[u"t.bin"].size, info.size);
  EXPECT_EQ(listed[u"t.bin"].lastWriteTime, info.lastWriteTime);
  EXPECT_EQ(listed[u"t.bin"].creationTime, info.creationTime);
}

// --long showed 1970-01-01 00:00, or the last metadata change, as a file's
// creation time. A file system that records births gives the birth time
// (here: between just before and just after the file was made); one that
// records none (/proc) gives 0, shown as "-".
TEST_F(PosixFileSystemTest, CreationTimeIsTheBirthTimeOrNone) {
  timespec before{}, after{};
  ASSERT_EQ(::clock_gettime(CLOCK_REALTIME, &before), 0);
  Write("born.txt", "x");
  ASSERT_EQ(::clock_gettime(CLOCK_REALTIME, &after), 0);
  struct statx sx {};
  ASSERT_EQ(::statx(AT_FDCWD, (root + "/born.txt").c_str(), 0, STATX_BTIME, &sx), 0);
  FileInfo info;
  ASSERT_TRUE(fs.GetFileInfo(u"E:\\born.txt", info));
  if ((sx.stx_mask & STATX_BTIME) != 0) {
    // File-system clocks are coarse: they may lag the real-time clock a little.
    EXPECT_GE(info.creationTime + 10'000'000, FileTimeOf(before));
    EXPECT_LE(info.creationTime, FileTimeOf(after));
  }

  ASSERT_TRUE(fs.MapDrive(u'P', "/proc"));
  ASSERT_EQ(::statx(AT_FDCWD, "/proc/version", 0, STATX_BTIME, &sx), 0);
  if ((sx.stx_mask & STATX_BTIME) != 0) GTEST_SKIP() << "this /proc records birth times";
  ASSERT_TRUE(fs.GetFileInfo(u"P:\\version", info));
  EXPECT_EQ(info.creationTime, 0u);
  EXPECT_NE(info.lastWriteTime, 0u);
  EXPECT_EQ(List(u"P:")[u"version"].creationTime, 0u);
}

// Names are bytes on POSIX. "r\xffport.txt", "r\xfeport.txt" and
// "r\u{FFFD}port.txt" all became "r\u{FFFD}port.txt", so every path reached
// the third file. Each byte outside valid UTF-8 is now the lone surrogate
// U+DC80 + byte, and back.
TEST_F(PosixFileSystemTest, NamesThatAreNotUtf8MapToTheirOwnFiles) {
  const std::string names[] = {"r\xffport.txt", "r\xfeport.txt", "r\xef\xbf\xbdport.txt", "\xc3(\x80\xe4\xb8.txt"};
  for (const std::string& name : names) Write(name, "content of " + name);

  const auto listed = List(u"E:");
  const std::u16string expected[] = {u"r\xDCFFport.txt", u"r\xDCFEport.txt", u"r\uFFFDport.txt",
                                     u"\xDCC3(\xDC80\xDCE4\xDCB8.txt"};
  for (size_t i = 0; i < std::size(names); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(listed.count(expected[i]), 1u);
    std::string bytes;
    ASSERT_TRUE(fs.ReadFile(u"E:\\" + expected[i], bytes, kAnySize));
    EXPECT_EQ(bytes, "content of " + names[i]);
    auto file = fs.OpenForRead(u"E:\\" + expected[i]);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Size(), bytes.size());
  }
  EXPECT_EQ(listed.size(), std::size(names));
}

// A settings file that is a link to /dev/zero took all memory; a FIFO blocked
// the reader in open() until some writer came. Whole-file reads take regular
// files of at most the cap, and refuse the rest at once.
TEST_F(PosixFileSystemTest, WholeFileReadsAreCappedAndTakeRegularFilesOnly) {
  Write("small.ini", std::string(100, 's'));
  std::string bytes;
  EXPECT_TRUE(fs.ReadFile(u"E:\\small.ini", bytes, 100));
  EXPECT_EQ(bytes.size(), 100u);
  EXPECT_FALSE(fs.ReadFile(u"E:\\small.ini", bytes, 99));

  ASSERT_EQ(::symlink("/dev/zero", (root + "/zero.ini").c_str()), 0);
  ASSERT_EQ(::symlink("small.ini", (root + "/link.ini").c_str()), 0);
  ASSERT_EQ(::mkfifo((root + "/fifo.ini").c_str(), 0600), 0);
  EXPECT_FALSE(fs.ReadFile(u"E:\\zero.ini", bytes, kAnySize));
  EXPECT_TRUE(fs.ReadFile(u"E:\\link.ini", bytes, 100));  // a link to a regular file is read

  // Read on another thread, so that a reader that waits for a writer fails
  // the test instead of hanging it.
  auto fifo = std::async(std::launch::async, [this] {
    std::string ignored;
    return fs.ReadFile(u"E:\\fifo.ini", ignored, kAnySize);
  });
  if (fifo.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
    ADD_FAILURE() << "reading a FIFO waits for a writer";
    FileDescriptorCloser writer(::open((root + "/fifo.ini").c_str(), O_WRONLY | O_NONBLOCK));
  }
  EXPECT_FALSE(fifo.get());
}

// As FindFirstFileW without a long-path prefix: "dir\\*" must fit in
// MAX_PATH (259 characters and the NUL), however deep the real tree goes.
TEST_F(PosixFileSystemTest, ListingStopsAtMaxPath) {
  const std::string name(50, 'n');
  std::string relative;
  std::u16string directory = u"E:";
  for (int level = 0; level < 4; ++level) {
    relative += "/" + name;
    directory += u"\\" + U16(name);
    MakeDirectory(relative);
  }
  MakeDirectory(relative + "/" + name);
  MakeDirectory(relative + "/" + name + "x");
  EXPECT_NE(fs.ListDirectory(directory + u"\\" + U16(name)), nullptr);  // 257 + "\\*" is 259
  const std::u16string tooLong = directory + u"\\" + U16(name) + u"x";
  EXPECT_EQ(fs.ListDirectory(tooLong), nullptr);
  EXPECT_EQ(fs.ListDirectory(tooLong + u"\\"), nullptr);
  EXPECT_EQ(fs.GetFileAttributes(tooLong), kFileAttributeDirectory);  // the path itself still answers
}

TEST_F(PosixFileSystemTest, AttributesOfRootsFilesAndMissingPaths) {
  MakeDirectory("d");
  Write("f.txt", "x");
  Write("ro.txt", "x");
  ASSERT_EQ(::chmod((root + "/ro.txt").c_str(), 0444), 0);

  EXPECT_EQ(fs.GetFileAttributes(u"E:\\"), kFileAttributeDirectory);
  EXPECT_EQ(fs.GetFileAttributes(u"E:\\d"), kFileAttributeDirectory);
  EXPECT_EQ(fs.GetFileAttributes(u"E:\\f.txt"), kFileAttributeArchive);
  EXPECT_EQ(fs.GetFileAttributes(u"E:\\ro.txt"), kFileAttributeArchive | kFileAttributeReadOnly);
  EXPECT_EQ(fs.GetFileAttributes(u"E:\\missing"), kInvalidFileAttributes);
  EXPECT_EQ(fs.GetFileAttributes(u"E:\\f.txt\\"), kInvalidFileAttributes);
  EXPECT_EQ(fs.GetFileAttributes(u"F:\\"), kInvalidFileAttributes);
  FileInfo info;
  EXPECT_FALSE(fs.GetFileInfo(u"E:\\missing\\deeper", info));

  EXPECT_EQ(fs.ListDirectory(u"E:\\missing"), nullptr);
  EXPECT_EQ(fs.ListDirectory(u"E:\\f.txt"), nullptr);
  EXPECT_EQ(fs.ListDirectory(u"F:"), nullptr);
}

TEST_F(PosixFileSystemTest, WholeFileWritesReadsAndAppends) {
  EXPECT_TRUE(fs.WriteFile(u"E:\\w.txt", "first"));
  EXPECT_EQ(Read("w.txt"), "first");
  EXPECT_TRUE(fs.WriteFile(u"E:\\w.txt", "2nd"));  // truncates
  EXPECT_EQ(Read("w.txt"), "2nd");
  EXPECT_TRUE(fs.AppendFile(u"E:\\w.txt", "+more"));
  EXPECT_EQ(Read("w.txt"), "2nd+more");
  EXPECT_TRUE(fs.AppendFile(u"E:\\new.log", "line\n"));  // creates
  EXPECT_EQ(Read("new.log"), "line\n");
  std::string big(300000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  EXPECT_TRUE(fs.WriteFile(u"E:\\big.bin", big));
  EXPECT_EQ(Read("big.bin"), big);

  std::string bytes = "untouched";
  EXPECT_FALSE(fs.ReadFile(u"E:\\missing.txt", bytes, kAnySize));
  EXPECT_FALSE(fs.ReadFile(u"E:\\", bytes, kAnySize));
  EXPECT_FALSE(fs.WriteFile(u"E:\\no\\such\\dir.txt", "x"));
  EXPECT_FALSE(fs.AppendFile(u"F:\\x.txt", "x"));
}

TEST_F(PosixFileSystemTest, ReplaceFileSwapsContentInOneStep) {
  Write("settings.ini", "old");
  Write("settings.tmp", "new");
  // A reader that opened the old file before the swap keeps seeing it whole.
  auto reader = fs.OpenForRead(u"E:\\settings.ini");
  ASSERT_NE(reader, nullptr);

  ASSERT_TRUE(fs.ReplaceFile(u"E:\\settings.tmp", u"E:\\settings.ini"));
  EXPECT_EQ(Read("settings.ini"), "new");
  EXPECT_EQ(fs.GetFileAttributes(u"E:\\settings.tmp"), kInvalidFileAttributes);
  std::byte old[8];
  ASSERT_EQ(reader->Read(0, old), 3u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(old), 3), "old");

  // A missing source leaves the target alone.
  EXPECT_FALSE(fs.ReplaceFile(u"E:\\settings.tmp", u"E:\\settings.ini"));
  EXPECT_EQ(Read("settings.ini"), "new");
  // Into a missing target: a plain rename.
  Write("a.tmp", "a");
  EXPECT_TRUE(fs.ReplaceFile(u"E:\\a.tmp", u"E:\\a.ini"));
  EXPECT_EQ(Read("a.ini"), "a");
}

TEST_F(PosixFileSystemTest, DeleteFileAndCreateDirectory) {
  Write("gone.txt", "x");
  EXPECT_TRUE(fs.DeleteFile(u"E:\\gone.txt"));
  EXPECT_FALSE(fs.DeleteFile(u"E:\\gone.txt"));

  EXPECT_TRUE(fs.CreateDirectory(u"E:\\newdir"));
  EXPECT_FALSE(fs.CreateDirectory(u"E:\\newdir"));  // exists
  EXPECT_EQ(fs.GetFileAttributes(u"E:\\newdir"), kFileAttributeDirectory);
  EXPECT_FALSE(fs.DeleteFile(u"E:\\newdir"));  // DeleteFileW refuses directories
  EXPECT_FALSE(fs.CreateDirectory(u"E:\\missing\\child"));
}

TEST_F(PosixFileSystemTest, OpenForReadReadsAndMaps) {
  std::string content(100000, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>('a' + i % 26);
  Write("c.txt", content);
  auto file = fs.OpenForRead(u"E:\\c.txt");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Size(), content.size());

  std::byte buffer[10];
  ASSERT_EQ(file->Read(26 * 3 + 2, buffer), 10u);
  EXPECT_EQ(std::to_integer<char>(buffer[0]), 'c');
  EXPECT_EQ(file->Read(content.size() - 4, buffer), 4u);  // short at the end
  EXPECT_EQ(file->Read(content.size() + 100, buffer), 0u);

  std::span<const std::byte> mapped = file->Map();
  ASSERT_EQ(mapped.size(), content.size());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(mapped.data()), mapped.size()), content);
  EXPECT_EQ(file->Map().data(), mapped.data());  // one mapping for the file's life

  Write("empty.txt", "");
  auto empty = fs.OpenForRead(u"E:\\empty.txt");
  ASSERT_NE(empty, nullptr);
  EXPECT_TRUE(empty->Map().empty());

  EXPECT_EQ(fs.OpenForRead(u"E:\\missing.txt"), nullptr);
  EXPECT_EQ(fs.OpenForRead(u"E:\\"), nullptr);
}

// A FIFO named pipe.txt blocked a content-search worker in open() forever,
// and a device such as /dev/zero never ends: only regular files are opened.
TEST_F(PosixFileSystemTest, SpecialFilesAreNotOpenedForReading) {
  ASSERT_EQ(::mkfifo((root + "/pipe.txt").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", (root + "/zero.txt").c_str()), 0);
  Write("real.txt", "secret");
  EXPECT_EQ(fs.OpenForRead(u"E:\\pipe.txt"), nullptr);
  EXPECT_EQ(fs.OpenForRead(u"E:\\zero.txt"), nullptr);
  EXPECT_EQ(fs.OpenForRead(u"/dev/null"), nullptr);
  auto real = fs.OpenForRead(u"E:\\real.txt");
  ASSERT_NE(real, nullptr);
  EXPECT_EQ(real->Map().size(), 6u);
}

// Directory links are followed; the walk tells where they lead by identity.
TEST_F(PosixFileSystemTest, ListingsTellWhichDirectoryTheyList) {
  MakeDirectory("a");
  MakeDirectory("b");
  ASSERT_EQ(::symlink((root + "/a").c_str(), (root + "/b/to-a").c_str()), 0);
  ASSERT_EQ(::symlink(".", (root + "/a/self").c_str()), 0);
  const auto identity = [&](std::u16string_view path) {
    DirectoryIdentity id;
    auto lister = fs.ListDirectory(path);
    EXPECT_NE(lister, nullptr) << Utf16ToUtf8(path);
    EXPECT_TRUE(lister != nullptr && lister->Identity(id)) << Utf16ToUtf8(path);
    return id;
  };
  struct stat st {};
  ASSERT_EQ(::stat((root + "/a").c_str(), &st), 0);
  EXPECT_EQ(identity(u"E:\\a"),
            (DirectoryIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)}));
  EXPECT_EQ(identity(u"E:\\b\\to-a"), identity(u"E:\\a"));
  EXPECT_EQ(identity(u"E:\\a\\self"), identity(u"E:\\a"));  // listed now; the walk decides
  EXPECT_NE(identity(u"E:\\b"), identity(u"E:\\a"));
  EXPECT_NE(identity(u"E:"), identity(u"E:\\a"));
}

// With a plain mmap, a file cut short by another process raises SIGBUS in
// the reader of the mapping.
TEST_F(PosixFileSystemTest, MappedFileSurvivesTruncationByAnotherWriter) {
  Write("log.txt", std::string(1 << 20, 'L'));
  auto file = fs.OpenForRead(u"E:\\log.txt");
  ASSERT_NE(file, nullptr);
  std::span<const std::byte> mapped = file->Map();
  ASSERT_EQ(mapped.size(), 1u << 20);
  ASSERT_EQ(::truncate((root + "/log.txt").c_str(), 0), 0);
  size_t count = 0;
  for (std::byte b : mapped) count += b == std::byte{'L'};
  EXPECT_EQ(count, 1u << 20);
}

TEST_F(PosixFileSystemTest, ConfigurationDirectoryOnPosixPaths) {
  MakeDirectory("home");
  TestEnv t;
  t.env.files = &fs;
  t.system.documents = U16(root + "/home");
  EXPECT_EQ(ConfigDirectory(t.env), U16(root + "/home\\Quillmor\\config"));
  EXPECT_EQ(fs.GetFileAttributes(U16(root + "/home/Quillmor/config")), kFileAttributeDirectory);
}

}  // namespace
}  // namespace quillmor
