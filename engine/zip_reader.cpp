#include "engine/zip_reader.h"

#include <algorithm>
#include <memory>
#include <new>

#include "engine/crc32.h"
#include "engine/inflate.h"

namespace quillmor {
namespace {

// --- Record layouts: byte offsets of the fields we read, all little-endian ---

// End of central directory record, 22 bytes plus a comment.
namespace eocd {
constexpr uint32_t kSignature = 0x06054B50;
constexpr size_t kSize = 22;
constexpr size_t kThisDisk = 4;          // 2 bytes
constexpr size_t kDirectoryDisk = 6;     // 2: the disk where the central directory starts
constexpr size_t kEntriesOnDisk = 8;     // 2
constexpr size_t kEntriesTotal = 10;     // 2
constexpr size_t kDirectorySize = 12;    // 4
constexpr size_t kDirectoryOffset = 16;  // 4
}  // namespace eocd

// ZIP64 end of central directory locator, right before the end record.
namespace locator {
constexpr uint32_t kSignature = 0x07064B50;
constexpr size_t kSize = 20;
constexpr size_t kRecordOffset = 8;  // 8: where the ZIP64 end record is
constexpr size_t kTotalDisks = 16;   // 4
}  // namespace locator

// ZIP64 end of central directory record, 56 bytes plus an extensible part.
namespace eocd64 {
constexpr uint32_t kSignature = 0x06064B50;
constexpr size_t kSize = 56;
constexpr size_t kRecordSize = 4;        // 8: size of the record after this field
constexpr size_t kThisDisk = 16;         // 4
constexpr size_t kDirectoryDisk = 20;    // 4
constexpr size_t kEntriesOnDisk = 24;    // 8
constexpr size_t kEntriesTotal = 32;     // 8
constexpr size_t kDirectorySize = 40;    // 8
constexpr size_t kDirectoryOffset = 48;  // 8
constexpr uint64_t kMinRecordSize = 44;
}  // namespace eocd64

// Central directory file header, 46 bytes plus name, extra field and comment.
namespace central {
constexpr uint32_t kSignature = 0x02014B50;
constexpr size_t kSize = 46;
constexpr size_t kFlags = 8;                // 2
constexpr size_t kMethod = 10;              // 2
constexpr size_t kCrc32 = 16;               // 4
constexpr size_t kCompressedSize = 20;      // 4
constexpr size_t kUncompressedSize = 24;    // 4
constexpr size_t kNameLength = 28;          // 2
constexpr size_t kExtraLength = 30;         // 2
constexpr size_t kCommentLength = 32;       // 2
constexpr size_t kDiskStart = 34;           // 2
constexpr size_t kExternalAttributes = 38;  // 4
constexpr size_t kLocalHeaderOffset = 42;   // 4
}  // namespace central

// Local file header, 30 bytes plus name and extra field, before the data.
namespace local {
constexpr uint32_t kSignature = 0x04034B50;
constexpr size_t kSize = 30;
constexpr size_t kNameLength = 26;   // 2
constexpr size_t kExtraLength = 28;  // 2
}  // namespace local

// The ZIP64 extended information extra field.
constexpr uint16_t kZip64ExtraId = 1;
constexpr uint32_t kDeferred32 = 0xFFFFFFFF;  // "see the ZIP64 field"
constexpr uint16_t kDeferred16 = 0xFFFF;

// How far back the end record may lie: its size plus the longest comment.
constexpr uint64_t kEndSearchReach = 65535 + eocd::kSize;
constexpr size_t kEndSearchWindow = 4096;
constexpr size_t kCompressedChunk = 65536;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return Le16(p) | static_cast<uint32_t>(Le16(p + 2)) << 16; }
uint64_t Le64(const uint8_t* p) { return Le32(p) | static_cast<uint64_t>(Le32(p + 4)) << 32; }

// True when [offset, offset + length) lies within [0, limit).
bool Within(uint64_t offset, uint64_t length, uint64_t limit) { return offset <= limit && length <= limit - offset; }

bool ReadExact(ReadableFile& file, uint64_t offset, std::span<uint8_t> out) {
  while (!out.empty()) {
    const size_t n = file.Read(offset, std::as_writable_bytes(out));
    if (n == 0 || n > out.size()) return false;
    out = out.subspan(n);
    offset += n;
  }
  return true;
}

// The offset of the end record nearest to the end of the archive, searched
// backwards in overlapping windows. False when there is none in reach.
bool FindEndRecord(ReadableFile& file, uint64_t size, uint64_t& found) {
  uint8_t window[kEndSearchWindow];
  uint64_t end = size;
  for (;;) {
    const uint64_t start = end > kEndSearchWindow ? end - kEndSearchWindow : 0;
    const size_t length = static_cast<size_t>(end - start);
    if (!ReadExact(file, start, std::span(window, length))) return false;
    // A record starts at least 22 bytes before the end of the archive.
    const uint64_t lastStart = size - eocd::kSize;
    for (size_t i = length >= 4 ? length - 4 + 1 : 0; i-- > 0;) {
      if (start + i <= lastStart && Le32(window + i) == eocd::kSignature) {
        found = start + i;
        return true;
      }
    }
    if (start == 0 || size - start >= kEndSearchReach) return false;
    end = start + 3;  // the next window overlaps by 3 bytes, so a signature across the edge is seen
  }
}

// The fields of the end records that lead to the central directory.
struct DirectoryLocation {
  uint64_t endRecordOffset = 0;
  uint32_t thisDisk = 0;
  uint32_t directoryDisk = 0;
  uint64_t entriesOnDisk = 0;
  uint64_t entriesTotal = 0;
  uint64_t directorySize = 0;
  uint64_t directoryOffset = 0;
};

bool ReadZip64EndRecord(ReadableFile& file, uint64_t size, uint64_t offset, uint8_t (&record)[eocd64::kSize]) {
  return offset <= size && size - offset >= eocd64::kSize && ReadExact(file, offset, record) &&
         Le32(record) == eocd64::kSignature;
}

bool LocateDirectory(ReadableFile& file, uint64_t size, DirectoryLocation& where) {
  uint64_t at;
  if (!FindEndRecord(file, size, at)) return false;
  uint8_t end[eocd::kSize];
  if (!ReadExact(file, at, end)) return false;
  where.endRecordOffset = at;
  where.thisDisk = Le16(end + eocd::kThisDisk);
  where.directoryDisk = Le16(end + eocd::kDirectoryDisk);
  where.entriesOnDisk = Le16(end + eocd::kEntriesOnDisk);
  where.entriesTotal = Le16(end + eocd::kEntriesTotal);
  where.directorySize = Le32(end + eocd::kDirectorySize);
  where.directoryOffset = Le32(end + eocd::kDirectoryOffset);

  if (at < eocd64::kSize + locator::kSize) return true;
  uint8_t loc[locator::kSize];
  if (!ReadExact(file, at - locator::kSize, loc) || Le32(loc) != locator::kSignature) return true;

  // ZIP64: the record is normally right before the locator; else where the
  // locator says (offsets can be off when data was put before the archive).
  uint8_t record[eocd64::kSize];
  if (!ReadZip64EndRecord(file, size, at - locator::kSize - eocd64::kSize, record) &&
      !ReadZip64EndRecord(file, size, Le64(loc + locator::kRecordOffset), record)) {
    return false;
  }
  if (Le64(record + eocd64::kRecordSize) < eocd64::kMinRecordSize || Le32(loc + locator::kTotalDisks) != 1) {
    return false;
  }
  where.entriesOnDisk = Le64(record + eocd64::kEntriesOnDisk);
  where.entriesTotal = Le64(record + eocd64::kEntriesTotal);
  where.directorySize = Le64(record + eocd64::kDirectorySize);
  where.directoryOffset = Le64(record + eocd64::kDirectoryOffset);
  // Writers that need ZIP64 may leave the 16-bit disk numbers at 0xFFFF.
  if (where.thisDisk == kDeferred16) where.thisDisk = Le32(record + eocd64::kThisDisk);
  if (where.directoryDisk == kDeferred16) where.directoryDisk = Le32(record + eocd64::kDirectoryDisk);
  return where.entriesOnDisk <= UINT32_MAX && where.entriesTotal <= UINT32_MAX && where.directorySize <= UINT32_MAX;
}

// Replaces the 32-bit sizes and offset that are 0xFFFFFFFF by the values of
// the ZIP64 extra field, which holds them in this order and only those.
bool ApplyZip64Extra(const uint8_t* extra, size_t extraLength, ZipEntry& entry) {
  const bool needUncompressed = entry.uncompressedSize == kDeferred32;
  const bool needCompressed = entry.compressedSize == kDeferred32;
  const bool needOffset = entry.localHeaderOffset == kDeferred32;
  if (!needUncompressed && !needCompressed && !needOffset) return true;
  for (size_t pos = 0; extraLength - pos >= 4;) {
    const uint16_t id = Le16(extra + pos);
    const size_t length = Le16(extra + pos + 2);
    if (length > extraLength - pos - 4) return false;
    const uint8_t* data = extra + pos + 4;
    if (id == kZip64ExtraId) {
      size_t used = 0;
      auto take = [&](uint64_t& value) {
        if (length - used < 8) return false;
        value = Le64(data + used);
        used += 8;
        return true;
      };
      return (!needUncompressed || take(entry.uncompressedSize)) && (!needCompressed || take(entry.compressedSize)) &&
             (!needOffset || take(entry.localHeaderOffset));
    }
    pos += 4 + length;
  }
  return false;  // values deferred to a field that is not there
}

bool ParseDirectory(std::span<const uint8_t> bytes, const DirectoryLocation& where, uint64_t archiveSize,
                    std::vector<ZipEntry>& entries) {
  size_t pos = 0;
  for (uint64_t index = 0; index < where.entriesTotal; ++index) {
    if (bytes.size() - pos < central::kSize) return false;
    const uint8_t* h = bytes.data() + pos;
    if (Le32(h) != central::kSignature) return false;
    const size_t nameLength = Le16(h + central::kNameLength);
    const size_t extraLength = Le16(h + central::kExtraLength);
    const size_t commentLength = Le16(h + central::kCommentLength);
    const size_t headerLength = central::kSize + nameLength + extraLength + commentLength;
    if (bytes.size() - pos < headerLength) return false;

    ZipEntry entry;
    entry.index = static_cast<uint32_t>(index);
    entry.flags = Le16(h + central::kFlags);
    entry.method = Le16(h + central::kMethod);
    entry.crc32 = Le32(h + central::kCrc32);
    entry.compressedSize = Le32(h + central::kCompressedSize);
    entry.uncompressedSize = Le32(h + central::kUncompressedSize);
    entry.externalAttributes = Le32(h + central::kExternalAttributes);
    entry.localHeaderOffset = Le32(h + central::kLocalHeaderOffset);
    const uint32_t diskStart = Le16(h + central::kDiskStart);
    const uint8_t* name = h + central::kSize;
    entry.name.assign(reinterpret_cast<const char*>(name), std::min(nameLength, kMaxZipNameBytes));
    if (!ApplyZip64Extra(name + nameLength, extraLength, entry)) return false;

    if (entry.flags & kZipFlagEncryptedDirectory) return false;
    if (diskStart != where.thisDisk && diskStart != 1) return false;
    if (!Within(entry.localHeaderOffset, local::kSize, archiveSize) ||
        !Within(entry.localHeaderOffset + local::kSize, entry.compressedSize, archiveSize)) {
      return false;
    }
    // An encrypted stored entry carries a 12-byte encryption header, so only
    // plain stored entries must have equal sizes.
    if (entry.method == kZipMethodStored && !(entry.flags & kZipFlagEncrypted) &&
        entry.compressedSize != entry.uncompressedSize) {
      return false;
    }
    if (entry.uncompressedSize != 0 && entry.compressedSize == 0) return false;
    entries.push_back(std::move(entry));
    pos += headerLength;
  }
  return true;
}

// The bytes an entry occupies at least: its local header's fixed part and its
// data (the local name and extra field, read only when the entry is
// extracted, come on top). ParseDirectory checked that they lie inside the
// archive.
uint64_t StretchEnd(const ZipEntry& entry) { return entry.localHeaderOffset + local::kSize + entry.compressedSize; }

// Marks every entry whose stretch meets another entry's, and tells each where
// the next one begins. In offset order, an entry meets an earlier one when it
// starts before the farthest end so far, and a later one when the next starts
// before its own end.
void MarkOverlaps(std::vector<ZipEntry>& entries, uint64_t archiveSize) {
  std::vector<uint32_t> order(entries.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(),
            [&](uint32_t a, uint32_t b) { return entries[a].localHeaderOffset < entries[b].localHeaderOffset; });
  uint64_t farthestEnd = 0;
  for (size_t k = 0; k < order.size(); ++k) {
    ZipEntry& entry = entries[order[k]];
    const uint64_t end = StretchEnd(entry);
    if (k > 0 && entry.localHeaderOffset < farthestEnd) entry.overlapping = true;
    entry.nextEntryOffset = k + 1 < order.size() ? entries[order[k + 1]].localHeaderOffset : archiveSize;
    if (entry.nextEntryOffset < end) entry.overlapping = true;
    farthestEnd = std::max(farthestEnd, end);
  }
}

// Feeds an entry's compressed bytes to the decoder in chunks.
class CompressedChunks : public InflateInput {
 public:
  CompressedChunks(ReadableFile& file, uint64_t offset, uint64_t length, uint8_t* buffer)
      : file_(file), offset_(offset), left_(length), buffer_(buffer) {}

  std::span<const uint8_t> Next() override {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(left_, kCompressedChunk));
    if (n == 0 || !ReadExact(file_, offset_, std::span(buffer_, n))) {
      readFailed_ = n != 0;
      left_ = 0;
      return {};
    }
    offset_ += n;
    left_ -= n;
    return std::span(buffer_, n);
  }
  bool readFailed() const { return readFailed_; }

 private:
  ReadableFile& file_;
  uint64_t offset_;
  uint64_t left_;
  uint8_t* buffer_;
  bool readFailed_ = false;
};

}  // namespace

bool ReadZipDirectory(ReadableFile& file, ZipDirectory& directory) {
  directory = {};
  const uint64_t size = file.Size();
  if (size < eocd::kSize) return false;
  DirectoryLocation where;
  if (!LocateDirectory(file, size, where)) return false;

  const bool singleDisk =
      (where.thisDisk == 0 && where.directoryDisk == 0) || (where.thisDisk == 1 && where.directoryDisk == 1);
  if (!singleDisk || where.entriesOnDisk != where.entriesTotal) return false;
  if (where.directorySize / central::kSize < where.entriesTotal) return false;
  if (!Within(where.directoryOffset, where.directorySize, where.endRecordOffset)) return false;
  // A sparse file can claim any size: cap it, and see that a header starts
  // where the directory should, before anything is allocated.
  if (where.directorySize > kMaxZipDirectoryBytes) return false;
  if (where.entriesTotal > 0) {
    uint8_t signature[4];
    if (!ReadExact(file, where.directoryOffset, signature) || Le32(signature) != central::kSignature) return false;
  }

  // A failed allocation is a file we cannot read, not a crash.
  const auto directorySize = static_cast<size_t>(where.directorySize);
  std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[directorySize == 0 ? 1 : directorySize]);
  if (!bytes || !ReadExact(file, where.directoryOffset, std::span(bytes.get(), directorySize))) return false;
  try {
    directory.entries.reserve(static_cast<size_t>(where.entriesTotal));
    if (!ParseDirectory(std::span(bytes.get(), directorySize), where, size, directory.entries)) {
      directory.entries.clear();
      return false;
    }
    MarkOverlaps(directory.entries, size);
  } catch (const std::bad_alloc&) {
    directory.entries.clear();
    return false;
  }
  directory.archiveSize = size;
  return true;
}

ZipExtractResult ExtractZipEntry(ReadableFile& file, const ZipDirectory& directory, const ZipEntry& entry,
                                 std::span<uint8_t> output) {
  if ((entry.method != kZipMethodStored && entry.method != kZipMethodDeflate) ||
      (entry.flags & (kZipFlagEncrypted | kZipFlagStrongEncryption | kZipFlagPatchedData))) {
    return ZipExtractResult::kUnsupported;
  }
  if (entry.overlapping) return ZipExtractResult::kOverlapping;
  if (output.size() != entry.uncompressedSize) return ZipExtractResult::kBadData;

  uint8_t header[local::kSize];
  if (!Within(entry.localHeaderOffset, local::kSize, directory.archiveSize)) return ZipExtractResult::kBadLocalHeader;
  if (!ReadExact(file, entry.localHeaderOffset, header)) return ZipExtractResult::kReadFailed;
  if (Le32(header) != local::kSignature) return ZipExtractResult::kBadLocalHeader;
  const uint64_t dataOffset =
      entry.localHeaderOffset + local::kSize + Le16(header + local::kNameLength) + Le16(header + local::kExtraLength);
  if (!Within(dataOffset, entry.compressedSize, directory.archiveSize)) return ZipExtractResult::kBadLocalHeader;
  // The local name and extra field can push the data into the next entry.
  if (dataOffset + entry.compressedSize > entry.nextEntryOffset) return ZipExtractResult::kOverlapping;

  if (entry.method == kZipMethodStored) {
    if (entry.compressedSize != entry.uncompressedSize) return ZipExtractResult::kBadData;
    if (!ReadExact(file, dataOffset, output)) return ZipExtractResult::kReadFailed;
  } else {
    std::unique_ptr<uint8_t[]> chunk(new (std::nothrow) uint8_t[kCompressedChunk]);
    if (!chunk) return ZipExtractResult::kReadFailed;
    CompressedChunks input(file, dataOffset, entry.compressedSize, chunk.get());
    const InflateResult result = InflateRaw(input, output);
    if (input.readFailed()) return ZipExtractResult::kReadFailed;
    if (!result.ok() || result.produced != output.size()) return ZipExtractResult::kBadData;
  }
  if (Crc32(output) != entry.crc32) return ZipExtractResult::kCrcMismatch;
  return ZipExtractResult::kOk;
}

}  // namespace quillmor
