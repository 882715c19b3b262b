// The Win32 implementations, run under Wine in the cross build.
#include "platform/win32/windows_api.h"

#include <winioctl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>
#include <vector>

#include "platform/env.h"
#include "platform/thread.h"
#include "platform/thread_io.h"
#include "platform/usn_layout.h"
#include "platform/utf.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_string.h"
#include "platform/win32_constants.h"
#include "tests/running_under_wine.h"

namespace quillmor {
namespace {

// No cap: these tests read files whatever their size.
constexpr uint64_t kAnySize = UINT64_MAX;

using namespace win32;

std::string ReadAll(FileSystem& fs, std::u16string_view path) {
  std::string bytes;
  EXPECT_TRUE(fs.ReadFile(path, bytes, kAnySize)) << Utf16ToUtf8(path);
  return bytes;
}

// A fresh directory under the temporary path.
class Win32FileSystemTest : public ::testing::Test {
 protected:
  Win32FileSystemTest() {
    dir = DefaultEnv().system->TempPath() + u"quillmor-test-" + U16(std::to_string(::GetCurrentProcessId())) + u"-" +
          U16(std::to_string(::GetTickCount64()));
    EXPECT_TRUE(fs.CreateDirectory(dir));
  }
  ~Win32FileSystemTest() override {
    // Two levels are all the tests create.
    for (const std::u16string& d : {dir + u"\\sub", dir}) {
      if (auto lister = fs.ListDirectory(d)) {
        DirectoryEntry e;
        while (lister->Next(e)) fs.DeleteFile(d + u"\\" + e.name);
      }
      ::RemoveDirectoryW(Wide(d).c_str());
    }
  }
  std::u16string Path(std::u16string_view name) { return dir + u"\\" + std::u16string(name); }

  FileSystem& fs = *DefaultEnv().files;
  std::u16string dir;
};

TEST_F(Win32FileSystemTest, WholeFileWritesReadsAppendsAndReplaces) {
  EXPECT_TRUE(fs.WriteFile(Path(u"a.ini"), "first"));
  EXPECT_TRUE(fs.WriteFile(Path(u"a.ini"), "2nd"));
  EXPECT_TRUE(fs.AppendFile(Path(u"a.ini"), "+more"));
  EXPECT_EQ(ReadAll(fs, Path(u"a.ini")), "2nd+more");
  EXPECT_TRUE(fs.AppendFile(Path(u"new.log"), "line\r\n"));
  EXPECT_EQ(ReadAll(fs, Path(u"new.log")), "line\r\n");

  EXPECT_TRUE(fs.WriteFile(Path(u"a.tmp"), "replacement"));
  EXPECT_TRUE(fs.ReplaceFile(Path(u"a.tmp"), Path(u"a.ini")));
  EXPECT_EQ(ReadAll(fs, Path(u"a.ini")), "replacement");
  EXPECT_EQ(fs.GetFileAttributes(Path(u"a.tmp")), kInvalidFileAttributes);
  EXPECT_FALSE(fs.ReplaceFile(Path(u"a.tmp"), Path(u"a.ini")));

  std::string bytes;
  EXPECT_FALSE(fs.ReadFile(Path(u"missing"), bytes, kAnySize));
  EXPECT_FALSE(fs.WriteFile(Path(u"no\\such\\file"), "x"));
  EXPECT_TRUE(fs.DeleteFile(Path(u"new.log")));
  EXPECT_FALSE(fs.DeleteFile(Path(u"new.log")));
  EXPECT_TRUE(fs.CreateDirectory(Path(u"sub")));
  EXPECT_FALSE(fs.CreateDirectory(Path(u"sub")));
}

// MoveFileExW's write-through waits for the rename, not for the data of the
// file moved: after a power cut the replaced file could be empty. The new
// file is flushed first, which needs write access to it; a flush that cannot
// happen (another handle denies writing) now fails the replace and leaves
// the old file in place.
TEST_F(Win32FileSystemTest, ReplaceFlushesTheNewFileFirst) {
  ASSERT_TRUE(fs.WriteFile(Path(u"a.ini"), "old"));
  ASSERT_TRUE(fs.WriteFile(Path(u"a.tmp"), "new"));
  {
    ScopedHandle reader(::CreateFileW(Wide(Path(u"a.tmp")).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader.valid());
    EXPECT_FALSE(fs.ReplaceFile(Path(u"a.tmp"), Path(u"a.ini")));
    EXPECT_EQ(ReadAll(fs, Path(u"a.ini")), "old");
  }
  EXPECT_TRUE(fs.ReplaceFile(Path(u"a.tmp"), Path(u"a.ini")));
  EXPECT_EQ(ReadAll(fs, Path(u"a.ini")), "new");
}

// A settings file that is a device or a pipe was read until it ended, which
// a pipe without a writer never does; a huge one until memory ran out.
TEST_F(Win32FileSystemTest, WholeFileReadsAreCappedAndTakeDiskFilesOnly) {
  ASSERT_TRUE(fs.WriteFile(Path(u"small.ini"), std::string(100, 's')));
  std::string bytes;
  EXPECT_TRUE(fs.ReadFile(Path(u"small.ini"), bytes, 100));
  EXPECT_EQ(bytes.size(), 100u);
  EXPECT_FALSE(fs.ReadFile(Path(u"small.ini"), bytes, 99));
  EXPECT_FALSE(fs.ReadFile(u"NUL", bytes, kAnySize));

  const std::u16string pipeName = u"\\\\.\\pipe\\quillmor-test-" + U16(std::to_string(::GetCurrentProcessId()));
  ScopedHandle pipe(
      ::CreateNamedPipeW(Wide(pipeName).c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr));
  ASSERT_TRUE(pipe.valid()) << ::GetLastError();
  // Read on another thread, so that a reader that waits for the writer fails
  // the test instead of hanging it.
  std::atomic<int> result{-1};
  Thread reader([&] {
    std::string ignored;
    result = fs.ReadFile(pipeName, ignored, kAnySize) ? 1 : 0;
  });
  for (int i = 0; i < 3000 && result.load() < 0; ++i) ::Sleep(10);
  if (result.load() < 0) {
    ADD_FAILURE() << "reading a pipe waits for its writer";
    pipe.Reset();  // ends the read
  }
  reader.join();
  EXPECT_EQ(result.load(), 0);
}

TEST_F(Win32FileSystemTest, ListingsAttributesAndTimes) {
  ASSERT_TRUE(fs.CreateDirectory(Path(u"sub")));
  ASSERT_TRUE(fs.WriteFile(Path(u"sub\\\u4e2d\u6587.txt"), "12345"));
  const uint64_t now = DefaultEnv().clock->UtcNowFileTime();

  std::map<std::u16string, FileInfo> entries;
  auto lister = fs.ListDirectory(Path(u"sub"));
  ASSERT_NE(lister, nullptr);
  DirectoryEntry e;
  while (lister->Next(e)) entries[e.name] = e.info;
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[u"."].attributes & kFileAttributeDirectory, kFileAttributeDirectory);
  EXPECT_EQ(entries[u".."].attributes & kFileAttributeDirectory, kFileAttributeDirectory);
  const FileInfo& file = entries[u"\u4e2d\u6587.txt"];
  EXPECT_EQ(file.attributes & kFileAttributeDirectory, 0u);
  EXPECT_EQ(file.size, 5u);
  const uint64_t minute = 600'000'000;
  EXPECT_LT(file.lastWriteTime > now ? file.lastWriteTime - now : now - file.lastWriteTime, minute);

  FileInfo info;
  ASSERT_TRUE(fs.GetFileInfo(Path(u"sub\\\u4e2d\u6587.txt"), info));
  EXPECT_EQ(info.size, 5u);
  EXPECT_EQ(info.lastWriteTime, file.lastWriteTime);
  EXPECT_EQ(fs.GetFileAttributes(Path(u"sub")) & kFileAttributeDirectory, kFileAttributeDirectory);
  EXPECT_EQ(fs.GetFileAttributes(Path(u"missing")), kInvalidFileAttributes);
  EXPECT_EQ(fs.ListDirectory(Path(u"missing")), nullptr);
  EXPECT_EQ(fs.ListDirectory(Path(u"sub\\\u4e2d\u6587.txt")), nullptr);
}

TEST_F(Win32FileSystemTest, OpenForReadReadsAndMaps) {
  std::string content(100000, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>('a' + i % 26);
  ASSERT_TRUE(fs.WriteFile(Path(u"c.txt"), content));
  auto file = fs.OpenForRead(Path(u"c.txt"));
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Size(), content.size());
  std::byte buffer[10];
  ASSERT_EQ(file->Read(2, buffer), 10u);
  EXPECT_EQ(std::to_integer<char>(buffer[0]), 'c');
  EXPECT_EQ(file->Read(content.size() - 4, buffer), 4u);
  EXPECT_EQ(file->Read(content.size() + 10, buffer), 0u);
  std::span<const std::byte> mapped = file->Map();
  ASSERT_EQ(mapped.size(), content.size());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(mapped.data()), mapped.size()), content);

  ASSERT_TRUE(fs.WriteFile(Path(u"empty.txt"), ""));
  auto empty = fs.OpenForRead(Path(u"empty.txt"));
  ASSERT_NE(empty, nullptr);
  EXPECT_TRUE(empty->Map().empty());
  EXPECT_EQ(fs.OpenForRead(Path(u"missing")), nullptr);
}

// Content search reads files on a disk only: a pipe or a device could hold a
// worker forever.
TEST_F(Win32FileSystemTest, SpecialFilesAreNotOpenedForReading) {
  const std::wstring pipeName = L"\\\\.\\pipe\\quillmor-test-" + std::to_wstring(::GetCurrentProcessId());
  ScopedHandle pipe(
      ::CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr));
  ASSERT_TRUE(pipe.valid());
  EXPECT_EQ(fs.OpenForRead(FromWide(pipeName)), nullptr);
  EXPECT_EQ(fs.OpenForRead(u"NUL"), nullptr);
  ASSERT_TRUE(fs.WriteFile(Path(u"real.txt"), "secret"));
  EXPECT_NE(fs.OpenForRead(Path(u"real.txt")), nullptr);
}

TEST_F(Win32FileSystemTest, ListingsTellWhichDirectoryTheyList) {
  ASSERT_TRUE(fs.CreateDirectory(Path(u"sub")));
  const auto identity = [&](std::u16string_view path) {
    DirectoryIdentity id;
    auto lister = fs.ListDirectory(path);
    EXPECT_NE(lister, nullptr) << Utf16ToUtf8(path);
    EXPECT_TRUE(lister != nullptr && lister->Identity(id)) << Utf16ToUtf8(path);
    return id;
  };
  EXPECT_EQ(identity(Path(u"sub")), identity(Path(u"sub\\")));
  EXPECT_EQ(identity(Path(u"sub\\..\\sub")), identity(Path(u"sub")));
  EXPECT_NE(identity(Path(u"sub")), identity(dir));
  EXPECT_EQ(identity(u"C:"), identity(u"C:\\"));  // a drive alone is its root
  EXPECT_NE(identity(u"C:"), identity(dir));
}

TEST(Win32DrivesTest, DriveCIsAFixedNtfsVolume) {
  FileSystem& fs = *DefaultEnv().files;
  EXPECT_NE(fs.LogicalDrives() & (1u << 2), 0u);
  EXPECT_EQ(fs.DriveType(u"C:\\"), kDriveFixed);
  VolumeInformation info;
  ASSERT_TRUE(fs.GetVolumeInformation(u"C:\\", info));
  EXPECT_EQ(info.fileSystemName, u"NTFS");
  EXPECT_GT(info.maximumComponentLength, 0u);
  EXPECT_EQ(fs.DriveType(u"Q:\\"), kDriveNoRootDir);
}

TEST(Win32VolumeDeviceTest, JournalQueryAnswersWithACode) {
  uint32_t error = 0;
  auto device = DefaultEnv().volumes->Open(u"\\\\.\\C:", kGenericRead, error);
  ASSERT_NE(device, nullptr) << error;
  EXPECT_EQ(error, 0u);
  std::byte data[usn::JournalData::kSize];
  uint32_t returned = 99;
  const uint32_t code = device->IoControl(kFsctlQueryUsnJournal, {}, data, returned);
  // Wine has no change journal and answers 50; Windows, running elevated,
  // fills the 56 bytes.
  if (RunningUnderWine()) {
    EXPECT_EQ(code, kErrorNotSupported);
  }
  if (code == 0) {
    EXPECT_EQ(returned, usn::JournalData::kSize);
  } else {
    EXPECT_EQ(returned, 0u);
    EXPECT_NE(code, kErrorInvalidHandle);
  }
  device->CancelIo();  // nothing pending: harmless
  EXPECT_EQ(device->Close(), 0u);
}

TEST(Win32VolumeDeviceTest, ClosedDeviceAnswersInvalidHandle) {
  uint32_t error = 0;
  auto device = DefaultEnv().volumes->Open(u"\\\\.\\C:", kGenericRead, error);
  ASSERT_NE(device, nullptr);
  ASSERT_EQ(device->Close(), 0u);
  std::byte data[usn::JournalData::kSize];
  uint32_t returned = 99;
  EXPECT_EQ(device->IoControl(kFsctlQueryUsnJournal, {}, data, returned), kErrorInvalidHandle);
  EXPECT_EQ(returned, 0u);
  device->CancelIo();
  EXPECT_EQ(device->Close(), kErrorInvalidHandle);
}

// Requests racing with Close end with a code, and none reaches the handle
// after CloseHandle.
TEST(Win32VolumeDeviceTest, CloseWhileOtherThreadsSendRequests) {
  uint32_t error = 0;
  auto device = DefaultEnv().volumes->Open(u"\\\\.\\C:", kGenericRead, error);
  ASSERT_NE(device, nullptr);
  std::atomic<int> requests{0};
  std::vector<Thread> senders;
  for (int i = 0; i < 3; ++i) {
    senders.emplace_back([&] {
      std::byte data[usn::JournalData::kSize];
      uint32_t returned = 0;
      while (device->IoControl(kFsctlQueryUsnJournal, {}, data, returned) != kErrorInvalidHandle) {
        device->CancelIo();
        ++requests;
      }
    });
  }
  while (requests.load() < 30) std::this_thread::yield();
  EXPECT_EQ(device->Close(), 0u);
  for (auto& t : senders) t.join();
}

TEST(Win32VolumeDeviceTest, MissingDeviceReportsTheError) {
  uint32_t error = 0;
  EXPECT_EQ(DefaultEnv().volumes->Open(u"\\\\.\\Q:", kGenericRead, error), nullptr);
  EXPECT_NE(error, 0u);
}

TEST(Win32ThreadIoTest, CancelEndsABlockedSynchronousRead) {
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  ASSERT_TRUE(::CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  const ScopedHandle reader(readEnd);
  const ScopedHandle writer(writeEnd);
  std::atomic<DWORD> result{0};
  std::atomic<bool> done{false};
  Thread blocked([&] {
    char byte;
    DWORD read = 0;
    result = ::ReadFile(readEnd, &byte, 1, &read, nullptr) ? ERROR_SUCCESS : ::GetLastError();
    done = true;
  });
  for (int i = 0; i < 500 && !done; ++i) {
    CancelThreadSynchronousIo(blocked);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!done) ::WriteFile(writeEnd, "x", 1, nullptr, nullptr);  // unblock it so the test can end
  blocked.join();
  EXPECT_EQ(result.load(), static_cast<DWORD>(kErrorOperationAborted));
}

TEST(Win32ScopedHandleTest, MoveAssignmentClosesTheHandleItReplaces) {
  ScopedHandle a(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ScopedHandle b(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(a.valid() && b.valid());
  const HANDLE old = a.get();
  const HANDLE moved = b.get();
  a = std::move(b);
  DWORD flags = 0;
  EXPECT_FALSE(::GetHandleInformation(old, &flags));
  EXPECT_EQ(a.get(), moved);
  EXPECT_FALSE(b.valid());
  EXPECT_TRUE(::GetHandleInformation(moved, &flags));
  a.Reset();
  EXPECT_FALSE(::GetHandleInformation(moved, &flags));
}

TEST(Win32WindowPosterTest, PostsToALiveWindowOnly) {
  WindowPoster& poster = *DefaultEnv().windows;
  const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (window == nullptr) GTEST_SKIP() << "no window station: " << ::GetLastError();
  EXPECT_TRUE(poster.IsWindow(window));
  EXPECT_TRUE(PostIfWindow(poster, window, WMU_INDEX_READY, 1, -2));
  MSG msg{};
  ASSERT_TRUE(::PeekMessageW(&msg, window, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WMU_INDEX_READY);
  EXPECT_EQ(msg.wParam, 1u);
  EXPECT_EQ(msg.lParam, -2);
  ::DestroyWindow(window);
  EXPECT_FALSE(poster.IsWindow(window));
  EXPECT_FALSE(PostIfWindow(poster, window, WMU_INDEX_READY, 1, 0));
  EXPECT_FALSE(PostIfWindow(poster, nullptr, WMU_INDEX_READY, 1, 0));
}

TEST(Win32SystemInfoTest, FoldersAndFacts) {
  SystemInfo& system = *DefaultEnv().system;
  const std::u16string temp = system.TempPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), u'\\');
  std::u16string documents;
  if (system.DocumentsFolder(documents)) {
    EXPECT_NE(DefaultEnv().files->GetFileAttributes(documents), kInvalidFileAttributes);
  }
  std::u16string local;
  if (system.LocalAppDataFolder(local)) {
    EXPECT_NE(DefaultEnv().files->GetFileAttributes(local), kInvalidFileAttributes);
  }
  system.DebugOutput(std::string_view("quillmor test\n"));
  system.DebugOutput(std::u16string_view(u"quillmor test\n"));
  system.TrimOwnWorkingSet();
  EXPECT_TRUE(system.TrimOtherProcesses());
  EXPECT_FALSE(system.IsForegroundWindow(nullptr));
  std::u16string name = system.KeyName(0x41);  // 'A'
  if (!name.empty()) {
    EXPECT_EQ(name, u"A");
  }
}

}  // namespace
}  // namespace quillmor
