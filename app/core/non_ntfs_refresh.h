// "Refresh All Non-NTFS Indexes": which volumes stop counting because their
// drive has gone, and whether a volume is left that a walk keeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quillmor {

struct NonNtfsCandidate {
  bool available = false;
  std::u16string_view drive;  // "E:" (only the letter counts)
  std::u16string_view fileSystem;
  bool walked = false;  // kept by a walk: an NTFS drive whose journal could not be used
};

struct NonNtfsRefreshPlan {
  std::vector<size_t> gone;  // available volumes whose letter is not in the drive mask: mark them unavailable
  bool refresh = false;      // an available volume remains that is not NTFS or is walked
};

// `logicalDrives`: bit 0 for A: up to bit 25 for Z:, as GetLogicalDrives
// gives them. File systems compare without ASCII case; a volume without a
// drive letter counts as gone.
NonNtfsRefreshPlan PlanNonNtfsRefresh(std::span<const NonNtfsCandidate> volumes, uint32_t logicalDrives);

}  // namespace quillmor
