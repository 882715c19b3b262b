// Reading one file's size and times into the attribute cache.
#pragma once

#include <cstddef>
#include <cstdint>

#include "index/attr_entry.h"
#include "index/volume_index.h"

namespace quillmor {

// A volume's attrs map takes new entries only below this size; existing
// entries are always replaced. Bounds the cache at a few tens of bytes per
// entry.
inline constexpr size_t kMaxAttrEntriesPerVolume = 2'000'000;

// Makes sure the record's attributes are cached and copies them to `out`:
// from the cache when known, else read from the disk (GetFileAttributesExW)
// and stored. A file that cannot be read is cached as known zeros, so it is
// not read again. `out` is left unchanged when the volume is null or not
// available, the index is out of range or no path can be built.
//
// Any thread. Never holds recordsLock and attrsLock together, and reads the
// disk with no lock held.
void HydrateAttributes(VolumeIndex* volume, uint64_t recordIndex, AttrEntry& out);

}  // namespace quillmor
