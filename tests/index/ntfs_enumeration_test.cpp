#include "index/ntfs_enumeration.h"

#include "platform/usn_layout.h"
#include "platform/win32_constants.h"
#include "tests/index/ntfs_test_fixture.h"

namespace quillmor {
namespace {

using Fault = SimulatedNtfsVolume::EnumFault;

class NtfsEnumerationTest : public NtfsFixture {
 protected:
  // A small tree: C:\docs\report.pdf, C:\docs\old\notes.txt, C:\readme.TXT
  void MakeTree() {
    docs = disk.AddExistingFile(kRoot, u"docs", true);
    old = disk.AddExistingFile(docs, u"old", true);
    disk.AddExistingFile(docs, u"report.pdf");
    disk.AddExistingFile(old, u"notes.txt");
    disk.AddExistingFile(kRoot, u"readme.TXT");
  }
  const std::vector<std::u16string> kTreePaths = {
      u"C:\\.", u"C:\\docs", u"C:\\docs\\old", u"C:\\docs\\old\\notes.txt", u"C:\\docs\\report.pdf", u"C:\\readme.TXT"};
  uint64_t docs = 0, old = 0;
};

TEST_F(NtfsEnumerationTest, BuildsEveryRecordAndStartsMonitor) {
  MakeTree();
  ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));
  EXPECT_EQ(Paths(), kTreePaths);  // the root is its own record, "."
  EXPECT_EQ(index.drive, u"C:");
  EXPECT_EQ(index.fileSystem, u"NTFS");
  EXPECT_EQ(index.available, 1);
  EXPECT_EQ(index.busy, 0);
  EXPECT_EQ(index.journalId, disk.Journal().id);
  EXPECT_EQ(index.nextUsn, disk.Journal().nextUsn);
  EXPECT_EQ(index.monitorRunning, 1);
  EXPECT_EQ(index.refToIndex.size(), 6u);
  uint64_t i = 0;
  ASSERT_TRUE(index.refToIndex.Find(docs, i));
  EXPECT_EQ(index.records[i].isDirectory, 1u);
  EXPECT_EQ(std::u16string(index.records[i].lowerName()), u"docs");
}

TEST_F(NtfsEnumerationTest, ReadWriteRefusedFallsBackToReadOnly) {
  MakeTree();
  disk.RefuseReadWriteOpen(true);
  ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));
  EXPECT_EQ(Paths(), kTreePaths);
}

TEST_F(NtfsEnumerationTest, VolumeWithoutJournalGetsOne) {
  MakeTree();
  disk.DeleteJournal();
  ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));
  const auto journal = disk.Journal();
  EXPECT_TRUE(journal.active);
  EXPECT_EQ(journal.maximumSize, kJournalMaximumSize);
  EXPECT_EQ(journal.allocationDelta, kJournalAllocationDelta);
  EXPECT_EQ(index.journalId, journal.id);
  EXPECT_EQ(Paths(), kTreePaths);
}

TEST_F(NtfsEnumerationTest, ProbeErrorsDecideWhetherJournalIsRecreated) {
  struct Case {
    uint32_t error;
    bool recreated;
  };
  for (const Case c : {Case{win32::kErrorHandleEof, false}, Case{win32::kErrorMoreData, false},
                       Case{win32::kErrorJournalEntryDeleted, true}, Case{win32::kErrorCrc, true}}) {
    SCOPED_TRACE(c.error);
    SimulatedNtfsVolume local;
    local.AddExistingFile(kRoot, u"a.txt");
    devices.Mount(u'D', local);
    VolumeIndex volume(t.env);
    const uint64_t idBefore = local.Journal().id;
    local.InjectEnumFault(0, Fault::kError, c.error);  // call 0 is the probe
    ASSERT_TRUE(IndexNtfsVolume(volume, u"D:"));
    EXPECT_EQ(local.Journal().id != idBefore, c.recreated);
    EXPECT_EQ(volume.journalId, local.Journal().id);
    EXPECT_EQ(volume.records.size(), 2u);
    volume.CloseVolume();
    devices.Unmount(u'D');
  }
}

TEST_F(NtfsEnumerationTest, FailuresBeforeClearingKeepEarlierRecords) {
  MakeTree();
  ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));

  struct Case {
    const char* what;
    std::function<void()> arrange;
  };
  const Case cases[] = {
      {"journal cannot be queried or created", [&] { disk.SetJournalUnsupported(true); }},
      {"query keeps failing", [&] { disk.FailQueries(2, win32::kErrorIoDevice); }},
      {"device is gone", [&] { disk.Disconnect(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.arrange();
    EXPECT_FALSE(IndexNtfsVolume(index, u"C:"));
    EXPECT_EQ(index.available, 0);
    EXPECT_EQ(index.busy, 0);
    EXPECT_EQ(Paths(), kTreePaths);
    disk.SetJournalUnsupported(false);
    disk.FailQueries(0, 0);
    disk.Reconnect();
  }
}

TEST_F(NtfsEnumerationTest, EightByteBlockIsDroppedAndEnumerationGoesOn) {
  MakeTree();
  disk.InjectEnumFault(1, Fault::kEightByteBlock);
  ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));
  EXPECT_EQ(Paths(), kTreePaths);
  EXPECT_GE(disk.EnumCallCount(), 4);  // probe, the 8-byte block, the records, end of file
}

TEST_F(NtfsEnumerationTest, MalformedRecordEndsOnlyItsBlock) {
  // Two blocks' worth: the first block's second record is damaged; everything
  // after it in that block is lost, the next block is parsed normally.
  for (int i = 0; i < 2000; ++i) disk.AddExistingFile(kRoot, u"file-" + std::u16string(30, u'a') + u".txt");
  for (Fault fault : {Fault::kZeroLengthRecord, Fault::kOverlongRecord, Fault::kNameOutsideRecord}) {
    SCOPED_TRACE(static_cast<int>(fault));
    disk.ResetCallCounts();
    disk.InjectEnumFault(1, fault);
    VolumeIndex volume(t.env);
    ASSERT_TRUE(IndexNtfsVolume(volume, u"C:"));
    std::shared_lock lock(volume.recordsLock);
    const size_t perBlock = (0x10000 - 8) / usn::RecordV2Length(39);
    EXPECT_EQ(volume.records.size(), 2001 - (perBlock - 1));
    EXPECT_EQ(volume.records[0].fileRef, kRoot);
  }
}

TEST_F(NtfsEnumerationTest, EnumerationFailingHalfWayKeepsWhatWasRead) {
  for (int i = 0; i < 2000; ++i) disk.AddExistingFile(kRoot, u"f" + std::u16string(40, u'b'));
  disk.InjectEnumFault(2, Fault::kError, win32::kErrorIoDevice);
  ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));
  std::shared_lock lock(index.recordsLock);
  EXPECT_GT(index.records.size(), 100u);
  EXPECT_LT(index.records.size(), 2001u);
  EXPECT_EQ(index.available, 1);
}

TEST_F(NtfsEnumerationTest, EmptyFirstPassFallsBackToWidestRange) {
  MakeTree();
  disk.InjectEnumFault(1, Fault::kError, win32::kErrorIoDevice);
  ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));
  EXPECT_EQ(Paths(), kTreePaths);
}

TEST_F(NtfsEnumerationTest, ChangeAfterQueryIsLeftToMonitor) {
  MakeTree();
  disk.RunBeforeEnumCall(1, [&] { disk.CreateFile(kRoot, u"late.txt"); });
  ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));
  // Not enumerated (its USN is above the range), but the monitor reads it
  // from the USN the build started at.
  EXPECT_TRUE(WaitUntil([&] { return HasPath(u"C:\\late.txt"); }));
  EXPECT_EQ(Paths().size(), kTreePaths.size() + 1);
}

TEST_F(NtfsEnumerationTest, ShutdownDuringEnumerationEndsPromptly) {
  for (int i = 0; i < 5000; ++i) disk.AddExistingFile(kRoot, u"f" + std::u16string(40, u'c'));
  disk.RunBeforeEnumCall(3, [] { BeginShutdown(); });
  ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));
  EXPECT_LT(disk.EnumCallCount(), 6);
  EXPECT_EQ(index.refToIndex.size(), 0u);
  EXPECT_EQ(index.monitorRunning, 0);
}

TEST_F(NtfsEnumerationTest, RebuildInPlaceReplacesRecordsAndRestartsMonitor) {
  MakeTree();
  ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));
  disk.AddExistingFile(kRoot, u"second.txt");
  ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));
  EXPECT_EQ(Paths().size(), kTreePaths.size() + 1);
  EXPECT_EQ(index.monitorRunning, 1);
}

TEST_F(NtfsEnumerationTest, CloseHandleFailureGoesToDebuggerOutput) {
  MakeTree();
  ASSERT_TRUE(IndexNtfsVolume(index, u"C:"));
  disk.FailClose(win32::kErrorInvalidHandle);
  index.CloseVolume();
  const auto lines = t.system.DebugLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "[Quillmor] CloseHandle failed, Error: 6 (0x00000006), Drive: C:\n");
  EXPECT_EQ(index.monitorRunning, 0);
}

}  // namespace
}  // namespace quillmor
