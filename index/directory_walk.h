// Building the index of a volume that has no change journal (FAT, exFAT, a
// network or optical drive) by walking its directories.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_set>

#include "index/volume_index.h"

namespace quillmor {

// Directories are entered down to this depth (the drive's top level is 0).
inline constexpr int kMaxWalkDepth = 128;

// Walks the whole drive ("E:") and rebuilds the index from what it finds,
// giving each entry a made-up reference from 0x100000 on, depth first.
// Returns whether anything was found; an empty or unreadable drive leaves the
// index empty with `available` 0. Takes recordsLock exclusively throughout.
bool IndexByWalk(VolumeIndex& volume, std::u16string_view drive, std::u16string_view fileSystem);

// The directories one walk has entered, by identity. Links (junctions and
// directory symbolic links) are entered, but a set of links that lead to one
// another must not make the walk double at every level: a directory reached
// through a link, or below one, is entered only when the walk has not yet
// entered it, while a directory reached without any link is always entered.
// Each directory is so walked at most twice, whatever the links.
class EnteredDirectories {
 public:
  // Whether to walk the directory `lister` lists; remembers it when so.
  // `throughLink`: some component of its path is a link. Such a directory
  // whose identity cannot be told is not entered.
  bool Enter(DirectoryLister& lister, bool throughLink);

 private:
  struct Hash {
    size_t operator()(const DirectoryIdentity& id) const {
      return std::hash<uint64_t>()(id.file ^ (id.volume * 0x9E3779B97F4A7C15ull));
    }
  };
  std::unordered_set<DirectoryIdentity, Hash> entered_;
};

// One step of the walk: records the entries of `directory` under parentRef
// and descends into its subdirectories. The caller holds recordsLock
// exclusively.
void WalkDirectory(VolumeIndex& volume, std::u16string_view directory, uint64_t parentRef, int depth,
                   EnteredDirectories& entered, bool throughLink);

}  // namespace quillmor
