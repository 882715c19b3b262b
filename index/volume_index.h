// The in-memory index of one volume: a record for every file and directory,
// their pooled names, the reference map, the change-journal state and the
// cached attributes.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "index/attr_entry.h"
#include "index/file_record.h"
#include "index/name_pool.h"
#include "index/ref_map.h"
#include "index/stable_vector.h"
#include "platform/env.h"
#include "platform/thread.h"

namespace quillmor {

// Created and owned by SearchEngine. A record index stays valid and keeps
// meaning the same file until the next full build.
//
// Locks: recordsLock before attrsLock, never the other way round.
class VolumeIndex {
 public:
  explicit VolumeIndex(Env& env);
  // Closes the volume (CloseVolume) first when a device or a monitor is still
  // open; an index with nothing to release goes without the pause.
  ~VolumeIndex();
  VolumeIndex(const VolumeIndex&) = delete;
  VolumeIndex& operator=(const VolumeIndex&) = delete;

  Env& env() const { return env_; }

  // Stores a name in the pool (cut to kMaxNameUnits). The caller holds
  // recordsLock exclusively or owns the index alone during a build.
  std::u16string_view AddName(std::u16string_view name) { return namePool.Add(name); }

  // Empties records, names, references and cached attributes for a full build
  // and counts the build. The caller holds recordsLock exclusively; takes
  // attrsLock.
  void ClearForBuild();

  // The most ancestors a path names: a deeper chain, or a reference cycle,
  // keeps the nearest ones.
  static constexpr int kMaxPathAncestors = 100;
  using PathChain = const FileRecord * [kMaxPathAncestors + 1];

  // The records a record's path names: the record itself first, then each
  // ancestor found, the farthest last. Returns how many (0 for an index out
  // of range). The caller holds recordsLock.
  int CollectPathChain(uint64_t recordIndex, PathChain& chain) const;

  // The full path of a record: drive, then each ancestor found, then the name
  // ("C:\dir\name"). The caller holds recordsLock.
  std::u16string BuildPath(uint64_t recordIndex) const;
  // BuildPath under a shared recordsLock.
  std::u16string GetFullPath(uint64_t recordIndex) const;

  // After an in-place rename on disk: gives the record its new name.
  void RenameRecord(uint64_t recordIndex, std::u16string_view newName);

  // Copies the cached attributes of `fileRef` to `out` (unchanged when there
  // are none) and returns their `known` flag. Counts hits, misses and the time
  // spent waiting for attrsLock.
  uint8_t LookupAttributes(uint64_t fileRef, AttrEntry& out) const;

  // Stops the monitor, closes the volume device and pauses 300 ms.
  void CloseVolume();
  // Ends the journal monitor and joins it. Not from the monitor thread.
  void StopMonitor();

  // --- State. Each field names the lock that guards it. ---

  // "C:": a letter and a colon. Set by the builder before it takes the lock.
  std::u16string drive;
  // "NTFS", or the file-system name of a walked volume.
  std::u16string fileSystem;
  std::atomic<uint8_t> available{1};
  std::atomic<uint8_t> busy{0};
  // 1 when the last build was a directory walk (kept current only by
  // rebuilds), 0 when it came from the change journal.
  std::atomic<uint8_t> builtByWalk{0};

  RecordSequence records;      // Guarded by recordsLock.
  NamePool namePool;           // Guarded by recordsLock.
  RefMap refToIndex{records};  // Guarded by recordsLock.
  mutable std::shared_mutex recordsLock;

  // The open volume device (NTFS only). Shared with the monitor thread and the
  // builder, which keep using it safely (a closed device answers error 6) if a
  // release closes it under them.
  std::shared_ptr<VolumeDevice> volumeHandle;  // Guarded by deviceMutex.
  Thread monitorThread;                        // Guarded by deviceMutex.
  // Serialises CloseVolume, StopMonitor and the builder's hand-over of the
  // device and the monitor: a release and a rebuild of one volume may meet.
  std::mutex deviceMutex;
  // The change journal's identity and the USN the monitor continues from. Set
  // by the builder under recordsLock; nextUsn is then advanced by the monitor.
  std::atomic<uint64_t> journalId{0};
  std::atomic<int64_t> nextUsn{0};
  std::atomic<uint8_t> monitorRunning{0};
  uint64_t deletedCount = 0;  // Guarded by recordsLock.

  std::unordered_map<uint64_t, AttrEntry> attrs;  // Guarded by attrsLock.
  mutable std::shared_mutex attrsLock;

  std::atomic<uint64_t> nextSyntheticRef{kFirstSyntheticRef};
  // The build the records belong to: a record index keeps naming one file
  // while this stays the same. Taken from one counter for the whole process
  // when the index is made and at every full build (ClearForBuild), so no
  // other index ever has the same number, even one made later at the same
  // address. Changed under recordsLock held exclusively.
  std::atomic<uint64_t> buildNumber;

  // The window WMU_VOLUME_LOST goes to; null for none.
  std::atomic<WindowHandle> notifyWindow{nullptr};

 private:
  friend void StartMonitor(VolumeIndex& volume);
  // StopMonitor with deviceMutex held.
  void StopMonitorLocked();

  Env& env_;
};

}  // namespace quillmor
