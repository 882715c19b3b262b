// Volumes put together record by record, for tests that need exact record
// indices, names the memory file system could not hold side by side ("A.txt"
// beside "a.txt"), or tens of thousands of rows without a walk.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "engine/match_item.h"
#include "index/volume_index.h"

namespace quillmor {

struct HandBuiltFile {
  std::u16string name;
  bool directory = false;
  bool deleted = false;
};

// References are 0x100 + index; every record sits at the top of `drive`
// ("E:\name"). `fileSystem` "NTFS" makes a volume the cache file keeps.
inline VolumePtr HandBuiltVolume(Env& env, std::u16string_view drive, const std::vector<HandBuiltFile>& files,
                                 std::u16string_view fileSystem = u"exFAT", uint64_t journalId = 0) {
  auto volume = std::make_shared<VolumeIndex>(env);
  volume->drive = drive;
  volume->fileSystem = fileSystem;
  volume->journalId = journalId;
  std::unique_lock lock(volume->recordsLock);
  for (size_t i = 0; i < files.size(); ++i) {
    FileRecord record;
    record.fileRef = 0x100 + i;
    record.parentRef = 0x5;  // absent: the record hangs off the drive
    record.name = volume->AddName(files[i].name).data();
    record.nameLength = static_cast<uint16_t>(files[i].name.size());
    record.isDirectory = files[i].directory ? 1 : 0;
    record.deleted = files[i].deleted ? 1 : 0;
    volume->records.push_back(record);
  }
  volume->refToIndex.AssignAll();
  return volume;
}

// `count` files named f0, f1, ...
inline VolumePtr NumberedVolume(Env& env, std::u16string_view drive, size_t count) {
  std::vector<HandBuiltFile> files(count);
  for (size_t i = 0; i < count; ++i) {
    const std::string name = "f" + std::to_string(i);
    files[i].name.assign(name.begin(), name.end());
  }
  return HandBuiltVolume(env, drive, files);
}

inline uint64_t RefOf(uint32_t recordIndex) { return 0x100 + recordIndex; }

// Caches known attributes for a record, as a hydration would.
inline void PutAttributes(VolumeIndex& volume, uint32_t recordIndex, uint64_t size, uint64_t lastWrite = 0,
                          uint64_t creation = 0) {
  std::unique_lock lock(volume.attrsLock);
  volume.attrs[RefOf(recordIndex)] = AttrEntry{size, lastWrite, creation, 1};
}

// Every row of `volume`, in index order.
inline std::vector<MatchItem> AllRows(const VolumePtr& volume) {
  std::vector<MatchItem> rows;
  std::shared_lock lock(volume->recordsLock);
  for (uint32_t i = 0; i < volume->records.size(); ++i) rows.push_back({volume.get(), i});
  return rows;
}

}  // namespace quillmor
