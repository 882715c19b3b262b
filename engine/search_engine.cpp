#include "engine/search_engine.h"

#include <algorithm>
#include <exception>
#include <string>

#include "engine/attr_cache_file.h"
#include "index/ascii_case.h"
#include "index/directory_walk.h"
#include "index/ntfs_enumeration.h"
#include "platform/shutdown.h"
#include "platform/thread.h"
#include "platform/win32_constants.h"
#include "settings/background_task.h"
#include "settings/localisation.h"
#include "settings/message_log.h"
#include "settings/perf_log.h"
#include "settings/rate_limit.h"
#include "settings/single_run_task.h"

namespace quillmor {
namespace {

constexpr int kDriveLetters = 26;
// Device arrivals closer together than this make one sync.
constexpr uint64_t kArrivalMinGapMs = 501;

std::u16string DriveOf(int letter) { return {static_cast<char16_t>(u'A' + letter), u':'}; }
std::u16string RootOf(std::u16string_view drive) { return std::u16string(drive) + u"\\"; }

// The drive-letter bit of a volume, or 0 for a drive string that names none.
uint32_t DriveBit(const VolumeIndex& volume) {
  if (volume.drive.empty()) return 0;
  const unsigned index = static_cast<unsigned>(volume.drive[0]) - u'A';
  return index < kDriveLetters ? (1u << index) : 0;
}

std::u16string FileSystemName(FileSystem& files, std::u16string_view drive, bool& ok) {
  VolumeInformation info;
  ok = files.GetVolumeInformation(RootOf(drive), info);
  return ok ? info.fileSystemName : std::u16string();
}

// The computer's own disks, as opposed to network shares, optical drives and
// RAM disks.
bool IsLocalDrive(FileSystem& files, std::u16string_view drive) {
  const uint32_t type = files.DriveType(RootOf(drive));
  return type == win32::kDriveFixed || type == win32::kDriveRemovable;
}

std::u16string Decimal(uint64_t value) {
  const std::string text = std::to_string(value);
  return std::u16string(text.begin(), text.end());
}

// Runs a step of the start-up job that may throw (a build or the cache load
// out of memory) and writes its failure to the message log: the job must go
// on to its closing message, or the window waits for it for ever.
template <typename Step>
void RunStartupStep(Env& env, std::u16string_view failure, Step&& step) noexcept {
  try {
    step();
  } catch (...) {
    try {  // logging needs memory too
      LogMessage(env, u"[BackgroundThreadException] init_background: " + std::u16string(failure));
    } catch (...) {
    }
  }
}

}  // namespace

bool BuildVolume(VolumeIndex& volume, std::u16string_view drive, std::u16string_view fileSystem, bool ignoreCase) {
  const bool ntfs = ignoreCase ? EqualIgnoringAsciiCase(fileSystem, u"NTFS") : fileSystem == u"NTFS";
  if (!ntfs) return IndexByWalk(volume, drive, fileSystem);
  uint32_t failure = 0;
  if (IndexNtfsVolume(volume, drive, &failure)) return true;
  // Leaving such a drive out would make every search claim its files do not
  // exist; a walk at least finds them as they were when it ran. Not so for a
  // network share that calls itself NTFS and fails the journal controls the
  // same way: it would be walked in full, over the network, at every start
  // and refresh.
  if (JournalUnsupported(failure) && IsLocalDrive(*volume.env().files, drive)) {
    return IndexByWalk(volume, drive, fileSystem);
  }
  return false;
}

bool IsWalkedVolume(const VolumeIndex& volume) { return volume.builtByWalk.load() != 0; }

SearchEngine::SearchEngine(Env& env) : env_(env) {}

SearchEngine::~SearchEngine() { Shutdown(); }

void SearchEngine::InitBackground(WindowHandle window) {
  StartBackgroundTask(env_, u"init_background", [this, window] { RunStartup(window); });
}

void SearchEngine::BuildDrive(WindowHandle window, int letter, std::atomic<bool>& readyPosted) {
  const std::u16string drive = DriveOf(letter);
  bool ok = false;
  const std::u16string fileSystem = FileSystemName(*env_.files, drive, ok);
  if (!ok) return;  // the drive is not indexed
  auto volume = std::make_shared<VolumeIndex>(env_);
  volume->notifyWindow = window;
  if (!BuildVolume(*volume, drive, fileSystem)) return;
  std::lock_guard lock(volumesMutex_);
  volumes_.push_back(std::move(volume));
  if (hasVolumes.load() == 0) {
    hasVolumes = 1;
    if (!readyPosted.exchange(true) && !ShuttingDown()) PostIfWindow(*env_.windows, window, WMU_INDEX_READY, 0, 0);
  }
}

void SearchEngine::RunStartup(WindowHandle window) {
  const uint64_t start = env_.clock->SteadyNanoseconds();
  const uint32_t mask = env_.files->LogicalDrives();
  std::atomic<bool> readyPosted{false};

  // One thread per drive, all started before any is joined, so the first
  // volume ready is announced at once instead of after the slowest.
  std::vector<std::exception_ptr> failures(kDriveLetters);
  {
    std::vector<Thread> builders;
    // Joins whatever was started, also when starting another thread throws.
    struct JoinAll {
      std::vector<Thread>& threads;
      ~JoinAll() {
        for (Thread& thread : threads) thread.join();
      }
    } joinAll{builders};
    builders.reserve(kDriveLetters);
    for (int letter = 0; letter < kDriveLetters; ++letter) {
      if ((mask & (1u << letter)) == 0) continue;
      builders.emplace_back([this, window, letter, &readyPosted, &failure = failures[letter]] {
        try {
          BuildDrive(window, letter, readyPosted);
        } catch (...) {
          failure = std::current_exception();
        }
      });
    }
  }
  // Letter order. A drive whose build threw is left out, as one that failed.
  for (const std::exception_ptr& failure : failures) {
    if (failure) RunStartupStep(env_, u"a drive's index failed", [&failure] { std::rethrow_exception(failure); });
  }
  if (ShuttingDown()) return;

  size_t count = 0;
  {
    std::lock_guard lock(volumesMutex_);
    SortVolumesLocked();
    hasVolumes = volumes_.empty() ? 0 : 1;
    count = volumes_.size();
  }
  if (hasVolumes.load() == 1 && !ShuttingDown()) {
    RunStartupStep(env_, u"attribute cache load failed", [this] { LoadAttrCacheAtStartup(*this); });
  }

  const uint64_t elapsedMs = (env_.clock->SteadyNanoseconds() - start) / 1'000'000;
  LogMetric(env_, u"startup index_ms=" + Decimal(elapsedMs) + u" volume_count=" + Decimal(count));

  if (!readyPosted.load()) {
    PostIfWindow(*env_.windows, window, WMU_INDEX_READY, hasVolumes.load() == 0 ? 1 : 0, 0);
  } else if (!ShuttingDown()) {
    PostIfWindow(*env_.windows, window, WMU_VOLUMES_SYNCED, 0, 0);
  }
}

void SearchEngine::SyncCurrentVolumesAsync(WindowHandle window) {
  StartSingleRunTask(env_, u"sync_current_volumes", syncRunning, [this, window] { RunSync(window); });
}

void SearchEngine::RunSync(WindowHandle window) {
  const uint32_t mask = env_.files->LogicalDrives();
  for (int letter = 0; letter < kDriveLetters && !ShuttingDown(); ++letter) {
    if ((mask & (1u << letter)) == 0) continue;
    const std::u16string drive = DriveOf(letter);
    bool ok = false;
    // A failed query leaves the name empty, which counts as a walked drive.
    const std::u16string fileSystem = FileSystemName(*env_.files, drive, ok);

    if (VolumePtr existing = FindVolume(drive)) {
      // Released earlier and back now: rebuild in place.
      if (existing->available.load() == 0) BuildVolume(*existing, drive, fileSystem, /*ignoreCase=*/true);
      continue;
    }
    auto volume = std::make_shared<VolumeIndex>(env_);
    volume->notifyWindow = window;
    if (!BuildVolume(*volume, drive, fileSystem, /*ignoreCase=*/true)) continue;
    std::lock_guard lock(volumesMutex_);
    const bool raced = std::any_of(volumes_.begin(), volumes_.end(),
                                   [&](const VolumePtr& v) { return EqualIgnoringAsciiCase(v->drive, drive); });
    if (!raced) volumes_.push_back(std::move(volume));
  }
  {
    std::lock_guard lock(volumesMutex_);
    SortVolumesLocked();
    hasVolumes =
        std::any_of(volumes_.begin(), volumes_.end(), [](const VolumePtr& v) { return v->available.load(); }) ? 1 : 0;
  }
  if (!ShuttingDown()) PostIfWindow(*env_.windows, window, WMU_VOLUMES_SYNCED, 0, 0);
}

void SearchEngine::RefreshAllNonNtfsAsync(WindowHandle window) {
  StartBackgroundTask(env_, u"refresh_non_ntfs", [this, window] { RunManualRefresh(window); });
}

void SearchEngine::RunManualRefresh(WindowHandle window) {
  // Let a sync bring new drives in first, for up to 3 seconds.
  if (syncRunning.load() == 0) {
    SyncCurrentVolumesAsync(window);
    for (int step = 0; step < 30 && syncRunning.load() != 0 && !ShuttingDown(); ++step) env_.clock->Sleep(100);
  }

  std::u16string report =
      Translate(u"Log_RefreshNonNtfsPrefix", u"刷新非 NTFS 卷索引", u"Refresh non-NTFS volume indexes");

  struct Target {
    std::u16string drive;
    std::u16string fileSystem;
  };
  std::vector<Target> targets;
  const uint32_t mask = env_.files->LogicalDrives();
  for (int letter = 0; letter < kDriveLetters; ++letter) {
    if ((mask & (1u << letter)) == 0) continue;
    const std::u16string drive = DriveOf(letter);
    bool ok = false;
    const std::u16string fileSystem = FileSystemName(*env_.files, drive, ok);
    if (!ok) continue;
    bool walked = !EqualIgnoringAsciiCase(fileSystem, u"NTFS");
    if (!walked) {
      // An NTFS drive without a usable journal is kept by walks too.
      const VolumePtr existing = FindVolume(drive);
      walked = existing && IsWalkedVolume(*existing) && EqualIgnoringAsciiCase(existing->fileSystem, u"NTFS");
    }
    if (!walked) continue;
    targets.push_back({drive, fileSystem});
    report += drive + u"(" + fileSystem + u") ";
  }

  uint64_t refreshed = 0, failed = 0;
  if (targets.empty()) {
    env_.system->DebugOutput(u"[Quillmor][ManualRefresh] " +
                             Translate(u"Log_NoNonNtfsForRefresh", u"没有可刷新的非 NTFS 卷。",
                                       u"No non-NTFS volumes available to refresh.") +
                             u"\r\n");
  }
  for (const Target& target : targets) {
    if (ShuttingDown()) return;
    const unsigned letter = target.drive[0] - u'A';
    if ((env_.files->LogicalDrives() & (1u << letter)) == 0) {
      report += target.drive + u":SKIP ";
      continue;
    }
    VolumePtr volume = FindVolume(target.drive);
    bool found = false;
    if (volume) {
      found = IndexByWalk(*volume, target.drive, target.fileSystem);
    } else {
      auto fresh = std::make_shared<VolumeIndex>(env_);
      fresh->notifyWindow = window;
      found = IndexByWalk(*fresh, target.drive, target.fileSystem);
      if (found) {
        std::lock_guard lock(volumesMutex_);
        const bool present = std::any_of(volumes_.begin(), volumes_.end(), [&](const VolumePtr& v) {
          return EqualIgnoringAsciiCase(v->drive, target.drive);
        });
        if (!present) volumes_.push_back(fresh);
        volume = fresh;
      }
    }
    report += target.drive + u":";
    if (found) {
      ++refreshed;
      size_t records = 0;
      {
        std::shared_lock lock(volume->recordsLock);
        records = volume->records.size();
      }
      report += Translate(u"Log_ResultOk", u"成功", u"OK") + u"[" + Decimal(records) + u"]";
    } else {
      ++failed;
      report += Translate(u"Log_ResultFail", u"失败", u"FAIL");
    }
    report += u" ";
  }

  {
    std::lock_guard lock(volumesMutex_);
    std::erase_if(volumes_, [&](const VolumePtr& v) {
      if (!IsWalkedVolume(*v)) return false;
      return std::none_of(targets.begin(), targets.end(),
                          [&](const Target& t) { return EqualIgnoringAsciiCase(v->drive, t.drive); });
    });
    SortVolumesLocked();
  }

  env_.system->DebugOutput(u"[Quillmor][ManualRefresh] " + report + u"\r\n");
  if (!ShuttingDown()) {
    PostIfWindow(*env_.windows, window, WMU_NONNTFS_REFRESHED, refreshed, static_cast<int64_t>(failed));
  }
}

bool SearchEngine::RemoveUnavailableVolumes() {
  std::vector<VolumePtr> selected;
  {
    std::lock_guard lock(volumesMutex_);
    const uint32_t mask = env_.files->LogicalDrives();
    for (const VolumePtr& v : volumes_) {
      if ((DriveBit(*v) & mask) != 0) continue;
      if (v->available.exchange(0) == 1) selected.push_back(v);
    }
  }
  if (selected.empty()) return false;
  StartBackgroundTask(env_, u"remove_unavailable_volumes", [selected = std::move(selected)] {
    for (const VolumePtr& v : selected) v->CloseVolume();
  });
  return true;
}

int SearchEngine::ReleaseVolumesByMask(uint32_t unitMask) {
  if (unitMask == 0) return 0;
  std::vector<VolumePtr> selected;
  {
    std::lock_guard lock(volumesMutex_);
    for (const VolumePtr& v : volumes_) {
      if ((DriveBit(*v) & unitMask) != 0 && v->available.exchange(0) == 1) selected.push_back(v);
    }
  }
  if (selected.empty()) return 0;
  for (const VolumePtr& v : selected) v->CloseVolume();
  return 1;
}

bool SearchEngine::HasVolumeInMask(uint32_t unitMask) {
  if (unitMask == 0) return false;
  std::lock_guard lock(volumesMutex_);
  return std::any_of(volumes_.begin(), volumes_.end(),
                     [&](const VolumePtr& v) { return (DriveBit(*v) & unitMask) != 0; });
}

void SearchEngine::OnDeviceArrival(uint32_t unitMask, WindowHandle window) {
  StartBackgroundTask(env_, u"device_change_sync_volume",
                      [this, unitMask, window] { RunDeviceArrival(unitMask, window); });
}

void SearchEngine::RunDeviceArrival(uint32_t unitMask, WindowHandle window) {
  bool usable = false;
  for (int letter = 0; letter < kDriveLetters && !usable; ++letter) {
    if ((unitMask & (1u << letter)) == 0) continue;
    const std::u16string root = RootOf(DriveOf(letter));
    VolumeInformation info;
    usable = env_.files->DriveType(root) >= win32::kDriveRemovable && env_.files->GetVolumeInformation(root, info);
  }
  if (!usable) return;

  // A burst of arrival broadcasts makes one sync.
  if (!ClaimTurn(lastArrivalTick_, env_.clock->TickCount64(), kArrivalMinGapMs)) return;
  SyncCurrentVolumesAsync(window);
}

void SearchEngine::Shutdown() {
  std::vector<VolumePtr> released;
  {
    std::lock_guard lock(volumesMutex_);
    for (const VolumePtr& v : volumes_) v->StopMonitor();
    released.swap(volumes_);
  }
  // Destroyed here, outside the lock (each close pauses), unless results
  // still name them.
  released.clear();
}

std::vector<VolumePtr> SearchEngine::SnapshotVolumes() const {
  std::lock_guard lock(volumesMutex_);
  return volumes_;
}

VolumePtr SearchEngine::FindVolume(std::u16string_view drive) const {
  std::lock_guard lock(volumesMutex_);
  for (const VolumePtr& v : volumes_) {
    if (EqualIgnoringAsciiCase(v->drive, drive)) return v;
  }
  return nullptr;
}

void SearchEngine::SortVolumesLocked() {
  // By drive, comparing UTF-16 units as unsigned numbers.
  std::stable_sort(volumes_.begin(), volumes_.end(),
                   [](const VolumePtr& a, const VolumePtr& b) { return a->drive < b->drive; });
}

}  // namespace quillmor
