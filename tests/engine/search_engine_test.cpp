#include "engine/search_engine.h"

#include <new>

#include "platform/forwarding_file_system.h"
#include "tests/engine/engine_fixture.h"

namespace quillmor {
namespace {

class SearchEngineTest : public EngineFixture {
 protected:
  // C: NTFS with C:\docs\report.pdf; E: exFAT with E:\a\b.txt.
  void TwoDrives() {
    const uint64_t docs = ntfsC.AddExistingFile(kRoot, u"docs", true);
    ntfsC.AddExistingFile(docs, u"report.pdf");
    MountNtfs(u'C', ntfsC);
    AddWalkedDrive(u'E', u"exFAT");
    memory.AddFile(u"E:\\a\\b.txt", "b");
  }
};

TEST_F(SearchEngineTest, StartUpIndexesNtfsByJournalAndOthersByWalk) {
  TwoDrives();
  StartUp(2);
  EXPECT_EQ(t.poster.Messages(), (std::vector{Message(WMU_INDEX_READY), Message(WMU_VOLUMES_SYNCED)}));
  EXPECT_EQ(Drives(), (std::vector<std::u16string>{u"C:", u"E:"}));
  EXPECT_EQ(engine->hasVolumes, 1);

  const VolumePtr c = VolumeOf(u"C:"), e = VolumeOf(u"E:");
  EXPECT_EQ(c->fileSystem, u"NTFS");
  EXPECT_FALSE(IsWalkedVolume(*c));
  EXPECT_EQ(c->monitorRunning, 1);
  EXPECT_EQ(Paths(*c), (std::vector<std::u16string>{u"C:\\.", u"C:\\docs", u"C:\\docs\\report.pdf"}));
  EXPECT_EQ(e->fileSystem, u"exFAT");
  EXPECT_TRUE(IsWalkedVolume(*e));
  EXPECT_EQ(Paths(*e), (std::vector<std::u16string>{u"E:\\a", u"E:\\a\\b.txt"}));

  const std::string log = Log();
  EXPECT_NE(log.find("] startup index_ms="), std::string::npos);
  EXPECT_NE(log.find(" volume_count=2\r\n"), std::string::npos);
}

// A file system whose attribute cache cannot be loaded for want of memory.
class CacheOutOfMemory : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  std::unique_ptr<ReadableFile> OpenForRead(std::u16string_view path) override {
    if (path.ends_with(u"attrcache.v1.bin")) throw std::bad_alloc();
    return ForwardingFileSystem::OpenForRead(path);
  }
};

// The exception of a failed cache load escaped the start-up job, so neither
// WMU_INDEX_READY nor WMU_VOLUMES_SYNCED came: quillmor-cli waited for ever.
TEST_F(SearchEngineTest, FailedCacheLoadStillEndsStartUpAndIsLogged) {
  TwoDrives();
  CacheOutOfMemory failing(files);
  t.env.files = &failing;
  StartUp(2);
  EXPECT_EQ(t.poster.Messages(), (std::vector{Message(WMU_INDEX_READY), Message(WMU_VOLUMES_SYNCED)}));
  EXPECT_EQ(Drives(), (std::vector<std::u16string>{u"C:", u"E:"}));
  const std::string log = memory.Contents(u".\\Quillmor_gdi.log").value_or("");
  EXPECT_NE(log.find("[BackgroundThreadException] init_background: attribute cache load failed"), std::string::npos)
      << log;
}

TEST_F(SearchEngineTest, StartUpWithNothingIndexablePostsIndexReadyOne) {
  AddWalkedDrive(u'E', u"FAT32");  // an empty drive
  StartUp(1);
  t.clock.Sleep(1);
  EXPECT_EQ(t.poster.Messages(), (std::vector{Message(WMU_INDEX_READY, 1)}));
  EXPECT_EQ(engine->hasVolumes, 0);
  EXPECT_TRUE(Drives().empty());
}

TEST_F(SearchEngineTest, NtfsDriveWithoutJournalSupportIsWalked) {
  const uint64_t dir = ntfsC.AddExistingFile(kRoot, u"Users", true);
  ntfsC.AddExistingFile(dir, u"notes.txt");
  ntfsC.SetJournalUnsupported(true);  // error 50, as under Wine
  MountNtfs(u'C', ntfsC);
  StartUp(2);
  const VolumePtr c = VolumeOf(u"C:");
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(IsWalkedVolume(*c));
  EXPECT_EQ(c->fileSystem, u"NTFS");
  EXPECT_EQ(Paths(*c), (std::vector<std::u16string>{u"C:\\Users", u"C:\\Users\\notes.txt"}));

  // Other journal failures keep the drive out, as before.
  ntfsD.AddExistingFile(kRoot, u"x");
  ntfsD.FailQueries(2, win32::kErrorIoDevice);
  MountNtfs(u'D', ntfsD);
  engine->SyncCurrentVolumesAsync(RecordingWindowPoster::TestWindow());
  WaitForMessages(3);
  EXPECT_EQ(Drives(), (std::vector<std::u16string>{u"C:"}));
}

// A mapped network share reports "NTFS" and fails the journal controls just
// as a local disk without journal support does; it used to be walked in full,
// over the network, at every start and refresh.
TEST_F(SearchEngineTest, WalkFallbackReachesNoNetworkShare) {
  ntfsC.AddExistingFile(kRoot, u"stick.txt");
  ntfsC.SetJournalUnsupported(true);
  ntfsC.SetDriveType(win32::kDriveRemovable);
  MountNtfs(u'C', ntfsC);
  ntfsD.AddExistingFile(kRoot, u"share.txt");
  ntfsD.SetJournalUnsupported(true);
  ntfsD.SetDriveType(win32::kDriveRemote);
  MountNtfs(u'D', ntfsD);
  StartUp(2);
  EXPECT_EQ(Drives(), (std::vector<std::u16string>{u"C:"}));
  EXPECT_TRUE(IsWalkedVolume(*VolumeOf(u"C:")));

  // A sync and a manual refresh leave the share out as well.
  engine->SyncCurrentVolumesAsync(RecordingWindowPoster::TestWindow());
  WaitForMessages(3);
  engine->RefreshAllNonNtfsAsync(RecordingWindowPoster::TestWindow());
  WaitForBackgroundTasks();
  EXPECT_EQ(Drives(), (std::vector<std::u16string>{u"C:"}));
}

TEST_F(SearchEngineTest, SecondSyncWhileOneRunsDoesNothing) {
  TwoDrives();
  StartUp(2);
  engine->syncRunning = 1;  // as if a sync were under way
  engine->SyncCurrentVolumesAsync(RecordingWindowPoster::TestWindow());
  t.clock.Sleep(50);
  EXPECT_EQ(t.poster.Messages().size(), 2u);
  engine->syncRunning = 0;
  engine->SyncCurrentVolumesAsync(RecordingWindowPoster::TestWindow());
  EXPECT_EQ(WaitForMessages(3).back(), Message(WMU_VOLUMES_SYNCED));
  while (engine->syncRunning) t.clock.Sleep(1);  // cleared as the job ends, after its message
}

TEST_F(SearchEngineTest, EjectReleasesVolumeAndSyncAfterReinsertionRebuildsItInPlace) {
  TwoDrives();
  StartUp(2);
  const VolumePtr e = VolumeOf(u"E:");
  const uint64_t before = t.clock.SleptMilliseconds();

  EXPECT_TRUE(engine->HasVolumeInMask(1u << 4));
  EXPECT_FALSE(engine->HasVolumeInMask(1u << 5));
  EXPECT_EQ(engine->ReleaseVolumesByMask(1u << 4), 1);
  EXPECT_EQ(e->available, 0);
  EXPECT_GE(t.clock.SleptMilliseconds() - before, 300u);  // released as CloseVolume does
  EXPECT_EQ(engine->ReleaseVolumesByMask(1u << 4), 0);    // at most once per loss
  EXPECT_EQ(Drives(), (std::vector<std::u16string>{u"C:", u"E:"}));

  memory.AddFile(u"E:\\new.txt", "n");
  engine->SyncCurrentVolumesAsync(RecordingWindowPoster::TestWindow());
  WaitForMessages(3);
  EXPECT_EQ(VolumeOf(u"E:"), e);  // the same index, rebuilt
  EXPECT_EQ(e->available, 1);
  EXPECT_EQ(Paths(*e), (std::vector<std::u16string>{u"E:\\a", u"E:\\a\\b.txt", u"E:\\new.txt"}));
}

TEST_F(SearchEngineTest, RemoveUnavailableVolumesReleasesDrivesThatAreGone) {
  TwoDrives();
  StartUp(2);
  EXPECT_FALSE(engine->RemoveUnavailableVolumes());
  memory.RemoveDrive(u'E');
  ntfsC.Disconnect();
  EXPECT_TRUE(engine->RemoveUnavailableVolumes());
  EXPECT_EQ(VolumeOf(u"E:")->available, 0);
  EXPECT_EQ(VolumeOf(u"C:")->available, 0);
  EXPECT_FALSE(engine->RemoveUnavailableVolumes());  // already released
  EXPECT_EQ(Drives().size(), 2u);                    // kept in the set
}

TEST_F(SearchEngineTest, ManualRefreshRebuildsWalkedVolumesAndReports) {
  TwoDrives();
  AddWalkedDrive(u'F', u"FAT32");  // empty: fails
  StartUp(2);
  memory.AddFile(u"E:\\c.txt", "c");
  engine->RefreshAllNonNtfsAsync(RecordingWindowPoster::TestWindow());
  // The sync it starts first, and the refresh's report; the refresh waits at
  // most 3 seconds for the sync, so their order is not fixed.
  auto messages = WaitForMessages(4);
  std::sort(messages.begin() + 2, messages.end(),
            [](const PostedMessage& a, const PostedMessage& b) { return a.message < b.message; });
  EXPECT_EQ(messages[2], Message(WMU_NONNTFS_REFRESHED, 1, 1));
  EXPECT_EQ(messages[3], Message(WMU_VOLUMES_SYNCED));
  const auto lines = t.system.DebugLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(),
            "[Quillmor][ManualRefresh] Refresh non-NTFS volume indexesE:(exFAT) F:(FAT32) E::OK[3] F::FAIL \r\n");
  EXPECT_EQ(Paths(*VolumeOf(u"E:")).size(), 3u);
}

TEST_F(SearchEngineTest, ManualRefreshDropsWalkedVolumeWhoseDriveBecameNtfs) {
  TwoDrives();
  StartUp(2);
  // E: is now an NTFS disk: no refresh target, and the old walked index goes.
  memory.RemoveDrive(u'E');
  ntfsD.AddExistingFile(kRoot, u"d.txt");
  MountNtfs(u'E', ntfsD);
  engine->syncRunning = 1;  // keep the refresh from syncing E: in first
  engine->RefreshAllNonNtfsAsync(RecordingWindowPoster::TestWindow());
  WaitForMessages(3);
  EXPECT_EQ(t.poster.Messages()[2], Message(WMU_NONNTFS_REFRESHED, 0, 0));
  EXPECT_EQ(t.system.DebugLines().back(), "[Quillmor][ManualRefresh] Refresh non-NTFS volume indexes\r\n");
  EXPECT_EQ(Drives(), (std::vector<std::u16string>{u"C:"}));
}

TEST_F(SearchEngineTest, ManualRefreshSkipsDriveRemovedBeforeItsTurn) {
  TwoDrives();
  StartUp(2);
  // E: vanishes right after the targets are chosen: the first walk of the
  // refresh (C: is NTFS, so E: is the only target) finds the drive gone.
  // Removing it from LogicalDrives alone keeps GetVolumeInformation working
  // for the detection step, so remove it between detection and the walk.
  struct VanishingDrives : MountedFileSystem {
    using MountedFileSystem::MountedFileSystem;
    uint32_t LogicalDrives() override {
      const uint32_t mask = MountedFileSystem::LogicalDrives();
      return ++calls > 2 ? mask & ~(1u << 4) : mask;
    }
    int calls = 0;
  } vanishing(memory);
  vanishing.MountNtfs(u'C', ntfsC);
  t.env.files = &vanishing;
  engine->syncRunning = 1;
  vanishing.calls = 1;  // the refresh's target scan is call 2, its check of E: call 3
  engine->RefreshAllNonNtfsAsync(RecordingWindowPoster::TestWindow());
  WaitForMessages(3);
  t.env.files = &files;
  EXPECT_EQ(t.poster.Messages()[2], Message(WMU_NONNTFS_REFRESHED, 0, 0));
  EXPECT_EQ(t.system.DebugLines().back(),
            "[Quillmor][ManualRefresh] Refresh non-NTFS volume indexesE:(exFAT) E::SKIP \r\n");
}

TEST_F(SearchEngineTest, DeviceArrivalsWithin500MsMakeOneSync) {
  // A walked drive only: a journal monitor's polling would move the manual
  // clock on by itself.
  AddWalkedDrive(u'E', u"exFAT");
  memory.AddFile(u"E:\\a.txt", "a");
  StartUp(2);
  const auto arrive = [&] { engine->OnDeviceArrival(1u << 4, RecordingWindowPoster::TestWindow()); };
  arrive();
  WaitForMessages(3);
  t.clock.Advance(300);
  arrive();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(t.poster.Messages().size(), 3u);
  t.clock.Advance(300);
  arrive();
  WaitForMessages(4);

  // A mask without a usable drive starts nothing.
  t.clock.Advance(1000);
  engine->OnDeviceArrival(1u << 10, RecordingWindowPoster::TestWindow());
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(t.poster.Messages().size(), 4u);
}

TEST_F(SearchEngineTest, ShutdownStopsMonitorsAndEmptiesTheSet) {
  TwoDrives();
  StartUp(2);
  const VolumePtr c = VolumeOf(u"C:");
  engine->Shutdown();
  EXPECT_EQ(c->monitorRunning, 0);
  EXPECT_TRUE(Drives().empty());
}

}  // namespace
}  // namespace quillmor
