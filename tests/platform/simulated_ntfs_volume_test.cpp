#include "platform/sim/simulated_ntfs_volume.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <vector>

#include "platform/usn_layout.h"
#include "platform/win32_constants.h"

namespace quillmor {
namespace {

using namespace win32;

struct Record {
  uint64_t ref;
  uint64_t parent;
  uint32_t reason;
  std::u16string name;
  int64_t usn;
};

class SimulatedNtfsVolumeTest : public ::testing::Test {
 protected:
  SimulatedNtfsVolumeTest() {
    uint32_t error = 0;
    device = volume.Open(kGenericRead | kGenericWrite, error);
  }

  usn::JournalData Query() {
    std::byte out[usn::JournalData::kSize];
    uint32_t returned = 0;
    EXPECT_EQ(device->IoControl(kFsctlQueryUsnJournal, {}, out, returned), 0u);
    EXPECT_EQ(returned, usn::JournalData::kSize);
    return usn::DecodeJournalData(out);
  }

  // One enumeration call; returns the error and fills the records and next start.
  uint32_t Enumerate(uint64_t start, int64_t low, int64_t high, size_t bufferSize, std::vector<Record>& out,
                     uint64_t& next) {
    std::byte in[usn::MftEnumData::kSize];
    usn::Encode(usn::MftEnumData{start, low, high}, in);
    std::vector<std::byte> buffer(bufferSize);
    uint32_t returned = 0;
    const uint32_t error = device->IoControl(kFsctlEnumUsnData, in, buffer, returned);
    if (error == 0) Parse(std::span<const std::byte>(buffer.data(), returned), out, next);
    return error;
  }

  uint32_t Read(int64_t start, uint32_t mask, uint64_t journalId, std::vector<Record>& out, int64_t& next) {
    std::byte in[usn::ReadJournalData::kSize];
    usn::ReadJournalData r;
    r.startUsn = start;
    r.reasonMask = mask;
    r.usnJournalId = journalId;
    usn::Encode(r, in);
    std::vector<std::byte> buffer(0x10000);
    uint32_t returned = 0;
    const uint32_t error = device->IoControl(kFsctlReadUsnJournal, in, buffer, returned);
    uint64_t header = 0;
    if (error == 0) Parse(std::span<const std::byte>(buffer.data(), returned), out, header);
    next = static_cast<int64_t>(header);
    return error;
  }

  static void Parse(std::span<const std::byte> block, std::vector<Record>& out, uint64_t& header) {
    ASSERT_GE(block.size(), 8u);
    header = usn::Load64(block.data());
    for (size_t offset = 8; offset < block.size();) {
      usn::RecordView v;
      ASSERT_TRUE(usn::ReadRecordV2(block, offset, v));
      ASSERT_EQ(v.recordLength % 8, 0u);
      ASSERT_EQ(usn::Load16(block.data() + offset + usn::RecordV2::kMajorVersion), 2);
      std::u16string name;
      for (size_t i = 0; i < v.fileNameBytes; i += 2) name.push_back(usn::Load16(v.fileName + i));
      out.push_back({v.fileReferenceNumber, v.parentFileReferenceNumber, v.reason, name, v.usn});
      offset += v.recordLength;
    }
  }

  SimulatedNtfsVolume volume;
  std::unique_ptr<VolumeDevice> device;
};

TEST_F(SimulatedNtfsVolumeTest, EnumeratesInReferenceOrderAcrossCallsUntilEndOfFile) {
  const uint64_t dir = volume.AddExistingFile(SimulatedNtfsVolume::kRootRef, u"dir", true);
  for (int i = 0; i < 300; ++i) volume.AddExistingFile(dir, u"file" + std::u16string(20, u'x'));
  const usn::JournalData j = Query();

  std::vector<Record> all;
  uint64_t start = 0;
  int calls = 0;
  for (;; ++calls) {
    uint64_t next = 0;
    const uint32_t error = Enumerate(start, 0, j.nextUsn, 4096, all, next);
    if (error == kErrorHandleEof) break;
    ASSERT_EQ(error, 0u);
    ASSERT_GT(next, start);
    start = next;
  }
  EXPECT_GT(calls, 5);
  ASSERT_EQ(all.size(), 302u);
  EXPECT_EQ(all[0].ref, SimulatedNtfsVolume::kRootRef);
  EXPECT_EQ(all[0].parent, SimulatedNtfsVolume::kRootRef);  // the root is its own parent
  EXPECT_EQ(all[0].name, u".");
  EXPECT_EQ(all[1].ref, dir);
  for (size_t i = 1; i < all.size(); ++i) EXPECT_LT(all[i - 1].ref & 0xFFFFFFFFFFFF, all[i].ref & 0xFFFFFFFFFFFF);
}

TEST_F(SimulatedNtfsVolumeTest, EnumerationHonoursUsnRangeAndBufferSize) {
  const uint64_t old = volume.AddExistingFile(SimulatedNtfsVolume::kRootRef, u"old.txt");
  const int64_t before = Query().nextUsn;
  const uint64_t fresh = volume.CreateFile(SimulatedNtfsVolume::kRootRef, u"new.txt");
  std::vector<Record> records;
  uint64_t next = 0;
  ASSERT_EQ(Enumerate(0, 0, before, 0x10000, records, next), 0u);
  ASSERT_EQ(records.size(), 2u);  // root and old.txt; new.txt changed after `before`
  EXPECT_EQ(records[1].ref, old);
  records.clear();
  ASSERT_EQ(Enumerate(0, before, 0x7FFFFFFFFFFFFFFF, 0x10000, records, next), 0u);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].ref, fresh);

  volume.AddExistingFile(SimulatedNtfsVolume::kRootRef, std::u16string(255, u'n'));
  records.clear();
  // A buffer that holds no record at all: the probe's case.
  EXPECT_EQ(Enumerate((old & 0xFFFFFFFFFFFF) + 2, 0, 0x7FFFFFFFFFFFFFFF, 520, records, next), kErrorMoreData);
}

TEST_F(SimulatedNtfsVolumeTest, JournalRecordsChangesWithReasonsInUsnOrder) {
  const usn::JournalData j = Query();
  const uint64_t dir = volume.CreateFile(SimulatedNtfsVolume::kRootRef, u"dir", true);
  const uint64_t file = volume.CreateFile(SimulatedNtfsVolume::kRootRef, u"a.txt");
  volume.RenameFile(file, dir, u"b.txt");
  volume.WriteFile(file);
  volume.DeleteFile(file);

  std::vector<Record> records;
  int64_t next = 0;
  ASSERT_EQ(Read(j.nextUsn, 0xFFFFFFFF, j.usnJournalId, records, next), 0u);
  const std::vector<uint32_t> reasons = {0x100,  0x80000100, 0x100, 0x80000100, 0x1000,
                                         0x2000, 0x80002000, 0x2,   0x80000002, 0x80000200};
  ASSERT_EQ(records.size(), reasons.size());
  for (size_t i = 0; i < reasons.size(); ++i) EXPECT_EQ(records[i].reason, reasons[i]) << i;
  EXPECT_EQ(records[4].name, u"a.txt");  // old name, old parent
  EXPECT_EQ(records[4].parent, SimulatedNtfsVolume::kRootRef);
  EXPECT_EQ(records[5].name, u"b.txt");
  EXPECT_EQ(records[5].parent, dir);
  for (size_t i = 1; i < records.size(); ++i) EXPECT_GT(records[i].usn, records[i - 1].usn);
  EXPECT_EQ(next, Query().nextUsn);

  // The monitor's mask leaves out the writes but still moves past them.
  records.clear();
  ASSERT_EQ(Read(j.nextUsn, 0x3300, j.usnJournalId, records, next), 0u);
  EXPECT_EQ(records.size(), 8u);
  EXPECT_EQ(next, Query().nextUsn);

  // Nothing new: only the 8-byte header, with the same USN.
  records.clear();
  ASSERT_EQ(Read(next, 0x3300, j.usnJournalId, records, next), 0u);
  EXPECT_TRUE(records.empty());
  EXPECT_EQ(next, Query().nextUsn);
}

TEST_F(SimulatedNtfsVolumeTest, ReusedRecordNumberGetsNextSequence) {
  const uint64_t a = volume.CreateFile(SimulatedNtfsVolume::kRootRef, u"a");
  volume.DeleteFile(a);
  const uint64_t b = volume.CreateFile(SimulatedNtfsVolume::kRootRef, u"b");
  EXPECT_EQ(a & 0xFFFFFFFFFFFF, b & 0xFFFFFFFFFFFF);
  EXPECT_EQ((b >> 48), (a >> 48) + 1);
  EXPECT_FALSE(volume.RenameFile(a, SimulatedNtfsVolume::kRootRef, u"x"));  // stale reference
}

TEST_F(SimulatedNtfsVolumeTest, JournalErrorsMatchWindows) {
  const usn::JournalData j = Query();
  volume.CreateFile(SimulatedNtfsVolume::kRootRef, u"a");
  std::vector<Record> records;
  int64_t next = 0;

  volume.DiscardJournalBefore(j.nextUsn + 8);
  EXPECT_EQ(Read(j.nextUsn, 0x3300, j.usnJournalId, records, next), kErrorJournalEntryDeleted);

  volume.DeleteJournal();
  EXPECT_EQ(Read(j.nextUsn + 8, 0x3300, j.usnJournalId, records, next), kErrorJournalNotActive);
  std::byte out[usn::JournalData::kSize];
  uint32_t returned = 0;
  EXPECT_EQ(device->IoControl(kFsctlQueryUsnJournal, {}, out, returned), kErrorJournalNotActive);

  volume.CreateJournal();
  EXPECT_NE(Query().usnJournalId, j.usnJournalId);
  EXPECT_EQ(Read(Query().nextUsn, 0x3300, j.usnJournalId, records, next), kErrorJournalEntryDeleted);

  volume.SetJournalUnsupported(true);
  EXPECT_EQ(device->IoControl(kFsctlQueryUsnJournal, {}, out, returned), kErrorNotSupported);
  volume.SetJournalUnsupported(false);

  volume.Disconnect();
  EXPECT_EQ(device->IoControl(kFsctlQueryUsnJournal, {}, out, returned), kErrorDeviceNotConnected);
  uint32_t error = 0;
  EXPECT_EQ(volume.Open(kGenericRead, error), nullptr);
  EXPECT_EQ(error, kErrorFileNotFound);
  volume.Reconnect();

  EXPECT_EQ(device->Close(), 0u);
  EXPECT_EQ(device->IoControl(kFsctlQueryUsnJournal, {}, out, returned), kErrorInvalidHandle);
}

TEST_F(SimulatedNtfsVolumeTest, CancelIoEndsHeldReadWith995AndSparesLaterReads) {
  const usn::JournalData j = Query();
  volume.HoldReads(true);
  auto pending = std::async(std::launch::async, [&] {
    std::vector<Record> records;
    int64_t next = 0;
    return Read(j.nextUsn, 0x3300, j.usnJournalId, records, next);
  });
  while (volume.ReadCallCount() == 0) std::this_thread::yield();
  device->CancelIo();
  EXPECT_EQ(pending.get(), kErrorOperationAborted);
  volume.HoldReads(false);
  std::vector<Record> records;
  int64_t next = 0;
  EXPECT_EQ(Read(j.nextUsn, 0x3300, j.usnJournalId, records, next), 0u);
}

TEST_F(SimulatedNtfsVolumeTest, ReadWriteOpenCanBeRefused) {
  volume.RefuseReadWriteOpen(true);
  uint32_t error = 0;
  EXPECT_EQ(volume.Open(kGenericRead | kGenericWrite, error), nullptr);
  EXPECT_EQ(error, kErrorAccessDenied);
  EXPECT_NE(volume.Open(kGenericRead, error), nullptr);

  SimulatedVolumeDevices devices;
  devices.Mount(u'c', volume);
  EXPECT_NE(devices.Open(u"\\\\.\\C:", kGenericRead, error), nullptr);
  EXPECT_EQ(devices.Open(u"\\\\.\\D:", kGenericRead, error), nullptr);
  EXPECT_EQ(devices.Open(u"C:", kGenericRead, error), nullptr);
  EXPECT_EQ(error, kErrorFileNotFound);
}

}  // namespace
}  // namespace quillmor
