#include "app/core/non_ntfs_refresh.h"

#include "index/ascii_case.h"

namespace quillmor {

NonNtfsRefreshPlan PlanNonNtfsRefresh(std::span<const NonNtfsCandidate> volumes, uint32_t logicalDrives) {
  NonNtfsRefreshPlan plan;
  for (size_t i = 0; i < volumes.size(); ++i) {
    const NonNtfsCandidate& volume = volumes[i];
    if (!volume.available) continue;
    const char16_t letter = volume.drive.empty() ? u'\0' : FoldAsciiCase(volume.drive.front());
    if (letter < u'a' || letter > u'z' || (logicalDrives & (1u << (letter - u'a'))) == 0) {
      plan.gone.push_back(i);
      continue;
    }
    plan.refresh = plan.refresh || !EqualIgnoringAsciiCase(volume.fileSystem, u"NTFS") || volume.walked;
  }
  return plan;
}

}  // namespace quillmor
