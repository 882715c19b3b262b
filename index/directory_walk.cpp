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

bool EnteredDirectories::Enter(DirectoryLister& lister, bool throughLink) {
  DirectoryIdentity identity;
  if (!lister.Identity(identity)) return !throughLink;
  const bool first = entered_.insert(identity).second;
  return first || !throughLink;
}

void WalkDirectory(VolumeIndex& volume, std::u16string_view directory, uint64_t parentRef, int depth,
                   EnteredDirectories& entered, bool throughLink) {
  if (depth > kMaxWalkDepth || ShuttingDown()) return;
  // An unreadable directory, or one whose path Windows refuses as too long,
  // is simply absent from the index.
  std::unique_ptr<DirectoryLister> lister = volume.env().files->ListDirectory(directory);
  if (!lister || !entered.Enter(*lister, throughLink)) return;

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

    if (record.isDirectory) {
      childPath.assign(directory);
      childPath.push_back(u'\\');
      childPath.append(entry.name);
      const bool link = (entry.info.attributes & win32::kFileAttributeReparsePoint) != 0;
      WalkDirectory(volume, childPath, ref, depth + 1, entered, throughLink || link);
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

  EnteredDirectories entered;
  WalkDirectory(volume, drive, kWalkRootRef, 0, entered, /*throughLink=*/false);

  const bool found = !volume.records.empty();
  if (!found) volume.available = 0;
  return found;
}

}  // namespace quillmor
