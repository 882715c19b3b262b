#include "search/filter_pass.h"

#include <shared_mutex>

#include "engine/volume_runs.h"
#include "platform/shutdown.h"
#include "settings/background_task.h"

namespace quillmor {
namespace {

struct PassInput {
  uint64_t generation = 0;
  FilterSettings settings;
  AppliedFilter applied;  // what the output will be valid for
  bool datesValid = false;
  bool byCreation = false;
  Results source;
};

void RunFilterPass(SearchSession& session, const PassInput& in) {
  Env& env = session.env;
  const FilterTagsSnapshot tags = session.filters.Tags();
  const SizeTimeFilter sizeTime = MakeFilterPassSizeTime(*env.clock, in.settings, in.datesValid, in.applied.dateFrom,
                                                         in.applied.dateTo, in.byCreation, session.hydrate);
  const bool sizeOrTime = in.settings.SizeOrTimeActive();

  const TagFilter tagFilter(*tags, in.settings.selectedTag, sizeOrTime);
  const std::vector<MatchItem>& source = *in.source;
  std::vector<MatchItem> kept;
  kept.reserve(source.size());
  // The file references of the files this stretch kept, for the size and
  // time test, which reads the attribute cache after the records lock is
  // released.
  std::vector<uint64_t> fileRefs;
  bool stale = false;
  ForEachVolumeRun(source, [&](VolumeIndex* volume, size_t begin, size_t end) {
    if (stale || session.filterGeneration.load() != in.generation || ShuttingDown()) {
      stale = true;
      return;
    }
    if (volume == nullptr) return;
    const size_t firstKept = kept.size();
    fileRefs.clear();
    {
      std::shared_lock lock(volume->recordsLock);
      for (size_t i = begin; i < end; ++i) {
        const uint32_t index = source[i].recordIndex;
        if (index >= volume->records.size()) continue;
        const FileRecord& r = volume->records[index];
        if (r.deleted) continue;
        if (!tagFilter.Passes(r.isDirectory != 0, std::u16string_view(r.lowerName(), r.nameLength))) continue;
        kept.push_back(source[i]);
        // With a size or time preset only files pass the tag test, and
        // each meets the size and time test below.
        if (sizeOrTime) fileRefs.push_back(r.fileRef);
      }
    }
    if (!sizeOrTime) return;
    size_t out = firstKept;
    for (size_t k = firstKept; k < kept.size(); ++k) {
      // A missing attribute is read from the disk: stop between reads.
      if (session.filterGeneration.load() != in.generation || ShuttingDown()) {
        stale = true;
        return;
      }
      if (PassesSizeAndTime(sizeTime, *volume, kept[k].recordIndex, fileRefs[k - firstKept])) kept[out++] = kept[k];
    }
    kept.resize(out);
  });
  if (stale) return;

  if (session.filterGeneration.load() != in.generation || ShuttingDown()) return;
  if (in.settings.selectedTag != session.filters.selectedTag.load()) return;
  {
    std::lock_guard lock(session.filteredMutex);
    session.filtered = DeriveResults(in.source, std::move(kept));
    session.applied = in.applied;
    session.displayedCount = static_cast<int64_t>(session.filtered->size());
  }
  PostIfWindow(*env.windows, session.results.window.load(), WMU_FILTER_RESULTS, 0, 0);
}

}  // namespace

void RefreshFilteredResultsAsync(SearchSession& session) {
  PassInput in;
  in.generation = session.filterGeneration.fetch_add(1) + 1;
  in.byCreation = session.results.sortColumn.load() == ResultSet::kCreatedColumn;

  std::u16string sizeText;
  if (session.view.CustomSizeText(sizeText)) session.filters.SetCustomSizeText(sizeText);
  in.settings = session.filters.Settings();
  int32_t from = 0, to = 0;
  in.datesValid = session.view.CustomDateRange(from, to);
  if (in.datesValid) {
    in.settings.customDateFrom = from;
    in.settings.customDateTo = to;
  }
  in.source = SnapshotResults(session.results);

  in.applied = AppliedFilter{in.settings.selectedTag,
                             in.settings.sizePreset,
                             in.settings.timePreset,
                             in.settings.sizeUnit,
                             session.filters.customSizeHash.load(),
                             in.settings.customDateFrom,
                             in.settings.customDateTo,
                             in.source.get()};
  const WindowHandle window = session.results.window.load();
  {
    std::lock_guard lock(session.filteredMutex);
    if (session.filtered && session.applied == in.applied) {
      // Nothing changed since the last pass: it still holds.
      session.displayedCount = static_cast<int64_t>(session.filtered->size());
      PostIfWindow(*session.env.windows, window, WMU_FILTER_RESULTS, 0, 0);
      return;
    }
    session.filtered.reset();
    session.applied = AppliedFilter{};
    session.displayedCount = in.source ? static_cast<int64_t>(in.source->size()) : 0;
  }
  if (in.source && in.settings.AnyActive()) {
    StartBackgroundTask(session.env, u"refresh_filtered_results", [&session, in] { RunFilterPass(session, in); });
  } else {
    PostIfWindow(*session.env.windows, window, WMU_FILTER_RESULTS, 0, 0);
  }
}

Results DisplayedResults(SearchSession& session) {
  {
    std::lock_guard lock(session.filteredMutex);
    if (session.filtered) return session.filtered;
  }
  return SnapshotResults(session.results);
}

}  // namespace quillmor
