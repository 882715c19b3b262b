#include "search/content_candidates.h"

#include <shared_mutex>
#include <string_view>

#include "search/folder_path.h"

namespace quillmor {
namespace {

// Whether the lower-case name ends in one of the extensions, counted from its
// last '.'.
bool HasQueryExtension(std::u16string_view lowerName, std::span<const std::u16string> extensions) {
  const size_t dot = lowerName.rfind(u'.');
  if (dot == std::u16string_view::npos) return false;
  const std::u16string_view extension = lowerName.substr(dot);
  for (const std::u16string& wanted : extensions) {
    if (extension == wanted) return true;
  }
  return false;
}

}  // namespace

bool CollectContentCandidates(const std::vector<VolumePtr>& snapshot, const ResolvedScope& scope,
                              std::span<const std::u16string> extensions, Generation generation,
                              std::vector<MatchItem>& out) {
  for (size_t position = 0; position < snapshot.size(); ++position) {
    if (scope.volumeFilter >= 0 && position != static_cast<size_t>(scope.volumeFilter)) continue;
    VolumeIndex& volume = *snapshot[position];
    if (!volume.available.load() || volume.busy.load()) continue;

    std::shared_lock lock(volume.recordsLock);
    const size_t count = volume.records.size();
    for (size_t i = 0; i < count; ++i) {
      if (ShuttingDown()) return false;
      if ((i & 255) == 0 && generation.Stale()) return false;
      const FileRecord& record = volume.records[i];
      if (record.deleted || record.isDirectory || record.name == nullptr) continue;
      // The extension first: it is cheap, and most records fail it, while
      // the Desktop test builds the record's path.
      if (!HasQueryExtension({record.lowerName(), record.nameLength}, extensions)) continue;
      if (scope.desktopOnly && !IsUnderFolder(volume.BuildPath(i), scope.desktop)) continue;
      out.push_back({&volume, static_cast<uint32_t>(i)});
    }
  }
  return true;
}

bool FilterCandidates(std::vector<MatchItem>& candidates, const CandidateFilter& filter, Generation generation) {
  std::vector<MatchItem> kept;
  kept.reserve(candidates.size());
  for (const MatchItem& item : candidates) {
    if (generation.Cancelled()) return false;
    if (filter(*item.volume, item.recordIndex)) kept.push_back(item);
  }
  candidates = std::move(kept);
  return true;
}

}  // namespace quillmor
