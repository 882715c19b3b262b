// ZIP archives made byte by byte for tests, with every field that the reader
// checks open to change: ZIP64 records and extra fields, disk numbers,
// counts, sizes, comments and junk around the records.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/crc32.h"
#include "tests/engine/deflate_writer.h"

namespace quillmor::testing {

inline void Put16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v));
  out.push_back(static_cast<char>(v >> 8));
}
inline void Put32(std::string& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v));
  Put16(out, static_cast<uint16_t>(v >> 16));
}
inline void Put64(std::string& out, uint64_t v) {
  Put32(out, static_cast<uint32_t>(v));
  Put32(out, static_cast<uint32_t>(v >> 32));
}
inline void Set32(std::string& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
}

// Which central-directory fields an entry defers to its ZIP64 extra field.
enum Zip64Field : unsigned {
  kZip64Uncompressed = 1,
  kZip64Compressed = 2,
  kZip64Offset = 4,
  kZip64All = 7,
};

struct TestEntry {
  std::string name = {};
  std::string data = {};  // the uncompressed content
  uint16_t method = 8;
  // The bytes stored; by default `data` itself (method 0) or the test
  // encoder's Deflate stream of it (any other method).
  std::optional<std::string> stored = {};
  uint16_t flags = 0;
  uint32_t externalAttributes = 0;
  std::optional<uint32_t> crc = {};                // default: the CRC-32 of data
  std::optional<uint64_t> uncompressedSize = {};   // default: data.size()
  std::optional<uint64_t> compressedSize = {};     // default: the stored size
  std::optional<uint64_t> localHeaderOffset = {};  // default: where it is written
  uint16_t diskStart = 0;
  unsigned zip64Fields = 0;                    // Zip64Field bits
  std::optional<std::string> zip64Extra = {};  // replaces the ZIP64 extra field's data
  uint16_t centralFlagsExtra = 0;              // flags only the central header has
  std::string localExtra = {};                 // extra field of the local header
};

struct TestArchive {
  std::string prefix = {};  // bytes before the first local header
  std::vector<TestEntry> entries = {};
  uint16_t thisDisk = 0;
  uint16_t directoryDisk = 0;
  std::optional<uint64_t> entriesOnDisk = {};
  std::optional<uint64_t> entriesTotal = {};
  std::optional<uint64_t> directorySize = {};
  std::optional<uint64_t> directoryOffset = {};
  std::string comment = {};
  std::string trailer = {};  // bytes after the end record (and its comment)

  // ZIP64 end record and locator.
  bool zip64 = false;
  std::string betweenZip64RecordAndLocator = {};  // moves the record away from the locator
  std::optional<uint64_t> locatorRecordOffset = {};
  uint32_t zip64TotalDisks = 1;
  uint64_t zip64RecordSize = 44;
  uint32_t zip64ThisDisk = 0;
  uint32_t zip64DirectoryDisk = 0;
};

struct BuiltArchive {
  std::string bytes;
  std::vector<uint64_t> localHeaderOffsets;
  std::vector<uint64_t> dataOffsets;
  std::vector<uint64_t> centralHeaderOffsets;
  uint64_t directoryOffset = 0;
  uint64_t endRecordOffset = 0;
};

inline std::string StoredBytes(const TestEntry& e) {
  if (e.stored) return *e.stored;
  if (e.method == 0) return e.data;
  const std::vector<uint8_t> deflated = FixedDeflate(e.data);
  return std::string(deflated.begin(), deflated.end());
}

inline BuiltArchive BuildArchive(const TestArchive& a) {
  BuiltArchive built;
  std::string& out = built.bytes;
  out = a.prefix;
  std::vector<std::string> storedBytes;
  for (const TestEntry& e : a.entries) {
    storedBytes.push_back(StoredBytes(e));
    built.localHeaderOffsets.push_back(out.size());
    Put32(out, 0x04034B50);
    Put16(out, 20);
    Put16(out, e.flags);
    Put16(out, e.method);
    Put32(out, 0);  // time and date
    Put32(out, e.crc.value_or(Crc32({reinterpret_cast<const uint8_t*>(e.data.data()), e.data.size()})));
    Put32(out, static_cast<uint32_t>(storedBytes.back().size()));
    Put32(out, static_cast<uint32_t>(e.data.size()));
    Put16(out, static_cast<uint16_t>(e.name.size()));
    Put16(out, static_cast<uint16_t>(e.localExtra.size()));
    out += e.name;
    out += e.localExtra;
    built.dataOffsets.push_back(out.size());
    out += storedBytes.back();
  }

  built.directoryOffset = out.size();
  for (size_t i = 0; i < a.entries.size(); ++i) {
    const TestEntry& e = a.entries[i];
    const uint64_t uncompressed = e.uncompressedSize.value_or(e.data.size());
    const uint64_t compressed = e.compressedSize.value_or(storedBytes[i].size());
    const uint64_t offset = e.localHeaderOffset.value_or(built.localHeaderOffsets[i]);
    std::string extra;
    if (e.zip64Fields != 0 || e.zip64Extra) {
      std::string data;
      if (e.zip64Extra) {
        data = *e.zip64Extra;
      } else {
        if (e.zip64Fields & kZip64Uncompressed) Put64(data, uncompressed);
        if (e.zip64Fields & kZip64Compressed) Put64(data, compressed);
        if (e.zip64Fields & kZip64Offset) Put64(data, offset);
      }
      Put16(extra, 0x5455);  // an unrelated field first
      Put16(extra, 5);
      extra += std::string(5, '\x01');
      Put16(extra, 1);
      Put16(extra, static_cast<uint16_t>(data.size()));
      extra += data;
    }
    built.centralHeaderOffsets.push_back(out.size());
    Put32(out, 0x02014B50);
    Put16(out, 0x031E);
    Put16(out, 20);
    Put16(out, e.flags | e.centralFlagsExtra);
    Put16(out, e.method);
    Put32(out, 0);
    Put32(out, e.crc.value_or(Crc32({reinterpret_cast<const uint8_t*>(e.data.data()), e.data.size()})));
    Put32(out, (e.zip64Fields & kZip64Compressed) ? 0xFFFFFFFF : static_cast<uint32_t>(compressed));
    Put32(out, (e.zip64Fields & kZip64Uncompressed) ? 0xFFFFFFFF : static_cast<uint32_t>(uncompressed));
    Put16(out, static_cast<uint16_t>(e.name.size()));
    Put16(out, static_cast<uint16_t>(extra.size()));
    Put16(out, 0);  // comment
    Put16(out, e.diskStart);
    Put16(out, 0);
    Put32(out, e.externalAttributes);
    Put32(out, (e.zip64Fields & kZip64Offset) ? 0xFFFFFFFF : static_cast<uint32_t>(offset));
    out += e.name;
    out += extra;
  }
  const uint64_t directorySize = a.directorySize.value_or(out.size() - built.directoryOffset);
  const uint64_t directoryOffset = a.directoryOffset.value_or(built.directoryOffset);
  const uint64_t onDisk = a.entriesOnDisk.value_or(a.entries.size());
  const uint64_t total = a.entriesTotal.value_or(a.entries.size());

  if (a.zip64) {
    const uint64_t recordOffset = out.size();
    Put32(out, 0x06064B50);
    Put64(out, a.zip64RecordSize);
    Put16(out, 45);
    Put16(out, 45);
    Put32(out, a.zip64ThisDisk);
    Put32(out, a.zip64DirectoryDisk);
    Put64(out, onDisk);
    Put64(out, total);
    Put64(out, directorySize);
    Put64(out, directoryOffset);
    out += a.betweenZip64RecordAndLocator;
    Put32(out, 0x07064B50);
    Put32(out, 0);
    Put64(out, a.locatorRecordOffset.value_or(recordOffset));
    Put32(out, a.zip64TotalDisks);
  }
  built.endRecordOffset = out.size();
  Put32(out, 0x06054B50);
  Put16(out, a.thisDisk);
  Put16(out, a.directoryDisk);
  Put16(out, a.zip64 ? 0xFFFF : static_cast<uint16_t>(onDisk));
  Put16(out, a.zip64 ? 0xFFFF : static_cast<uint16_t>(total));
  Put32(out, a.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(directorySize));
  Put32(out, a.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(directoryOffset));
  Put16(out, static_cast<uint16_t>(a.comment.size()));
  out += a.comment;
  out += a.trailer;
  return built;
}

// A small document part: its text wrapped in markup.
inline std::string XmlPart(std::string_view text) {
  return "<?xml version=\"1.0\"?>\n<doc><p>" + std::string(text) + "</p></doc>";
}

}  // namespace quillmor::testing
