// The owner of every volume index: builds the set in the background at
// start-up, brings it in line with the drives mounted now, rescans the walked
// volumes on request and lets go of volumes whose drive is ejected or gone.
// Reports to the main window only by posted messages.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "index/volume_index.h"
#include "platform/env.h"

namespace quillmor {

using VolumePtr = std::shared_ptr<VolumeIndex>;

// Volumes are shared: the engine holds each one while it is in the set, and
// every volume snapshot (a search in progress) and every published result set
// holds the volumes its rows name. A volume the manual refresh removes from
// the set therefore lives on until the last result naming it is released, and
// no row ever reaches a destroyed index.
class SearchEngine {
 public:
  explicit SearchEngine(Env& env);
  // Stops every monitor (Shutdown) if that has not happened yet.
  ~SearchEngine();
  SearchEngine(const SearchEngine&) = delete;
  SearchEngine& operator=(const SearchEngine&) = delete;

  Env& env() const { return env_; }

  // Starts "init_background": indexes every drive in parallel, posts
  // WMU_INDEX_READY (0, 0) as soon as the first volume is ready and
  // WMU_VOLUMES_SYNCED at the end (or WMU_INDEX_READY (1 when nothing could
  // be indexed, else 0) at the end when no volume became ready during it).
  void InitBackground(WindowHandle window);

  // Starts "sync_current_volumes" unless a sync runs already: builds drives
  // that are new and rebuilds released volumes whose drive is back; never
  // removes a volume or rebuilds an available one. Posts WMU_VOLUMES_SYNCED.
  void SyncCurrentVolumesAsync(WindowHandle window);

  // Starts "refresh_non_ntfs": rebuilds every walked volume, drops walked
  // volumes whose drive is gone or no longer walked, writes the report line
  // to the debugger output and posts WMU_NONNTFS_REFRESHED (refreshed, failed).
  void RefreshAllNonNtfsAsync(WindowHandle window);

  // Marks every volume whose drive letter is gone as released and closes them
  // on "remove_unavailable_volumes". True when any was selected.
  bool RemoveUnavailableVolumes();

  // Releases, on the calling thread, every available volume of a drive in
  // `unitMask` (so that the system can eject it). 1 when any was released.
  int ReleaseVolumesByMask(uint32_t unitMask);

  // Whether some volume's drive letter is in `unitMask`.
  bool HasVolumeInMask(uint32_t unitMask);

  // A volume arrived (WM_DEVICECHANGE, DBT_DEVICEARRIVAL): starts
  // "device_change_sync_volume", which syncs unless an arrival was accepted
  // less than 501 ms ago or a sync runs already.
  void OnDeviceArrival(uint32_t unitMask, WindowHandle window);

  // Starts "prewarm_attr_cache" unless it runs already: reads the attributes
  // of the first records of every volume whose cache is empty
  // (attr_prewarm.h).
  void PrewarmAttrCacheAsync();

  // At window destruction: stops every monitor and empties the set. Volumes
  // still named by results live on, closed.
  void Shutdown();

  // The set as it is now, in its order (by drive), for searches and the scope
  // box. The pointers keep the volumes alive while the caller holds them.
  std::vector<VolumePtr> SnapshotVolumes() const;

  // 1 when at least one volume of the set is available.
  std::atomic<uint8_t> hasVolumes{0};
  // 1 while a sync job runs.
  std::atomic<uint8_t> syncRunning{0};
  // 1 while the attribute prewarm runs.
  std::atomic<uint8_t> prewarmRunning{0};

 private:
  void RunStartup(WindowHandle window);
  // Indexes one drive at start-up and adds it; the first announces the index ready.
  void BuildDrive(WindowHandle window, int letter, std::atomic<bool>& readyPosted);
  void RunSync(WindowHandle window);
  void RunManualRefresh(WindowHandle window);
  void RunDeviceArrival(uint32_t unitMask, WindowHandle window);
  VolumePtr FindVolume(std::u16string_view drive) const;  // takes volumesMutex_
  void SortVolumesLocked();

  Env& env_;
  mutable std::mutex volumesMutex_;  // never taken while a volume lock is held
  std::vector<VolumePtr> volumes_;   // Guarded by volumesMutex_.
  std::atomic<uint64_t> lastArrivalTick_{0};
};

// Builds `volume` for `drive` as its file system asks: "NTFS" through the
// change journal, anything else by a walk. An NTFS drive whose change journal
// cannot be used at all (the controls are not supported, as on volumes without
// journal support or under Wine) is walked instead of being left out when it
// is a local disk (fixed or removable); its volume then counts as walked.
// `ignoreCase` compares the name "NTFS" without case, as syncs do.
bool BuildVolume(VolumeIndex& volume, std::u16string_view drive, std::u16string_view fileSystem,
                 bool ignoreCase = false);

// Whether a volume is kept current by a walk rather than by its journal.
bool IsWalkedVolume(const VolumeIndex& volume);

}  // namespace quillmor
