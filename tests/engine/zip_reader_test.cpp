#include "engine/zip_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "tests/engine/memory_files.h"
#include "tests/engine/zip_builder.h"

namespace quillmor {
namespace {

using testing::BuildArchive;
using testing::TestArchive;
using testing::TestEntry;

bool ReadDirectory(const std::string& bytes, ZipDirectory& directory) {
  testing::MemoryReadableFile file(bytes);
  return ReadZipDirectory(file, directory);
}

bool Readable(const std::string& bytes) {
  ZipDirectory directory;
  return ReadDirectory(bytes, directory);
}

// Extracts entry `index` of a readable archive; the text or "" with the result.
ZipExtractResult Extract(const std::string& bytes, size_t index, std::string& text) {
  testing::MemoryReadableFile file(bytes);
  ZipDirectory directory;
  if (!ReadZipDirectory(file, directory)) return ZipExtractResult::kBadLocalHeader;
  const ZipEntry& entry = directory.entries.at(index);
  text.assign(entry.uncompressedSize, '\0');
  return ExtractZipEntry(file, directory, entry, std::span(reinterpret_cast<uint8_t*>(text.data()), text.size()));
}

TestArchive TwoEntries() {
  TestArchive a;
  a.entries.push_back({.name = "word/document.xml", .data = testing::XmlPart("deflated text"), .method = 8});
  a.entries.push_back({.name = "docProps/core.xml", .data = testing::XmlPart("stored text"), .method = 0});
  return a;
}

TEST(ZipReaderTest, ReadsEveryFieldOfTheDirectory) {
  TestArchive a = TwoEntries();
  a.entries[0].externalAttributes = 0x81A40000;
  a.entries[1].flags = 0x0800;  // UTF-8 names
  const auto built = BuildArchive(a);
  ZipDirectory directory;
  ASSERT_TRUE(ReadDirectory(built.bytes, directory));
  EXPECT_EQ(directory.archiveSize, built.bytes.size());
  ASSERT_EQ(directory.entries.size(), 2u);
  const ZipEntry& first = directory.entries[0];
  EXPECT_EQ(first.index, 0u);
  EXPECT_EQ(first.name, "word/document.xml");
  EXPECT_EQ(first.method, kZipMethodDeflate);
  EXPECT_EQ(first.uncompressedSize, a.entries[0].data.size());
  EXPECT_EQ(first.compressedSize, testing::StoredBytes(a.entries[0]).size());
  EXPECT_EQ(first.crc32, Crc32({reinterpret_cast<const uint8_t*>(a.entries[0].data.data()), a.entries[0].data.size()}));
  EXPECT_EQ(first.externalAttributes, 0x81A40000u);
  EXPECT_EQ(first.localHeaderOffset, built.localHeaderOffsets[0]);
  const ZipEntry& second = directory.entries[1];
  EXPECT_EQ(second.index, 1u);
  EXPECT_EQ(second.flags, 0x0800);
  EXPECT_EQ(second.method, kZipMethodStored);
  EXPECT_EQ(second.localHeaderOffset, built.localHeaderOffsets[1]);

  std::string text;
  EXPECT_EQ(Extract(built.bytes, 0, text), ZipExtractResult::kOk);
  EXPECT_EQ(text, a.entries[0].data);
  EXPECT_EQ(Extract(built.bytes, 1, text), ZipExtractResult::kOk);
  EXPECT_EQ(text, a.entries[1].data);
}

TEST(ZipReaderTest, NamesAreCutTo511Bytes) {
  TestArchive a;
  a.entries.push_back({.name = std::string(600, 'n'), .data = "x"});
  ZipDirectory directory;
  ASSERT_TRUE(ReadDirectory(BuildArchive(a).bytes, directory));
  EXPECT_EQ(directory.entries[0].name, std::string(511, 'n'));
}

struct ArchiveCase {
  const char* name;
  std::function<void(TestArchive&)> change;      // before building
  std::function<void(std::string&)> patch = {};  // after building
};

TEST(ZipReaderTest, UnreadableArchives) {
  const std::vector<ArchiveCase> cases = {
      {"data after the end record beyond the search", [](TestArchive& a) { a.trailer = std::string(100000, 'j'); }},
      {"this disk 0, directory on disk 1", [](TestArchive& a) { a.directoryDisk = 1; }},
      {"this disk 2", [](TestArchive& a) { a.thisDisk = a.directoryDisk = 2; }},
      {"fewer entries on this disk than in total", [](TestArchive& a) { a.entriesOnDisk = 1; }},
      {"directory smaller than 46 bytes per entry", [](TestArchive& a) { a.entriesOnDisk = a.entriesTotal = 3; }},
      {"directory reaching into the end record", [](TestArchive& a) { a.directorySize = 2000; }},
      {"directory offset past the end record", [](TestArchive& a) { a.directoryOffset = 0x7FFFFFF0; }},
      {"wrong central header signature", [](TestArchive&) {},
       [](std::string& bytes) { bytes[bytes.find("PK\x01\x02") + 3] = 9; }},
      {"central header longer than the directory", [](TestArchive& a) { a.entries[1].name = std::string(40, 'x'); },
       [](std::string& bytes) {
         const size_t second = bytes.rfind("PK\x01\x02");
         bytes[second + 28] = static_cast<char>(0x7F);  // name length 127
       }},
      {"encrypted central directory flag", [](TestArchive& a) { a.entries[1].centralFlagsExtra = 0x2000; }},
      {"entry on disk 0xFFFF", [](TestArchive& a) { a.entries[0].diskStart = 0xFFFF; }},
      {"entry on disk 2", [](TestArchive& a) { a.entries[0].diskStart = 2; }},
      {"local header past the archive", [](TestArchive& a) { a.entries[0].localHeaderOffset = 5000; }},
      {"compressed data past the archive", [](TestArchive& a) { a.entries[0].compressedSize = 100000; }},
      {"stored entry with unequal sizes",
       [](TestArchive& a) { a.entries[1].uncompressedSize = a.entries[1].data.size() + 1; }},
      {"content without compressed bytes", [](TestArchive& a) { a.entries[0].compressedSize = 0; }},
      {"ZIP64 value without a ZIP64 field", [](TestArchive& a) { a.entries[0].uncompressedSize = 0xFFFFFFFF; }},
      {"ZIP64 field too short",
       [](TestArchive& a) {
         a.entries[0].zip64Fields = testing::kZip64Uncompressed | testing::kZip64Compressed;
         a.entries[0].zip64Extra = std::string(12, '\0');
       }},
      {"ZIP64 locator without a record",
       [](TestArchive& a) {
         a.zip64 = true;
         a.betweenZip64RecordAndLocator = "junk";
         a.locatorRecordOffset = 3;
       }},
      {"ZIP64 record located past the archive",
       [](TestArchive& a) {
         a.zip64 = true;
         a.betweenZip64RecordAndLocator = "junk";
         a.locatorRecordOffset = 0xFFFFFFFFFFFFFF00ull;
       }},
      {"ZIP64 record size below 44",
       [](TestArchive& a) {
         a.zip64 = true;
         a.zip64RecordSize = 43;
       }},
      {"ZIP64 archive of two disks",
       [](TestArchive& a) {
         a.zip64 = true;
         a.zip64TotalDisks = 2;
       }},
      {"ZIP64 entry count beyond 32 bits",
       [](TestArchive& a) {
         a.zip64 = true;
         a.entriesOnDisk = a.entriesTotal = 0x100000002ull;
       }},
      {"ZIP64 directory size beyond 32 bits",
       [](TestArchive& a) {
         a.zip64 = true;
         a.directorySize = 0x100000000ull;
       }},
  };
  for (const ArchiveCase& c : cases) {
    TestArchive a = TwoEntries();
    c.change(a);
    std::string bytes = BuildArchive(a).bytes;
    if (c.patch) c.patch(bytes);
    EXPECT_FALSE(Readable(bytes)) << c.name;
  }
  // And what is not an archive at all.
  EXPECT_FALSE(Readable(""));
  EXPECT_FALSE(Readable(std::string(21, '\0')));
  EXPECT_FALSE(Readable(std::string(100000, 'P')));
  std::string cut = BuildArchive(TwoEntries()).bytes;
  cut.pop_back();  // the end record is now 21 bytes
  EXPECT_FALSE(Readable(cut));
}

TEST(ZipReaderTest, ReadableArchives) {
  const std::vector<ArchiveCase> cases = {
      {"plain", [](TestArchive&) {}},
      {"longest comment", [](TestArchive& a) { a.comment = std::string(65535, 'c'); }},
      {"an end-record signature early in the file",
       [](TestArchive& a) { a.prefix = std::string("PK\x05\x06", 4) + std::string(30, '\0'); }},
      {"disk numbers both 1",
       [](TestArchive& a) {
         a.thisDisk = a.directoryDisk = 1;
         a.entries[0].diskStart = 1;
         a.entries[1].diskStart = 1;
       }},
      {"entry on disk 1 of disk 0", [](TestArchive& a) { a.entries[0].diskStart = 1; }},
      {"ZIP64 record before its locator", [](TestArchive& a) { a.zip64 = true; }},
      {"ZIP64 record found through the locator",
       [](TestArchive& a) {
         a.zip64 = true;
         a.betweenZip64RecordAndLocator = std::string(17, 'x');
       }},
      {"ZIP64 disk numbers deferred from the end record",
       [](TestArchive& a) {
         a.zip64 = true;
         a.thisDisk = a.directoryDisk = 0xFFFF;
       }},
      {"ZIP64 sizes and offsets",
       [](TestArchive& a) {
         a.entries[0].zip64Fields = testing::kZip64All;
         a.entries[1].zip64Fields = testing::kZip64Offset;
       }},
      {"ZIP64 compressed size alone", [](TestArchive& a) { a.entries[0].zip64Fields = testing::kZip64Compressed; }},
      {"encrypted stored entry with its 12-byte header",
       [](TestArchive& a) {
         a.entries[1].flags = kZipFlagEncrypted;
         a.entries[1].stored = std::string(12, 'e') + a.entries[1].data;
       }},
      {"no entries", [](TestArchive& a) { a.entries.clear(); }},
  };
  for (const ArchiveCase& c : cases) {
    TestArchive a = TwoEntries();
    c.change(a);
    std::string bytes = BuildArchive(a).bytes;
    if (c.patch) c.patch(bytes);
    ZipDirectory directory;
    EXPECT_TRUE(ReadDirectory(bytes, directory)) << c.name;
    EXPECT_EQ(directory.entries.size(), a.entries.size()) << c.name;
    for (size_t i = 0; i < directory.entries.size(); ++i) {
      if (a.entries[i].flags & kZipFlagEncrypted) continue;
      std::string text;
      EXPECT_EQ(Extract(bytes, i, text), ZipExtractResult::kOk) << c.name << ", entry " << i;
      EXPECT_EQ(text, a.entries[i].data) << c.name;
    }
  }
}

// A 3.7 MB document whose 65,535 directory entries all pointed at one stream
// of 50 MiB of zeros kept content search busy for hours.
TEST(ZipReaderTest, OverlappingZipEntriesAreRefused) {
  struct OverlapCase {
    const char* name;
    std::function<void(TestArchive&, const testing::BuiltArchive&)> change;
    std::vector<bool> refused;  // per entry
  };
  const std::vector<OverlapCase> cases = {
      {"entries side by side", [](TestArchive&, const testing::BuiltArchive&) {}, {false, false, false}},
      {"two entries over the first one's stream",
       [](TestArchive& a, const testing::BuiltArchive& b) {
         for (size_t i : {1, 2}) {
           a.entries[i] = a.entries[0];
           a.entries[i].localHeaderOffset = b.localHeaderOffsets[0];
         }
       },
       {true, true, true}},
      {"an entry inside the data of the first",
       [](TestArchive& a, const testing::BuiltArchive& b) {
         a.entries[0].compressedSize = b.directoryOffset - b.dataOffsets[0];
       },
       {true, true, true}},
      // Seen only once the local header tells where the data begins.
      {"a stream reaching into the next local header",
       [](TestArchive& a, const testing::BuiltArchive& b) {
         a.entries[0].compressedSize = b.localHeaderOffsets[1] - b.dataOffsets[0] + 1;
       },
       {true, false, false}},
  };
  for (const OverlapCase& c : cases) {
    TestArchive a;
    for (const char* text : {"one", "two", "three"}) {
      a.entries.push_back({.name = std::string(text) + ".xml", .data = testing::XmlPart(text)});
    }
    c.change(a, BuildArchive(a));
    const std::string bytes = BuildArchive(a).bytes;
    ASSERT_TRUE(Readable(bytes)) << c.name;
    for (size_t i = 0; i < c.refused.size(); ++i) {
      std::string text;
      const ZipExtractResult result = Extract(bytes, i, text);
      EXPECT_EQ(result, c.refused[i] ? ZipExtractResult::kOverlapping : ZipExtractResult::kOk) << c.name << ", " << i;
    }
  }
}

TEST(ZipReaderTest, EndRecordFoundAcrossEverySearchWindowEdge) {
  // Comments that put the record's signature on and around the 4096-byte
  // window edges, and as far back as the search reaches.
  std::vector<size_t> lengths;
  for (size_t n = 4060; n < 4100; ++n) lengths.push_back(n);
  for (size_t n = 8140; n < 8170; ++n) lengths.push_back(n);
  for (size_t n = 65500; n <= 65535; ++n) lengths.push_back(n);
  for (size_t n : lengths) {
    TestArchive a = TwoEntries();
    a.comment = std::string(n, 'c');
    ASSERT_TRUE(Readable(BuildArchive(a).bytes)) << "comment of " << n;
  }
}

TEST(ZipReaderTest, BrokenEntriesFailAlone) {
  struct EntryCase {
    const char* name;
    std::function<void(TestEntry&)> change;
    std::function<void(std::string&, const testing::BuiltArchive&)> patch;
    ZipExtractResult expected;
  };
  const std::vector<EntryCase> cases = {
      {"stored CRC mismatch",
       [](TestEntry& e) {
         e.method = 0;
         e.crc = 1234;
       },
       {},
       ZipExtractResult::kCrcMismatch},
      {"deflated CRC mismatch", [](TestEntry& e) { e.crc = 1234; }, {}, ZipExtractResult::kCrcMismatch},
      {"corrupt Deflate data",
       [](TestEntry& e) { e.stored = std::string("\xFF\xFF\xFF\xFF", 4); },
       {},
       ZipExtractResult::kBadData},
      {"Deflate data ending early",
       [](TestEntry& e) {
         const auto s = testing::FixedDeflate(e.data);
         e.stored = std::string(s.begin(), s.end() - 2);
       },
       {},
       ZipExtractResult::kBadData},
      {"more output than the declared size",
       [](TestEntry& e) { e.uncompressedSize = e.data.size() - 1; },
       {},
       ZipExtractResult::kBadData},
      {"less output than the declared size",
       [](TestEntry& e) { e.uncompressedSize = e.data.size() + 1; },
       {},
       ZipExtractResult::kBadData},
      {"unsupported method", [](TestEntry& e) { e.method = 14; }, {}, ZipExtractResult::kUnsupported},
      {"encrypted", [](TestEntry& e) { e.flags = kZipFlagEncrypted; }, {}, ZipExtractResult::kUnsupported},
      {"strong encryption",
       [](TestEntry& e) { e.flags = kZipFlagStrongEncryption; },
       {},
       ZipExtractResult::kUnsupported},
      {"patched data", [](TestEntry& e) { e.flags = kZipFlagPatchedData; }, {}, ZipExtractResult::kUnsupported},
      {"wrong local header signature", [](TestEntry&) {},
       [](std::string& bytes, const testing::BuiltArchive& b) { bytes[b.localHeaderOffsets[0]] = 'Q'; },
       ZipExtractResult::kBadLocalHeader},
      {"local extra field running past the archive", [](TestEntry&) {},
       [](std::string& bytes, const testing::BuiltArchive& b) {
         bytes[b.localHeaderOffsets[0] + 28] = '\xFF';
         bytes[b.localHeaderOffsets[0] + 29] = '\xFF';
       },
       ZipExtractResult::kBadLocalHeader},
  };
  for (const EntryCase& c : cases) {
    TestArchive a = TwoEntries();
    c.change(a.entries[0]);
    const auto built = BuildArchive(a);
    std::string bytes = built.bytes;
    if (c.patch) c.patch(bytes, built);
    std::string text;
    EXPECT_EQ(Extract(bytes, 0, text), c.expected) << c.name;
    EXPECT_EQ(Extract(bytes, 1, text), ZipExtractResult::kOk) << c.name << ": the other entry";
  }
}

// A file of `size` bytes, zero except for the pieces placed in it: archives
// larger than 4 GiB without the memory.
class SparseFile : public ReadableFile {
 public:
  explicit SparseFile(uint64_t size) : size_(size) {}
  void Place(uint64_t offset, std::string bytes) { pieces_[offset] = std::move(bytes); }
  uint64_t Size() override { return size_; }
  size_t Read(uint64_t offset, std::span<std::byte> out) override {
    if (offset >= size_) return 0;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(out.size(), size_ - offset));
    bytesRead += n;
    std::fill(out.begin(), out.begin() + n, std::byte{0});
    for (const auto& [at, bytes] : pieces_) {
      const uint64_t from = std::max(at, offset);
      const uint64_t to = std::min(at + bytes.size(), offset + n);
      for (uint64_t i = from; i < to; ++i) out[i - offset] = static_cast<std::byte>(bytes[i - at]);
    }
    return n;
  }
  std::span<const std::byte> Map() override { return {}; }

  uint64_t bytesRead = 0;

 private:
  uint64_t size_;
  std::map<uint64_t, std::string> pieces_;
};

TEST(ZipReaderTest, Zip64OffsetsBeyond4GiB) {
  // An entry whose local header lies 5 GiB into the file, and a central
  // directory after it: every offset needs 64 bits.
  constexpr uint64_t kEntryAt = 5ull << 30;
  TestArchive a;
  a.entries.push_back({.name = "content.xml", .data = testing::XmlPart("far away"), .zip64Fields = testing::kZip64All});
  a.zip64 = true;
  testing::BuiltArchive built = BuildArchive(a);
  // Move everything by kEntryAt: the local header's offset and the directory's.
  a.entries[0].localHeaderOffset = kEntryAt;
  a.directoryOffset = kEntryAt + built.directoryOffset;
  built = BuildArchive(a);
  // The records after the directory point at the moved ZIP64 record too.
  const uint64_t zip64RecordAt = built.endRecordOffset - 20 - 56;
  a.locatorRecordOffset = kEntryAt + zip64RecordAt;
  built = BuildArchive(a);

  SparseFile file(kEntryAt + built.bytes.size());
  file.Place(kEntryAt, built.bytes);
  ZipDirectory directory;
  ASSERT_TRUE(ReadZipDirectory(file, directory));
  ASSERT_EQ(directory.entries.size(), 1u);
  EXPECT_EQ(directory.entries[0].localHeaderOffset, kEntryAt);
  std::string text(directory.entries[0].uncompressedSize, '\0');
  EXPECT_EQ(ExtractZipEntry(file, directory, directory.entries[0],
                            std::span(reinterpret_cast<uint8_t*>(text.data()), text.size())),
            ZipExtractResult::kOk);
  EXPECT_EQ(text, a.entries[0].data);
}

// A sparse document whose end record claimed a 1 GiB central directory made
// the reader allocate and read 1 GiB before it looked at the first header.
TEST(ZipReaderTest, LyingCentralDirectoryIsRefusedBeforeItIsRead) {
  struct LieCase {
    const char* name;
    uint64_t directorySize;
  };
  for (const LieCase& c : {LieCase{"1 GiB, as large as the file", 1ull << 30},
                           LieCase{"within the cap, but no header where it starts", 1u << 20}}) {
    TestArchive a;
    a.entriesOnDisk = a.entriesTotal = 1000;
    a.directorySize = c.directorySize;
    a.directoryOffset = 0;
    const std::string end = BuildArchive(a).bytes;  // the end record alone
    SparseFile file(c.directorySize + end.size());
    file.Place(c.directorySize, end);
    ZipDirectory directory;
    EXPECT_FALSE(ReadZipDirectory(file, directory)) << c.name;
    // The search for the end record and a look at the first header.
    EXPECT_LT(file.bytesRead, 10000u) << c.name;
  }
}

}  // namespace
}  // namespace quillmor
