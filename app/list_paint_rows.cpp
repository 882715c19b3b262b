// The list view: the column header with its sort arrow, and the rows with
// their row numbers, icons, highlighted names, sizes, dates and paths.
#include <vector>

#include "app/core/cell_text.h"
#include "app/core/column_layout.h"
#include "app/core/highlight.h"
#include "app/core/text_fit.h"
#include "app/paint_helpers.h"
#include "app/icon_cache.h"
#include "app/list_paint.h"
#include "app/main_window_handlers.h"

namespace quillmor {
namespace {

using Edges = std::array<int32_t, kResultColumnCount + 1>;

// What every row of a frame needs measured once.
struct RowText {
  std::u16string highlight;  // the needle, folded
  int32_t lineHeight = 0;
  int32_t ellipsisWidth = 0;
};

void PaintHeader(ListPaint& p, const Edges& edges) {
  const int32_t top = p.w.listTop;
  const int32_t bottom = top + p.metrics.headerHeight;
  if (!p.NeedsRows(top, bottom)) return;
  FillSolid(p.dc, RECT{p.area.left, top, p.area.right, bottom}, p.palette.background);
  FillSolid(p.dc, RECT{p.area.left, bottom - 1, p.area.right, bottom}, p.palette.gridLine);
  SelectObject(p.dc, p.w.fonts.bold);
  const int32_t sortColumn = p.w.app.results.sortColumn.load();
  const bool ascending = p.w.app.results.sortAscending.load() != 0;
  for (int32_t c = 0; c < kResultColumnCount; ++c) {
    // A short divider marks each border a press can drag.
    if (c > 0) FillSolid(p.dc, RECT{edges[c], top + p.S(12), edges[c] + 1, bottom - p.S(12)}, p.palette.gridLine);
    const COLORREF colour = c == sortColumn ? p.palette.text : p.palette.pathText;
    DrawCellText(p.dc, HeaderText(c, sortColumn, ascending),
                 RECT{edges[c] + p.S(12), top, edges[c + 1] - p.S(6), bottom - 1}, colour);
  }
}

// The name from `left`, its matches filled and coloured, cut with "..."
// before `right`.
void DrawName(ListPaint& p, const ListRow& row, const RowText& text, const RECT& cell, int32_t left, COLORREF colour,
              COLORREF under) {
  const std::u16string& name = row.name;
  if (name.empty() || cell.right <= left) return;
  std::vector<int> extents(name.size());
  SIZE total{};
  if (!GetTextExtentExPointW(p.dc, W(name), static_cast<int>(name.size()), 0, nullptr, extents.data(), &total)) return;
  const TextFit fit = FitTextEnd(name, extents, cell.right - left, text.ellipsisWidth);
  const std::vector<TextRange> matches = ClipRanges(HighlightRanges(row.lowerName, text.highlight), fit.units);
  const int32_t y = cell.top + (cell.bottom - cell.top - text.lineHeight) / 2;
  const auto xAt = [&](size_t units) { return left + (units == 0 ? 0 : extents[units - 1]); };
  for (const TextRange& m : matches) {
    const RECT fill{xAt(m.start) - 1, y, xAt(m.start + m.length) + 1, y + text.lineHeight};
    FillRounded(p.dc, fill, p.S(3), p.palette.matchFill, under);
  }
  SetTextColor(p.dc, colour);
  ExtTextOutW(p.dc, left, y, ETO_CLIPPED, &cell, W(name), static_cast<UINT>(fit.units), nullptr);
  if (fit.ellipsis) ExtTextOutW(p.dc, xAt(fit.units), y, ETO_CLIPPED, &cell, L"...", 3, nullptr);
  SetTextColor(p.dc, p.palette.matchText);
  for (const TextRange& m : matches) {
    ExtTextOutW(p.dc, xAt(m.start), y, ETO_CLIPPED, &cell, W(name) + m.start, static_cast<UINT>(m.length), nullptr);
  }
}

void PaintRow(ListPaint& p, const Edges& edges, const RowText& text, int64_t index, int32_t top) {
  MainWindow& w = p.w;
  const MatchItem& item = (*w.list.shown)[static_cast<size_t>(index)];
  const ListRow row = ReadListRow(item);
  const std::optional<AttrEntry> attrs = CachedAttributes(item, row);
  if (!attrs && row.valid && !p.scrolling && !p.hydrationRequested) {
    RequestListAttrHydration(w);
    p.hydrationRequested = true;
  }
  const int32_t height = p.metrics.rowHeight;
  const bool selected = w.list.selection.IsSelected(index);
  const bool hovered = index == w.list.hovered;
  COLORREF under = p.palette.background;
  if (selected || hovered) {
    under = selected ? p.palette.selection : p.palette.hover;
    const RECT fill{p.area.left + p.S(8), top, p.area.right - p.S(8), top + height - p.S(4)};
    FillRounded(p.dc, fill, p.S(8), under, p.palette.background);
  }
  const COLORREF colour = selected || hovered ? p.palette.strongText : p.palette.text;
  const auto cell = [&](int32_t c) { return RECT{edges[c] + p.S(15), top, edges[c + 1] - p.S(10), top + height}; };
  Clock& clock = *w.env.clock;

  DrawCellText(p.dc, RowNumberText(index), cell(kColumnRowNumber), p.palette.rowNumberText);

  const int32_t iconSize = p.metrics.iconSize;
  const int32_t iconLeft = edges[kColumnName] + p.S(10);
  const RECT nameCell{iconLeft, top, edges[kColumnName + 1] - p.S(10), top + height};
  if (w.list.icons && nameCell.right > nameCell.left) {
    if (const HICON icon =
            LoadItemIcon(*w.list.icons, row.isDirectory, row.path, iconSize, false, clock.TickCount64())) {
      const int saved = SaveDC(p.dc);
      IntersectClipRect(p.dc, nameCell.left, nameCell.top, nameCell.right, nameCell.bottom);
      DrawIconEx(p.dc, iconLeft, top + (height - iconSize) / 2, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
      RestoreDC(p.dc, saved);
    }
  }
  DrawName(p, row, text, nameCell, iconLeft + p.S(22), colour, under);

  for (const int32_t c : {kColumnSize, kColumnModified, kColumnCreated}) {
    DrawCellText(p.dc, ListCellText(c, index, row, attrs, clock), cell(c), colour);
  }
  DrawCellText(p.dc, row.path, cell(kColumnPath), p.palette.pathText, DT_PATH_ELLIPSIS);

  if (w.app.window.tableGridLines) {
    for (int32_t c = 1; c < kResultColumnCount; ++c) {
      FillSolid(p.dc, RECT{edges[c], top, edges[c] + 1, top + height}, p.palette.gridLine);
    }
    const int32_t right = std::min(p.area.right, edges[kResultColumnCount]);
    FillSolid(p.dc, RECT{p.area.left, top + height - 1, right, top + height}, p.palette.gridLine);
  }
}

}  // namespace

void PaintListView(ListPaint& p) {
  MainWindow& w = p.w;
  const Edges edges = ColumnEdges(p.frame, w.list.hScrollOffset);
  PaintHeader(p, edges);
  if (!w.list.shown) return;
  const int64_t count = std::min<int64_t>(w.list.count, static_cast<int64_t>(w.list.shown->size()));
  const RowRange range = RowsToPaint(p.frame, w.list.scrollOffset, count);
  if (range.first >= range.last) return;

  // Rows stay below the header.
  const int saved = SaveDC(p.dc);
  IntersectClipRect(p.dc, p.area.left, p.area.top, p.area.right, p.area.bottom);
  SelectObject(p.dc, w.fonts.list);
  RowText text;
  text.highlight = HighlightText(w.queryText);
  TEXTMETRICW metrics{};
  GetTextMetricsW(p.dc, &metrics);
  text.lineHeight = metrics.tmHeight;
  SIZE dots{};
  GetTextExtentPoint32W(p.dc, L"...", 3, &dots);
  text.ellipsisWidth = dots.cx;

  for (uint64_t i = range.first; i < range.last; ++i) {
    const int64_t top = p.area.top + static_cast<int64_t>(i) * p.metrics.rowHeight - w.list.scrollOffset;
    if (!p.NeedsRows(top, top + p.metrics.rowHeight)) continue;
    PaintRow(p, edges, text, static_cast<int64_t>(i), static_cast<int32_t>(top));
  }
  RestoreDC(p.dc, saved);
}

}  // namespace quillmor
