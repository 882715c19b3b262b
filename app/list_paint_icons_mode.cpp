// The icon views: one framed cell per result, its icon or thumbnail above
// its name.
#include "app/core/icon_cache_key.h"
#include "app/core/thumbnail_extensions.h"
#include "app/paint_helpers.h"
#include "app/icon_cache.h"
#include "app/list_paint.h"
#include "app/main_window_handlers.h"

namespace quillmor {

void PaintIconView(ListPaint& p) {
  MainWindow& w = p.w;
  if (!w.list.shown || !w.list.icons) return;
  const int64_t count = std::min<int64_t>(w.list.count, static_cast<int64_t>(w.list.shown->size()));
  const RowRange range = RowsToPaint(p.frame, w.list.scrollOffset, count);
  const int64_t perRow = ColumnsPerRow(p.frame);
  const int32_t cellWidth = p.metrics.cellWidth;
  const int32_t cellHeight = p.metrics.rowHeight;
  const int32_t iconSize = p.metrics.iconSize;
  IconCache& icons = *w.list.icons;
  const uint64_t now = w.env.clock->TickCount64();
  bool thumbnailsMissing = false;
  SelectObject(p.dc, w.fonts.list);

  for (uint64_t i = range.first; i < range.last; ++i) {
    const int64_t index = static_cast<int64_t>(i);
    const int32_t x = p.area.left + static_cast<int32_t>(index % perRow) * cellWidth;
    const int64_t y64 = p.area.top + index / perRow * cellHeight - w.list.scrollOffset;
    if (!p.NeedsRows(y64, y64 + cellHeight)) continue;
    const int32_t y = static_cast<int32_t>(y64);
    const ListRow row = ReadListRow((*w.list.shown)[static_cast<size_t>(index)]);
    const bool selected = w.list.selection.IsSelected(index);

    const COLORREF fill = selected ? p.palette.selection : p.palette.background;
    const COLORREF frame = selected ? p.palette.selectedFrame : p.palette.gridLine;
    FrameRounded(p.dc, RECT{x + 1, y + 1, x + cellWidth - 1, y + cellHeight - 1}, p.S(8), frame, fill,
                 p.palette.background);

    HICON icon = nullptr;
    if (!row.isDirectory && HasThumbnailExtension(row.name)) {
      icon = CachedThumbnail(icons, row.path, iconSize);
      if (icon == nullptr && !icons.failures.RecentlyFailed(IconCacheKey(row.path, iconSize, false, true), now)) {
        thumbnailsMissing = true;
      }
    }
    if (icon == nullptr) icon = LoadItemIcon(icons, row.isDirectory, row.path, iconSize, false, now);
    if (icon != nullptr) {
      DrawIconEx(p.dc, x + (cellWidth - iconSize) / 2, y + p.S(8), icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
    }
    const RECT name{x + p.S(6), y + p.S(8) + iconSize + p.S(6), x + cellWidth - p.S(6), y + cellHeight - p.S(6)};
    DrawCellText(p.dc, row.name, name, p.palette.text, DT_CENTER);
  }
  // New results (not only a scroll) bring their thumbnails once the list is
  // still.
  if (thumbnailsMissing && !p.scrolling) RequestVisibleThumbnailHydrationAsync(w);
}

}  // namespace quillmor
