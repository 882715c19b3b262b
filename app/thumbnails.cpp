// Thumbnails of the images and videos in view (the icon views), made on the
// job "thumb_hydration" once scrolling settles.
#include "app/core/icon_cache_key.h"
#include "app/core/thumbnail_extensions.h"
#include "app/icon_cache.h"
#include "app/main_window_handlers.h"
#include "engine/attr_cache_state.h"
#include "engine/visible_attr_hydration.h"
#include "platform/shutdown.h"
#include "settings/single_run_task.h"

namespace quillmor {

void RequestVisibleThumbnailHydrationAsync(MainWindow& w) {
  const ListFrame frame = ListFrameOf(w);
  const Results rows = w.list.shown;
  const std::shared_ptr<IconCache> cache = w.list.icons;
  if (!IsIconView(frame.viewMode) || !rows || rows->empty() || !cache || ShuttingDown()) return;
  const RowRange range = VisibleRows(HydrationGeometry(frame, w.list.scrollOffset), rows->size());
  if (range.first >= range.last) return;
  // One job at a time; this request is dropped. Checked before the
  // generation moves on, which would stop the job that runs.
  if (cache->thumbnailsRunning.load() != 0) return;

  const uint64_t generation = cache->thumbnailGeneration.fetch_add(1) + 1;
  ResultSet& set = w.app.results;
  const uint64_t searchGeneration = set.searchGeneration.load();
  const int32_t size = ViewMetricsFor(frame.viewMode, frame.dpi).iconSize;
  Env& env = w.env;
  const auto current = [cache, &set, generation, searchGeneration] {
    return !ShuttingDown() && cache->thumbnailGeneration.load() == generation && set.IsCurrent(searchGeneration);
  };
  // The job holds `cache`, and with it the flag it clears when it ends.
  StartSingleRunTask(
      env, u"thumb_hydration", cache->thumbnailsRunning, [&env, &set, cache, rows, range, size, current] {
        bool loaded = false;
        for (uint64_t r = range.first; r < range.last && r < rows->size(); ++r) {
          if (!current()) return;
          const ListRow row = ReadListRow((*rows)[r]);
          if (!row.valid || row.isDirectory || !HasThumbnailExtension(row.name)) continue;
          if (CachedThumbnail(*cache, row.path, size) != nullptr) continue;
          if (LoadThumbnailIcon(*cache, row.path, size, env.clock->TickCount64()) != nullptr) loaded = true;
        }
        if (loaded && current()) {
          PostIfWindow(*env.windows, set.window.load(), WMU_HYDRATION_DONE, g_attrCache.hydrationGeneration.load(), 0);
        }
      });
}

}  // namespace quillmor
