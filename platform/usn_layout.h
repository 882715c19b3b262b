// Byte layouts of the change-journal structures, as DeviceIoControl reads and
// writes them: USN_JOURNAL_DATA_V0, CREATE_USN_JOURNAL_DATA,
// DELETE_USN_JOURNAL_DATA, MFT_ENUM_DATA_V0, READ_USN_JOURNAL_DATA_V0 and
// USN_RECORD_V2. Fields are read and written one by one in little-endian order;
// no struct is ever overlaid on a buffer. platform/win32 checks every offset
// below against the Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace quillmor::usn {

// Little-endian loads and stores. The caller has checked the bounds.
inline uint16_t Load16(const std::byte* p) {
  return static_cast<uint16_t>(std::to_integer<uint16_t>(p[0]) | (std::to_integer<uint16_t>(p[1]) << 8));
}
inline uint32_t Load32(const std::byte* p) { return Load16(p) | (static_cast<uint32_t>(Load16(p + 2)) << 16); }
inline uint64_t Load64(const std::byte* p) { return Load32(p) | (static_cast<uint64_t>(Load32(p + 4)) << 32); }
inline void Store16(std::byte* p, uint16_t v) {
  p[0] = static_cast<std::byte>(v);
  p[1] = static_cast<std::byte>(v >> 8);
}
inline void Store32(std::byte* p, uint32_t v) {
  Store16(p, static_cast<uint16_t>(v));
  Store16(p + 2, static_cast<uint16_t>(v >> 16));
}
inline void Store64(std::byte* p, uint64_t v) {
  Store32(p, static_cast<uint32_t>(v));
  Store32(p + 4, static_cast<uint32_t>(v >> 32));
}

// USN_JOURNAL_DATA_V0: what FSCTL_QUERY_USN_JOURNAL returns.
struct JournalData {
  static constexpr size_t kSize = 56;
  static constexpr size_t kUsnJournalId = 0;
  static constexpr size_t kFirstUsn = 8;
  static constexpr size_t kNextUsn = 16;
  static constexpr size_t kLowestValidUsn = 24;
  static constexpr size_t kMaxUsn = 32;
  static constexpr size_t kMaximumSize = 40;
  static constexpr size_t kAllocationDelta = 48;

  uint64_t usnJournalId = 0;
  int64_t firstUsn = 0;
  int64_t nextUsn = 0;
  int64_t lowestValidUsn = 0;
  int64_t maxUsn = 0;
  uint64_t maximumSize = 0;
  uint64_t allocationDelta = 0;
};
void Encode(const JournalData& data, std::span<std::byte, JournalData::kSize> out);
JournalData DecodeJournalData(std::span<const std::byte, JournalData::kSize> in);

// CREATE_USN_JOURNAL_DATA: input of FSCTL_CREATE_USN_JOURNAL.
struct CreateJournalData {
  static constexpr size_t kSize = 16;
  static constexpr size_t kMaximumSize = 0;
  static constexpr size_t kAllocationDelta = 8;

  uint64_t maximumSize = 0;
  uint64_t allocationDelta = 0;
};

// DELETE_USN_JOURNAL_DATA: input of FSCTL_DELETE_USN_JOURNAL.
struct DeleteJournalData {
  static constexpr size_t kSize = 16;
  static constexpr size_t kUsnJournalId = 0;
  static constexpr size_t kDeleteFlags = 8;

  uint64_t usnJournalId = 0;
  uint32_t deleteFlags = 0;
};

// MFT_ENUM_DATA_V0: input of FSCTL_ENUM_USN_DATA.
struct MftEnumData {
  static constexpr size_t kSize = 24;
  static constexpr size_t kStartFileReferenceNumber = 0;
  static constexpr size_t kLowUsn = 8;
  static constexpr size_t kHighUsn = 16;

  uint64_t startFileReferenceNumber = 0;
  int64_t lowUsn = 0;
  int64_t highUsn = 0;
};

// READ_USN_JOURNAL_DATA_V0: input of FSCTL_READ_USN_JOURNAL.
struct ReadJournalData {
  static constexpr size_t kSize = 40;
  static constexpr size_t kStartUsn = 0;
  static constexpr size_t kReasonMask = 8;
  static constexpr size_t kReturnOnlyOnClose = 12;
  static constexpr size_t kTimeout = 16;
  static constexpr size_t kBytesToWaitFor = 24;
  static constexpr size_t kUsnJournalId = 32;

  int64_t startUsn = 0;
  uint32_t reasonMask = 0;
  uint32_t returnOnlyOnClose = 0;
  uint64_t timeout = 0;
  uint64_t bytesToWaitFor = 0;
  uint64_t usnJournalId = 0;
};

void Encode(const CreateJournalData& data, std::span<std::byte, CreateJournalData::kSize> out);
void Encode(const DeleteJournalData& data, std::span<std::byte, DeleteJournalData::kSize> out);
void Encode(const MftEnumData& data, std::span<std::byte, MftEnumData::kSize> out);
void Encode(const ReadJournalData& data, std::span<std::byte, ReadJournalData::kSize> out);
CreateJournalData DecodeCreateJournalData(std::span<const std::byte, CreateJournalData::kSize> in);
DeleteJournalData DecodeDeleteJournalData(std::span<const std::byte, DeleteJournalData::kSize> in);
MftEnumData DecodeMftEnumData(std::span<const std::byte, MftEnumData::kSize> in);
ReadJournalData DecodeReadJournalData(std::span<const std::byte, ReadJournalData::kSize> in);

// USN_RECORD_V2: the records of FSCTL_ENUM_USN_DATA and FSCTL_READ_USN_JOURNAL.
// A record is RecordLength bytes long, RecordLength is a multiple of 8, and the
// name (UTF-16LE, not terminated) lies at FileNameOffset within the record.
struct RecordV2 {
  static constexpr size_t kRecordLength = 0;
  static constexpr size_t kMajorVersion = 4;
  static constexpr size_t kMinorVersion = 6;
  static constexpr size_t kFileReferenceNumber = 8;
  static constexpr size_t kParentFileReferenceNumber = 16;
  static constexpr size_t kUsn = 24;
  static constexpr size_t kTimeStamp = 32;
  static constexpr size_t kReason = 40;
  static constexpr size_t kSourceInfo = 44;
  static constexpr size_t kSecurityId = 48;
  static constexpr size_t kFileAttributes = 52;
  static constexpr size_t kFileNameLength = 56;
  static constexpr size_t kFileNameOffset = 58;
  static constexpr size_t kFileName = 60;
  // sizeof(USN_RECORD_V2): the header plus room for one WCHAR of the name.
  static constexpr size_t kStructSize = 64;
  // The bytes every record has before its name.
  static constexpr size_t kHeaderSize = kFileName;
};

// Bytes a V2 record with a name of `nameUnits` UTF-16 units takes in a buffer.
constexpr size_t RecordV2Length(size_t nameUnits) { return (RecordV2::kHeaderSize + 2 * nameUnits + 7) & ~size_t{7}; }

// The fields the indexer reads from one record.
struct RecordView {
  uint32_t recordLength = 0;
  uint64_t fileReferenceNumber = 0;
  uint64_t parentFileReferenceNumber = 0;
  int64_t usn = 0;
  uint32_t reason = 0;
  uint32_t fileAttributes = 0;
  // The name's UTF-16LE bytes inside the buffer; fileNameBytes is even-rounded down.
  const std::byte* fileName = nullptr;
  uint16_t fileNameBytes = 0;
};

// Reads the record at `offset` of `block`. Returns false, reading nothing
// outside `block`, when the record is malformed: RecordLength 0, shorter than
// the header, running past the block, or a name outside the record. A false
// result ends the walk of the block.
bool ReadRecordV2(std::span<const std::byte> block, size_t offset, RecordView& out);

// Writes one V2 record at `out` (which must hold RecordV2Length(name.size())
// bytes), version 2.0, padding zeroed. Returns the record length.
struct RecordFields {
  uint64_t fileReferenceNumber = 0;
  uint64_t parentFileReferenceNumber = 0;
  int64_t usn = 0;
  int64_t timeStamp = 0;
  uint32_t reason = 0;
  uint32_t sourceInfo = 0;
  uint32_t securityId = 0;
  uint32_t fileAttributes = 0;
};
size_t WriteRecordV2(const RecordFields& fields, std::u16string_view name, std::byte* out);

}  // namespace quillmor::usn
