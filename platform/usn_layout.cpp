#include "platform/usn_layout.h"

#include <bit>

namespace quillmor::usn {

void Encode(const JournalData& d, std::span<std::byte, JournalData::kSize> out) {
  std::byte* p = out.data();
  Store64(p + JournalData::kUsnJournalId, d.usnJournalId);
  Store64(p + JournalData::kFirstUsn, static_cast<uint64_t>(d.firstUsn));
  Store64(p + JournalData::kNextUsn, static_cast<uint64_t>(d.nextUsn));
  Store64(p + JournalData::kLowestValidUsn, static_cast<uint64_t>(d.lowestValidUsn));
  Store64(p + JournalData::kMaxUsn, static_cast<uint64_t>(d.maxUsn));
  Store64(p + JournalData::kMaximumSize, d.maximumSize);
  Store64(p + JournalData::kAllocationDelta, d.allocationDelta);
}

JournalData DecodeJournalData(std::span<const std::byte, JournalData::kSize> in) {
  const std::byte* p = in.data();
  JournalData d;
  d.usnJournalId = Load64(p + JournalData::kUsnJournalId);
  d.firstUsn = static_cast<int64_t>(Load64(p + JournalData::kFirstUsn));
  d.nextUsn = static_cast<int64_t>(Load64(p + JournalData::kNextUsn));
  d.lowestValidUsn = static_cast<int64_t>(Load64(p + JournalData::kLowestValidUsn));
  d.maxUsn = static_cast<int64_t>(Load64(p + JournalData::kMaxUsn));
  d.maximumSize = Load64(p + JournalData::kMaximumSize);
  d.allocationDelta = Load64(p + JournalData::kAllocationDelta);
  return d;
}

void Encode(const CreateJournalData& d, std::span<std::byte, CreateJournalData::kSize> out) {
  Store64(out.data() + CreateJournalData::kMaximumSize, d.maximumSize);
  Store64(out.data() + CreateJournalData::kAllocationDelta, d.allocationDelta);
}

CreateJournalData DecodeCreateJournalData(std::span<const std::byte, CreateJournalData::kSize> in) {
  return {Load64(in.data() + CreateJournalData::kMaximumSize), Load64(in.data() + CreateJournalData::kAllocationDelta)};
}

void Encode(const DeleteJournalData& d, std::span<std::byte, DeleteJournalData::kSize> out) {
  Store64(out.data() + DeleteJournalData::kUsnJournalId, d.usnJournalId);
  Store32(out.data() + DeleteJournalData::kDeleteFlags, d.deleteFlags);
  Store32(out.data() + DeleteJournalData::kDeleteFlags + 4, 0);  // alignment padding
}

DeleteJournalData DecodeDeleteJournalData(std::span<const std::byte, DeleteJournalData::kSize> in) {
  return {Load64(in.data() + DeleteJournalData::kUsnJournalId), Load32(in.data() + DeleteJournalData::kDeleteFlags)};
}

void Encode(const MftEnumData& d, std::span<std::byte, MftEnumData::kSize> out) {
  Store64(out.data() + MftEnumData::kStartFileReferenceNumber, d.startFileReferenceNumber);
  Store64(out.data() + MftEnumData::kLowUsn, static_cast<uint64_t>(d.lowUsn));
  Store64(out.data() + MftEnumData::kHighUsn, static_cast<uint64_t>(d.highUsn));
}

MftEnumData DecodeMftEnumData(std::span<const std::byte, MftEnumData::kSize> in) {
  MftEnumData d;
  d.startFileReferenceNumber = Load64(in.data() + MftEnumData::kStartFileReferenceNumber);
  d.lowUsn = static_cast<int64_t>(Load64(in.data() + MftEnumData::kLowUsn));
  d.highUsn = static_cast<int64_t>(Load64(in.data() + MftEnumData::kHighUsn));
  return d;
}

void Encode(const ReadJournalData& d, std::span<std::byte, ReadJournalData::kSize> out) {
  std::byte* p = out.data();
  Store64(p + ReadJournalData::kStartUsn, static_cast<uint64_t>(d.startUsn));
  Store32(p + ReadJournalData::kReasonMask, d.reasonMask);
  Store32(p + ReadJournalData::kReturnOnlyOnClose, d.returnOnlyOnClose);
  Store64(p + ReadJournalData::kTimeout, d.timeout);
  Store64(p + ReadJournalData::kBytesToWaitFor, d.bytesToWaitFor);
  Store64(p + ReadJournalData::kUsnJournalId, d.usnJournalId);
}

ReadJournalData DecodeReadJournalData(std::span<const std::byte, ReadJournalData::kSize> in) {
  const std::byte* p = in.data();
  ReadJournalData d;
  d.startUsn = static_cast<int64_t>(Load64(p + ReadJournalData::kStartUsn));
  d.reasonMask = Load32(p + ReadJournalData::kReasonMask);
  d.returnOnlyOnClose = Load32(p + ReadJournalData::kReturnOnlyOnClose);
  d.timeout = Load64(p + ReadJournalData::kTimeout);
  d.bytesToWaitFor = Load64(p + ReadJournalData::kBytesToWaitFor);
  d.usnJournalId = Load64(p + ReadJournalData::kUsnJournalId);
  return d;
}

bool ReadRecordV2(std::span<const std::byte> block, size_t offset, RecordView& out) {
  if (offset > block.size() || block.size() - offset < RecordV2::kHeaderSize) return false;
  const std::byte* p = block.data() + offset;
  const uint32_t length = Load32(p + RecordV2::kRecordLength);
  if (length < RecordV2::kHeaderSize || length > block.size() - offset) return false;
  const uint16_t nameBytes = Load16(p + RecordV2::kFileNameLength);
  const uint16_t nameOffset = Load16(p + RecordV2::kFileNameOffset);
  if (nameOffset < RecordV2::kHeaderSize || size_t{nameOffset} + nameBytes > length) return false;

  out.recordLength = length;
  out.fileReferenceNumber = Load64(p + RecordV2::kFileReferenceNumber);
  out.parentFileReferenceNumber = Load64(p + RecordV2::kParentFileReferenceNumber);
  out.usn = static_cast<int64_t>(Load64(p + RecordV2::kUsn));
  out.reason = Load32(p + RecordV2::kReason);
  out.fileAttributes = Load32(p + RecordV2::kFileAttributes);
  out.fileName = p + nameOffset;
  out.fileNameBytes = static_cast<uint16_t>(nameBytes & ~1u);
  return true;
}

size_t WriteRecordV2(const RecordFields& f, std::u16string_view name, std::byte* out) {
  const size_t length = RecordV2Length(name.size());
  Store32(out + RecordV2::kRecordLength, static_cast<uint32_t>(length));
  Store16(out + RecordV2::kMajorVersion, 2);
  Store16(out + RecordV2::kMinorVersion, 0);
  Store64(out + RecordV2::kFileReferenceNumber, f.fileReferenceNumber);
  Store64(out + RecordV2::kParentFileReferenceNumber, f.parentFileReferenceNumber);
  Store64(out + RecordV2::kUsn, static_cast<uint64_t>(f.usn));
  Store64(out + RecordV2::kTimeStamp, static_cast<uint64_t>(f.timeStamp));
  Store32(out + RecordV2::kReason, f.reason);
  Store32(out + RecordV2::kSourceInfo, f.sourceInfo);
  Store32(out + RecordV2::kSecurityId, f.securityId);
  Store32(out + RecordV2::kFileAttributes, f.fileAttributes);
  Store16(out + RecordV2::kFileNameLength, static_cast<uint16_t>(name.size() * 2));
  Store16(out + RecordV2::kFileNameOffset, static_cast<uint16_t>(RecordV2::kFileName));
  std::byte* dst = out + RecordV2::kFileName;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(dst, name.data(), name.size() * 2);
    dst += name.size() * 2;
  } else {
    for (char16_t c : name) {
      Store16(dst, static_cast<uint16_t>(c));
      dst += 2;
    }
  }
  std::memset(dst, 0, out + length - dst);
  return length;
}

}  // namespace quillmor::usn
