// Reading ZIP archives (PKWARE's format with its ZIP64 extensions): the
// central directory, checked as a whole, and single entries, stored or
// Deflate-compressed, checked against their CRC-32. Single-disk archives
// only. Every offset and size comes from the file and is checked against the
// archive before it is used.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quillmor {

inline constexpr size_t kMaxZipNameBytes = 511;  // longer names are cut
// A larger central directory makes the archive unreadable: it is read whole
// into memory, by each of three workers at once. 65,535 entries with names of
// 200 bytes fit.
inline constexpr uint64_t kMaxZipDirectoryBytes = 16 << 20;

// General-purpose flag bits.
inline constexpr uint16_t kZipFlagEncrypted = 0x0001;
inline constexpr uint16_t kZipFlagPatchedData = 0x0020;
inline constexpr uint16_t kZipFlagStrongEncryption = 0x0040;
inline constexpr uint16_t kZipFlagEncryptedDirectory = 0x2000;

inline constexpr uint16_t kZipMethodStored = 0;
inline constexpr uint16_t kZipMethodDeflate = 8;

// One entry of the central directory. Sizes and the offset are the ZIP64
// values where the 32-bit fields defer to them.
struct ZipEntry {
  uint32_t index = 0;  // position in the central directory
  std::string name;    // the first kMaxZipNameBytes bytes, as stored
  uint16_t flags = 0;
  uint16_t method = 0;
  uint32_t crc32 = 0;
  uint64_t compressedSize = 0;
  uint64_t uncompressedSize = 0;
  uint32_t externalAttributes = 0;
  uint64_t localHeaderOffset = 0;
  // Its stretch of the archive (local header and data) meets another entry's.
  // Such entries are refused: many entries over one stream would make one
  // small archive cost hours of decoding.
  bool overlapping = false;
  // Where the next entry's local header begins (the archive's end after the
  // last): the entry's data, found when it is extracted, must end there.
  uint64_t nextEntryOffset = 0;
};

struct ZipDirectory {
  uint64_t archiveSize = 0;
  std::vector<ZipEntry> entries;  // in central-directory order
};

// Finds the end record, follows it to the central directory and reads every
// entry. False when the file is not a ZIP archive, spans several disks, has a
// central directory larger than kMaxZipDirectoryBytes, or has any
// inconsistent entry: then nothing in it is trusted. The size the end record
// declares is checked against the file and the cap, and the first header is
// looked at, before the directory is read.
bool ReadZipDirectory(ReadableFile& file, ZipDirectory& directory);

enum class ZipExtractResult {
  kOk,
  kUnsupported,     // a method other than stored or Deflate, or encrypted or patched data
  kBadLocalHeader,  // no local header at the entry's offset, or its data runs past the archive
  kReadFailed,      // the file could not be read
  kBadData,         // the Deflate stream is malformed, too long or too short
  kCrcMismatch,
  kOverlapping,  // its local header or data meets another entry's
};

// Extracts `entry` of the archive read into `directory` into `output`, which
// must have exactly the entry's uncompressed size.
ZipExtractResult ExtractZipEntry(ReadableFile& file, const ZipDirectory& directory, const ZipEntry& entry,
                                 std::span<uint8_t> output);

}  // namespace quillmor
