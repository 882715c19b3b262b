#include "index/journal_monitor.h"

#include "platform/win32_constants.h"
#include "tests/index/ntfs_test_fixture.h"

namespace quillmor {
namespace {

class JournalMonitorTest : public NtfsFixture {
 protected:
  void SetUp() override {
    docs = disk.AddExistingFile(kRoot, u"docs", true);
    report = disk.AddExistingFile(docs, u"report.pdf");
    ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));
  }

  // The record of a reference, copied under the lock.
  bool RecordOf(uint64_t ref, FileRecord& out) {
    std::shared_lock lock(index.recordsLock);
    uint64_t i = 0;
    if (!index.refToIndex.Find(ref, i)) return false;
    out = index.records[i];
    return true;
  }
  uint64_t IndexOf(uint64_t ref) {
    std::shared_lock lock(index.recordsLock);
    uint64_t i = ~uint64_t{0};
    index.refToIndex.Find(ref, i);
    return i;
  }
  // Waits until the monitor has read everything the journal holds now.
  bool CaughtUp() {
    const int64_t target = disk.Journal().nextUsn;
    return WaitUntil([&] { return index.nextUsn.load() >= target; });
  }
  void CacheAttributes(uint64_t ref) {
    std::unique_lock lock(index.attrsLock);
    index.attrs[ref] = AttrEntry{1, 2, 3, 1};
  }
  bool HasAttributes(uint64_t ref) {
    std::shared_lock lock(index.attrsLock);
    return index.attrs.count(ref) != 0;
  }
  uint64_t DeletedCount() {
    std::shared_lock lock(index.recordsLock);
    return index.deletedCount;
  }

  uint64_t docs = 0, report = 0;
};

TEST_F(JournalMonitorTest, CreatedFileIsAppendedAndLaterCreateRecordsOnlyRefreshIt) {
  const uint64_t dir = disk.CreateFile(kRoot, u"new dir", true);
  const uint64_t file = disk.CreateFile(dir, u"Draft.docx");
  ASSERT_TRUE(CaughtUp());
  EXPECT_TRUE(HasPath(u"C:\\new dir\\Draft.docx"));
  FileRecord r;
  ASSERT_TRUE(RecordOf(dir, r));
  EXPECT_EQ(r.isDirectory, 1u);
  const uint64_t at = IndexOf(file);

  // CREATE | CLOSE records came after the CREATE ones: no duplicates.
  EXPECT_EQ(Paths().size(), 5u);
  disk.AppendJournalRecord(file, kRoot, u"Draft (2).docx", win32::kUsnReasonFileCreate, 0x10);
  ASSERT_TRUE(CaughtUp());
  EXPECT_EQ(IndexOf(file), at);
  ASSERT_TRUE(RecordOf(file, r));
  EXPECT_EQ(r.isDirectory, 0u);  // kept from creation
  EXPECT_TRUE(HasPath(u"C:\\Draft (2).docx"));
}

TEST_F(JournalMonitorTest, RenameAndMoveKeepRecordIndex) {
  const uint64_t at = IndexOf(report);
  CacheAttributes(report);
  const uint64_t generation = g_attrCounters.cacheGeneration;
  disk.RenameFile(report, docs, u"Report-final.PDF");
  ASSERT_TRUE(CaughtUp());
  EXPECT_TRUE(HasPath(u"C:\\docs\\Report-final.PDF"));
  EXPECT_FALSE(HasPath(u"C:\\docs\\report.pdf"));
  EXPECT_EQ(IndexOf(report), at);
  EXPECT_FALSE(HasAttributes(report));
  EXPECT_GT(g_attrCounters.cacheGeneration, generation);

  disk.RenameFile(report, kRoot, u"Report-final.PDF");
  ASSERT_TRUE(CaughtUp());
  EXPECT_TRUE(HasPath(u"C:\\Report-final.PDF"));
  EXPECT_EQ(IndexOf(report), at);
  FileRecord r;
  ASSERT_TRUE(RecordOf(report, r));
  EXPECT_EQ(std::u16string(r.lowerName()), u"report-final.pdf");
}

// The initials rule looks only at names that may hold Chinese characters: the
// mark must follow every name a record is given.
TEST_F(JournalMonitorTest, CjkMarkFollowsTheName) {
  FileRecord r;
  ASSERT_TRUE(RecordOf(report, r));
  EXPECT_EQ(r.nameMayHoldCjk, 0u);  // from the enumeration

  const uint64_t file = disk.CreateFile(docs, u"新建文件夹.txt");
  ASSERT_TRUE(CaughtUp());
  ASSERT_TRUE(RecordOf(file, r));
  EXPECT_EQ(r.nameMayHoldCjk, 1u);

  disk.RenameFile(file, docs, u"plain.txt");
  disk.RenameFile(report, docs, u"报告.pdf");
  ASSERT_TRUE(CaughtUp());
  ASSERT_TRUE(RecordOf(file, r));
  EXPECT_EQ(r.nameMayHoldCjk, 0u);
  ASSERT_TRUE(RecordOf(report, r));
  EXPECT_EQ(r.nameMayHoldCjk, 1u);
}

TEST_F(JournalMonitorTest, DeletionsAreTombstones) {
  CacheAttributes(report);
  disk.DeleteFile(report);
  ASSERT_TRUE(CaughtUp());
  FileRecord r;
  ASSERT_TRUE(RecordOf(report, r));
  EXPECT_EQ(r.deleted, 1u);
  EXPECT_EQ(DeletedCount(), 1u);
  EXPECT_FALSE(HasAttributes(report));

  // A second delete record changes nothing but still drops attributes; one
  // for a reference the index never knew only drops attributes.
  CacheAttributes(report);
  CacheAttributes(0x77);
  disk.AppendJournalRecord(report, docs, u"report.pdf", win32::kUsnReasonFileDelete, 0);
  disk.AppendJournalRecord(0x77, docs, u"ghost", win32::kUsnReasonFileDelete, 0);
  ASSERT_TRUE(CaughtUp());
  EXPECT_EQ(DeletedCount(), 1u);
  EXPECT_FALSE(HasAttributes(report));
  EXPECT_FALSE(HasAttributes(0x77));
  EXPECT_EQ(IndexOf(0x77), ~uint64_t{0});
}

TEST_F(JournalMonitorTest, FileCreatedAndDeletedBeforeCloseStaysPresent) {
  const uint64_t temp = disk.CreateAndDeleteBeforeClose(docs, u"~$temp.tmp");
  ASSERT_TRUE(CaughtUp());
  FileRecord r;
  ASSERT_TRUE(RecordOf(temp, r));
  EXPECT_EQ(r.deleted, 0u);
  EXPECT_EQ(DeletedCount(), 0u);
}

TEST_F(JournalMonitorTest, RecreatedFileUndeletesItsRecord) {
  disk.DeleteFile(report);
  ASSERT_TRUE(CaughtUp());
  disk.AppendJournalRecord(report, docs, u"report.pdf", win32::kUsnReasonFileCreate, 0);
  ASSERT_TRUE(CaughtUp());
  FileRecord r;
  ASSERT_TRUE(RecordOf(report, r));
  EXPECT_EQ(r.deleted, 0u);
  EXPECT_EQ(DeletedCount(), 0u);
}

TEST_F(JournalMonitorTest, LostDeviceMarksUnavailableAndTellsWindow) {
  disk.Disconnect();
  ASSERT_TRUE(WaitUntil([&] { return index.monitorRunning == 0; }));
  EXPECT_EQ(index.available, 0);
  ASSERT_TRUE(t.poster.WaitForCount(1));
  const auto messages = t.poster.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], (PostedMessage{RecordingWindowPoster::TestWindow(), WMU_VOLUME_LOST, 0, 0}));
}

TEST_F(JournalMonitorTest, LostDeviceDuringShutdownPostsNothing) {
  BeginShutdown();
  disk.Disconnect();
  ASSERT_TRUE(WaitUntil([&] { return index.monitorRunning == 0; }));
  EXPECT_TRUE(t.poster.Messages().empty());
}

TEST_F(JournalMonitorTest, JournalGoneOrWrappedEndsQuietly) {
  struct Case {
    const char* what;
    std::function<void()> act;
  };
  const Case cases[] = {
      {"deleted", [&] { disk.DeleteJournal(); }},
      {"wrapped", [&] { disk.FailReads(win32::kErrorJournalEntryDeleted); }},
      {"recreated",
       [&] {
         disk.DeleteJournal();
         disk.CreateJournal();
       }},
      {"cancelled", [&] { disk.FailReads(win32::kErrorOperationAborted); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    disk.FailReads(0);
    if (!disk.Journal().active) disk.CreateJournal();
    ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));
    c.act();
    ASSERT_TRUE(WaitUntil([&] { return index.monitorRunning == 0; }));
    EXPECT_EQ(index.available, 1);
  }
  EXPECT_TRUE(t.poster.Messages().empty());
}

TEST_F(JournalMonitorTest, OtherReadErrorsAreRetried) {
  disk.FailReads(win32::kErrorIoDevice);
  const int reads = disk.ReadCallCount();
  ASSERT_TRUE(WaitUntil([&] { return disk.ReadCallCount() > reads + 2; }));
  EXPECT_EQ(index.monitorRunning, 1);
  disk.FailReads(0);
  disk.CreateFile(kRoot, u"after.txt");
  ASSERT_TRUE(CaughtUp());
  EXPECT_TRUE(HasPath(u"C:\\after.txt"));
}

TEST_F(JournalMonitorTest, StopMonitorCancelsBlockedRead) {
  disk.HoldReads(true);
  const int reads = disk.ReadCallCount();
  ASSERT_TRUE(WaitUntil([&] { return disk.ReadCallCount() > reads; }));
  index.StopMonitor();  // would hang if the held read were not cancelled
  EXPECT_EQ(index.monitorRunning, 0);
  EXPECT_EQ(index.available, 1);
  disk.HoldReads(false);
}

TEST_F(JournalMonitorTest, StopMonitorAfterMonitorEndedByItselfReturns) {
  disk.DeleteJournal();
  ASSERT_TRUE(WaitUntil([&] { return index.monitorRunning == 0; }));
  index.StopMonitor();
  index.StopMonitor();
  EXPECT_FALSE(index.monitorThread.joinable());
}

}  // namespace
}  // namespace quillmor
