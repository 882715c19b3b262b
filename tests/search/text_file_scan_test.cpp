#include "search/text_file_scan.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/env.h"
#include "platform/sim/memory_file_system.h"
#include "tests/scratch_directory.h"

namespace quillmor {
namespace {

constexpr size_t kMiB = 1024 * 1024;

// Files that can fail their reads from some offset on, or run a hook before
// each read.
class HookedFileSystem : public MemoryFileSystem {
 public:
  std::function<void(uint64_t offset)> beforeRead;
  uint64_t failReadsFrom = UINT64_MAX;

  std::unique_ptr<ReadableFile> OpenForRead(std::u16string_view path) override {
    ++opens;
    std::unique_ptr<ReadableFile> file = MemoryFileSystem::OpenForRead(path);
    return file ? std::make_unique<HookedFile>(std::move(file), *this) : nullptr;
  }
  int opens = 0;

 private:
  class HookedFile : public ReadableFile {
   public:
    HookedFile(std::unique_ptr<ReadableFile> file, HookedFileSystem& owner) : file_(std::move(file)), owner_(owner) {}
    uint64_t Size() override { return file_->Size(); }
    size_t Read(uint64_t offset, std::span<std::byte> out) override {
      if (owner_.beforeRead) owner_.beforeRead(offset);
      return offset >= owner_.failReadsFrom ? 0 : file_->Read(offset, out);
    }
    std::span<const std::byte> Map() override { return file_->Map(); }

   private:
    std::unique_ptr<ReadableFile> file_;
    HookedFileSystem& owner_;
  };
};

class TextFileScanTest : public ::testing::Test {
 protected:
  std::vector<CompiledGroup> Compile(const QueryGroups& groups) { return CompileGroups(groups, *DefaultEnv().text); }

  bool Scan(std::u16string_view path, const QueryGroups& groups, Generation generation = {}) {
    bytesRead = 0;
    return ScanTextFile(files, path, Compile(groups), generation, &bytesRead);
  }

  // A file just above the size that is read whole: it is read in blocks.
  // Filler without the letters the tests look for.
  static std::string LargeFile() {
    std::string bytes(kWholeFileScanLimit + kMiB, ' ');
    for (size_t i = 0; i < bytes.size(); i += 64) bytes.replace(i, 8, "lorem ip");
    return bytes;
  }

  HookedFileSystem files;
  uint64_t bytesRead = 0;
};

TEST_F(TextFileScanTest, SmallFileIsReadWhole) {
  files.AddFile(u"C:\\a.txt", "one needle here");
  EXPECT_TRUE(Scan(u"C:\\a.txt", {{u"needle"}}));
  EXPECT_EQ(bytesRead, 15u);
  EXPECT_FALSE(Scan(u"C:\\a.txt", {{u"Needle"}}));
  EXPECT_FALSE(Scan(u"C:\\a.txt", {}));
}

TEST_F(TextFileScanTest, UnreadableFilesAreNoHits) {
  files.AddFile(u"C:\\empty.txt", "");
  EXPECT_FALSE(Scan(u"C:\\empty.txt", {{u"x"}}));
  EXPECT_FALSE(Scan(u"C:\\missing.txt", {{u"x"}}));
  files.AddDirectories(u"C:\\dir.txt");
  EXPECT_FALSE(Scan(u"C:\\dir.txt", {{u"x"}}));
  // Network paths are never opened.
  const int opens = files.opens;
  EXPECT_FALSE(Scan(u"\\\\server\\share\\a.txt", {{u"x"}}));
  EXPECT_EQ(files.opens, opens);
}

TEST_F(TextFileScanTest, CancelledSearchDoesNotOpenTheFile) {
  files.AddFile(u"C:\\a.txt", "needle");
  std::atomic<uint64_t> current{2};
  const int opens = files.opens;
  EXPECT_FALSE(Scan(u"C:\\a.txt", {{u"needle"}}, Generation{&current, 1}));
  EXPECT_EQ(files.opens, opens);
}

// Large files: where the term lies decides how much is read.
TEST_F(TextFileScanTest, LargeFileStopsReadingAtTheBlockThatCompletesAGroup) {
  std::string bytes = LargeFile();
  bytes.replace(100, 5, "first");
  bytes.replace(kScanBlockBytes - 3, 8, "straddle");  // cut by the first block boundary
  bytes.replace(2 * kScanBlockBytes - 1, 2, "zq");    // the last byte of block 2 and the first of block 3
  bytes.replace(bytes.size() - 4, 4, "last");
  files.AddFile(u"C:\\big.txt", bytes);

  EXPECT_TRUE(Scan(u"C:\\big.txt", {{u"first"}}));
  EXPECT_EQ(bytesRead, kScanBlockBytes);
  EXPECT_TRUE(Scan(u"C:\\big.txt", {{u"straddle"}}));
  EXPECT_EQ(bytesRead, 2 * kScanBlockBytes);
  EXPECT_TRUE(Scan(u"C:\\big.txt", {{u"zq"}}));
  EXPECT_EQ(bytesRead, 3 * kScanBlockBytes);
  EXPECT_TRUE(Scan(u"C:\\big.txt", {{u"last"}}));
  EXPECT_EQ(bytesRead, bytes.size());
  EXPECT_FALSE(Scan(u"C:\\big.txt", {{u"absent"}}));
  EXPECT_EQ(bytesRead, bytes.size());
  // Terms found in different blocks complete a group together.
  EXPECT_TRUE(Scan(u"C:\\big.txt", {{u"last", u"first"}}));
  EXPECT_FALSE(Scan(u"C:\\big.txt", {{u"first", u"absent"}}));
  // A longer term of the query keeps a longer tail for every term.
  EXPECT_TRUE(Scan(u"C:\\big.txt", {{u"straddle", u"a much longer term than the others"}, {u"straddle"}}));
}

TEST_F(TextFileScanTest, LargeFileFindsUtf16TextAcrossABoundary) {
  std::string bytes = LargeFile();
  const std::string utf16("s\0t\0r\0a\0d\0d\0l\0e\0", 16);
  bytes.replace(kScanBlockBytes - 7, utf16.size(), utf16);
  files.AddFile(u"C:\\big.txt", bytes);
  EXPECT_TRUE(Scan(u"C:\\big.txt", {{u"straddle"}}));
}

TEST_F(TextFileScanTest, LargeFileReadErrorEndsTheScan) {
  std::string bytes = LargeFile();
  bytes.replace(3 * kScanBlockBytes, 5, "after");
  files.AddFile(u"C:\\big.txt", bytes);
  files.failReadsFrom = kScanBlockBytes;
  EXPECT_FALSE(Scan(u"C:\\big.txt", {{u"after"}}));
  EXPECT_EQ(bytesRead, kScanBlockBytes);
}

TEST_F(TextFileScanTest, LargeFileStopsWithinTheFileWhenCancelled) {
  files.AddFile(u"C:\\big.txt", LargeFile());
  std::atomic<uint64_t> current{1};
  files.beforeRead = [&](uint64_t offset) {
    if (offset == 0) current = 2;  // Escape while the first block is read
  };
  EXPECT_FALSE(Scan(u"C:\\big.txt", {{u"absent"}}, Generation{&current, 1}));
  EXPECT_EQ(bytesRead, kScanBlockBytes);
}

// The same on the platform's real file system, with a file made for the test.
TEST(TextFileScanOnDiskTest, TermAcrossTheBlockBoundaryOfALargeFile) {
  const ScratchDirectory directory("quillmor-scan-test");
  const std::filesystem::path path = directory.path() / "large.txt";
  {
    std::string bytes(kWholeFileScanLimit + kMiB, 'x');
    bytes.replace(kScanBlockBytes - 4, 8, "boundary");
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  const std::vector<CompiledGroup> groups = CompileGroups({{u"boundary"}}, *DefaultEnv().text);
  const std::vector<CompiledGroup> absent = CompileGroups({{u"absent"}}, *DefaultEnv().text);
  uint64_t bytesRead = 0;
  const bool found = ScanTextFile(*DefaultEnv().files, path.u16string(), groups, Generation{}, &bytesRead);
  const uint64_t readForHit = bytesRead;
  bytesRead = 0;
  const bool foundAbsent = ScanTextFile(*DefaultEnv().files, path.u16string(), absent, Generation{}, &bytesRead);

  EXPECT_TRUE(found);
  EXPECT_EQ(readForHit, 2 * kScanBlockBytes);
  EXPECT_FALSE(foundAbsent);
  EXPECT_EQ(bytesRead, kWholeFileScanLimit + kMiB);
}

}  // namespace
}  // namespace quillmor
