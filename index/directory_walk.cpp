#include "index/directory_walk.h"

#include <string>

#include "platform/shutdown.h"
#include "platform/win32_constants.h"

namespace quillmor {
namespace {

// Clears `busy` however the walk ends.
struct BusyScope {
  explicit BusyScope(VolumeIndex& v) : volume(v) { volume.busy = 1; }
  ~BusyScope() { volume.busy = 0; }
  VolumeIndex& volume;
};

}  // namespace

void WalkDirectory(VolumeIndex& volume, std::u16string_view directory, uint64_t parentRef, int depth) {
  if (depth > kMaxWalkDepth || ShuttingDown()) return;
  // An unreadable directory, or one whose path Windows refuses as too long,
  // is simply absent from the index.
  std::unique_ptr<DirectoryLister> lister = volume.env().files->ListDirectory(directory);
  if (!lister) return;

  DirectoryEntry entry;
  std::u16string childPath;
  while (lister->Next(entry)) {
    if (entry.name == u"." || entry.name == u"..") continue;
    const uint64_t ref = volume.nextSyntheticRef.fetch_add(1);
    FileRecord record;
    record.fileRef = ref;
    record.parentRef = parentRef;
    record.SetName(volume.AddName(entry.name));
    record.isDirectory = (entry.info.attributes & win32::kFileAttributeDirectory) ? 1 : 0;
    volume.refToIndex.Assign(ref, volume.records.size());
    volume.records.push_back(record);

    // Junctions and directory links are entered like any directory; the
    // depth limit bounds a loop.
    if (record.isDirectory) {
      childPath.assign(directory);
      childPath.push_back(u'\\');
      childPath.append(entry.name);
      WalkDirectory(volume, childPath, ref, depth + 1);
    }
    if (ShuttingDown()) return;
  }
}

bool IndexByWalk(VolumeIndex& volume, std::u16string_view drive, std::u16string_view fileSystem) {
  BusyScope busy(volume);
  volume.available = 1;
  volume.builtByWalk = 1;
  volume.CloseVolume();

  std::unique_lock lock(volume.recordsLock);
  if (volume.drive != drive) volume.drive.assign(drive);
  if (volume.fileSystem != fileSystem) volume.fileSystem.assign(fileSystem);
  volume.ClearForBuild();
  volume.nextSyntheticRef = kFirstSyntheticRef;
  volume.refToIndex.AssignNoRecord(kWalkRootRef);

  WalkDirectory(volume, drive, kWalkRootRef, 0);

  const bool found = !volume.records.empty();
  if (!found) volume.available = 0;
  return found;
}

}  // namespace quillmor
