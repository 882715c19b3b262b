// Fills a simulated NTFS volume with a realistic tree: names drawn from the
// kinds a real disk holds (documents, photos, source files, packages), about
// 20 UTF-16 units on average, in directories whose fan-out varies as on a
// real disk. Deterministic for a given seed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/sim/simulated_ntfs_volume.h"

namespace quillmor {

struct GeneratedVolume {
  size_t files = 0;
  size_t directories = 0;
  uint64_t nameUnits = 0;  // total UTF-16 units of all names
};

GeneratedVolume GenerateRealisticVolume(SimulatedNtfsVolume& volume, size_t records, uint64_t seed = 42);

}  // namespace quillmor
