// The byte layout of the attribute cache file "attrcache.v1.bin": sizes and
// times of the files of NTFS volumes, kept from run to run. Little-endian,
// packed, no checksum and no trailer:
//
//   header, 12 bytes:
//     0  u32  magic         the bytes "HCSV" (0x56534348)
//     4  u32  version       1
//     8  u32  sectionCount  volume sections that follow
//   each section: a 14-byte header, then entryCount entries
//     0  u16  driveLetter   first UTF-16 unit of the volume's drive ('C')
//     2  u64  journalId     the volume's change-journal id when written
//     10 u32  entryCount
//   each entry, 33 bytes:
//     0  u64  fileRef
//     8  u64  size
//     16 u64  lastWriteTime  FILETIME
//     24 u64  creationTime   FILETIME
//     32 u8   known          written as 1; any non-zero byte reads as 1
//
// Total length = 12 + 14 * sections + 33 * entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "index/attr_entry.h"
#include "platform/file_system.h"

namespace quillmor {

inline constexpr uint32_t kAttrCacheMagic = 0x56534348;  // "HCSV"
inline constexpr uint32_t kAttrCacheVersion = 1;
inline constexpr uint64_t kAttrCacheHeaderBytes = 12;
inline constexpr uint64_t kAttrCacheSectionHeaderBytes = 14;
inline constexpr uint64_t kAttrCacheEntryBytes = 33;

// One volume's part of the file.
struct AttrCacheSection {
  char16_t driveLetter = 0;
  uint64_t journalId = 0;
  std::vector<std::pair<uint64_t, AttrEntry>> entries;  // fileRef, attributes
};

// The whole file for `sections`, in their order. Entries are written as
// known whatever their flag says.
std::string EncodeAttrCache(std::span<const AttrCacheSection> sections);

struct AttrCacheSectionHeader {
  char16_t driveLetter = 0;
  uint64_t journalId = 0;
  uint32_t entryCount = 0;
};

// Reads the file in order, a block at a time, so that a file of any size is
// never held whole. Nothing beyond the size the file had when it was opened
// is read; an incomplete header or entry is not consumed and ends the
// reading. The header is read before anything else, on its own, so a foreign
// file costs 12 bytes.
class AttrCacheReader {
 public:
  explicit AttrCacheReader(ReadableFile& file) : file_(file), size_(file.Size()) {}

  // False when the file is shorter than a header or has another magic or
  // version.
  bool ReadHeader(uint32_t& sectionCount);
  // False when no complete section header follows.
  bool ReadSectionHeader(AttrCacheSectionHeader& out);
  // False when no complete entry follows.
  bool ReadEntry(uint64_t& fileRef, AttrEntry& out);
  // Moves past `count` entries without reading them, as a seek would: the
  // position may then lie beyond the end, where every read fails.
  void SkipEntries(uint32_t count);

  // Entries that can still be read completely.
  uint64_t EntriesLeft() const;
  // Bytes consumed so far, skipped entries included.
  uint64_t Position() const { return position_; }

 private:
  // The next `bytes` bytes (at most a block), consumed; null, and nothing
  // consumed, when the file ends first.
  const std::byte* Take(size_t bytes);

  ReadableFile& file_;
  const uint64_t size_;
  std::vector<std::byte> block_;  // the bytes from blockStart_ on
  uint64_t blockStart_ = 0;
  uint64_t position_ = 0;
};

}  // namespace quillmor
