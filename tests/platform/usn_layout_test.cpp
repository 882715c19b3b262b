#include "platform/usn_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillmor::usn {
namespace {

TEST(UsnLayoutTest, RecordRoundTripsWithAlignedLengthAndVersion) {
  std::vector<std::byte> block(RecordV2Length(3), std::byte{0xCC});
  RecordFields f;
  f.fileReferenceNumber = 0x0001000000000020ull;
  f.parentFileReferenceNumber = 0x0005000000000005ull;
  f.usn = 4096;
  f.reason = 0x80000100;
  f.fileAttributes = 0x10;
  ASSERT_EQ(WriteRecordV2(f, u"abc", block.data()), 72u);  // 60 + 6, rounded up to 8
  EXPECT_EQ(Load16(block.data() + RecordV2::kMajorVersion), 2);
  EXPECT_EQ(block[66], std::byte{0});  // padding is zeroed

  RecordView r;
  ASSERT_TRUE(ReadRecordV2(block, 0, r));
  EXPECT_EQ(r.recordLength, 72u);
  EXPECT_EQ(r.fileReferenceNumber, f.fileReferenceNumber);
  EXPECT_EQ(r.parentFileReferenceNumber, f.parentFileReferenceNumber);
  EXPECT_EQ(r.usn, 4096);
  EXPECT_EQ(r.reason, 0x80000100u);
  EXPECT_EQ(r.fileAttributes, 0x10u);
  EXPECT_EQ(r.fileNameBytes, 6);
  EXPECT_EQ(r.fileName, block.data() + 60);
}

// Every way a record can lie about its size must be refused without reading
// past the block.
TEST(UsnLayoutTest, MalformedRecordsAreRefused) {
  struct Case {
    const char* what;
    uint32_t recordLength;
    uint16_t nameBytes;
    uint16_t nameOffset;
    size_t blockSize;
  };
  const Case cases[] = {
      {"length zero", 0, 2, 60, 64},
      {"shorter than the header", 56, 0, 60, 64},
      {"runs past the block", 72, 2, 60, 64},
      {"name past the record", 64, 8, 60, 64},
      {"name inside the header", 64, 2, 8, 64},
      {"block shorter than a header", 64, 2, 60, 40},
  };
  for (const Case& c : cases) {
    std::vector<std::byte> block(std::max<size_t>(c.blockSize, 64));
    Store32(block.data() + RecordV2::kRecordLength, c.recordLength);
    Store16(block.data() + RecordV2::kFileNameLength, c.nameBytes);
    Store16(block.data() + RecordV2::kFileNameOffset, c.nameOffset);
    RecordView r;
    EXPECT_FALSE(ReadRecordV2(std::span<const std::byte>(block.data(), c.blockSize), 0, r)) << c.what;
  }
}

TEST(UsnLayoutTest, InputStructuresEncodeAtTheirOffsets) {
  std::byte buffer[ReadJournalData::kSize];
  ReadJournalData d;
  d.startUsn = 0x1122;
  d.reasonMask = 0x3300;
  d.usnJournalId = 0xABCD;
  Encode(d, buffer);
  EXPECT_EQ(Load64(buffer + 0), 0x1122u);
  EXPECT_EQ(Load32(buffer + 8), 0x3300u);
  EXPECT_EQ(Load64(buffer + 32), 0xABCDu);
  const ReadJournalData back = DecodeReadJournalData(buffer);
  EXPECT_EQ(back.usnJournalId, 0xABCDu);

  std::byte journal[JournalData::kSize];
  Encode(JournalData{7, 1, 2, 3, 4, 5, 6}, journal);
  const JournalData j = DecodeJournalData(journal);
  EXPECT_EQ(j.usnJournalId, 7u);
  EXPECT_EQ(j.nextUsn, 2);
  EXPECT_EQ(j.allocationDelta, 6u);
}

}  // namespace
}  // namespace quillmor::usn
