#include "engine/visible_attr_hydration.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>

#include "engine/attr_cache_state.h"
#include "engine/hydrate_attributes.h"
#include "platform/shutdown.h"
#include "settings/dpi_scale.h"
#include "settings/single_run_task.h"

namespace quillmor {
namespace {

bool StillCurrent(const ResultSet& set, uint64_t hydrationGeneration, uint64_t searchGeneration) {
  return !ShuttingDown() && g_attrCache.hydrationGeneration.load() == hydrationGeneration &&
         set.IsCurrent(searchGeneration);
}

}  // namespace

RowRange VisibleRows(const ListGeometry& geometry, uint64_t rowCount) {
  const bool icons = geometry.viewMode == 1 || geometry.viewMode == 2;
  const int32_t height96 = geometry.viewMode == 1   ? kSmallIconRowHeight96
                           : geometry.viewMode == 2 ? kLargeIconRowHeight96
                                                    : kListRowHeight96;
  const uint64_t rowHeight =
      static_cast<uint64_t>(std::max(1, ScaleFrom96(height96, static_cast<int32_t>(geometry.dpi))));
  const uint64_t visible = static_cast<uint64_t>(std::max(0, geometry.rowAreaHeight)) / rowHeight + 2;
  const uint64_t firstRow = static_cast<uint64_t>(std::max<int64_t>(0, geometry.scrollOffset)) / rowHeight;
  const uint64_t perRow = icons ? static_cast<uint64_t>(std::max(1, geometry.iconsPerRow)) : 1;
  // Far beyond any real list; keeps the products below from wrapping.
  constexpr uint64_t kLimit = uint64_t{1} << 40;
  RowRange range;
  range.first = std::min(firstRow, kLimit) * perRow;
  range.last = std::min(rowCount, (std::min(firstRow, kLimit) + std::min(visible, kLimit)) * perRow);
  return range;
}

bool HydrateVisibleRows(ResultSet& set, const std::vector<MatchItem>& rows, RowRange range,
                        uint64_t hydrationGeneration, uint64_t searchGeneration) {
  bool hydrated = false;
  const uint64_t last = std::min<uint64_t>(range.last, rows.size());
  for (uint64_t r = range.first; r < last; ++r) {
    if (!StillCurrent(set, hydrationGeneration, searchGeneration)) return false;
    VolumeIndex* volume = rows[r].volume;
    if (volume == nullptr) continue;
    uint64_t fileRef = 0;
    {
      std::shared_lock records(volume->recordsLock);
      if (rows[r].recordIndex >= volume->records.size()) continue;
      fileRef = volume->records[rows[r].recordIndex].fileRef;
    }
    AttrEntry entry;
    if (volume->LookupAttributes(fileRef, entry) != 0) continue;
    try {
      HydrateAttributes(volume, rows[r].recordIndex, entry);
      hydrated = true;
    } catch (...) {
      // Not hydrated; the next request tries again.
    }
  }
  return hydrated;
}

void RequestVisibleAttrHydrationAsync(Env& env, ResultSet& set, ViewState& view, Results shown) {
  Results rows = shown ? std::move(shown) : SnapshotResults(set);
  if (!rows || rows->empty() || ShuttingDown()) return;
  const RowRange range = VisibleRows(view.Geometry(), rows->size());
  if (range.first >= range.last) return;
  // One job at a time; a request while one runs is dropped.
  if (g_attrCache.hydrationRunning.load() != 0) return;

  const uint64_t hydrationGeneration = g_attrCache.hydrationGeneration.fetch_add(1) + 1;
  const uint64_t searchGeneration = set.searchGeneration.load();
  StartSingleRunTask(env, u"attr_hydration", g_attrCache.hydrationRunning,
                     [&env, &set, rows, range, hydrationGeneration, searchGeneration] {
                       const bool hydrated =
                           HydrateVisibleRows(set, *rows, range, hydrationGeneration, searchGeneration);
                       if (hydrated && StillCurrent(set, hydrationGeneration, searchGeneration)) {
                         PostIfWindow(*env.windows, set.window.load(), WMU_HYDRATION_DONE, hydrationGeneration, 0);
                       }
                     });
}

}  // namespace quillmor
