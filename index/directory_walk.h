// Building the index of a volume that has no change journal (FAT, exFAT, a
// network or optical drive) by walking its directories.
#pragma once

#include <cstdint>
#include <string_view>

#include "index/volume_index.h"

namespace quillmor {

// Directories are entered down to this depth (the drive's top level is 0).
inline constexpr int kMaxWalkDepth = 128;

// Walks the whole drive ("E:") and rebuilds the index from what it finds,
// giving each entry a made-up reference from 0x100000 on, depth first.
// Returns whether anything was found; an empty or unreadable drive leaves the
// index empty with `available` 0. Takes recordsLock exclusively throughout.
bool IndexByWalk(VolumeIndex& volume, std::u16string_view drive, std::u16string_view fileSystem);

// One step of the walk: records the entries of `directory` under parentRef
// and descends into its subdirectories. The caller holds recordsLock
// exclusively.
void WalkDirectory(VolumeIndex& volume, std::u16string_view directory, uint64_t parentRef, int depth);

}  // namespace quillmor
