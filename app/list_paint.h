// What the list's painting files share: one frame's context. Internal to
// list_paint*.cpp.
#pragma once

#include "app/core/list_geometry.h"
#include "app/core/theme_palette.h"
#include "app/main_window.h"
#include "settings/dpi_scale.h"

namespace quillmor {

struct ListPaint {
  MainWindow& w;
  HDC dc;
  RECT clip;  // what needs drawing; everything else may be skipped
  const ThemePalette& palette;
  ListFrame frame;
  Rect area;
  ViewMetrics metrics;
  bool scrolling = false;           // hydration waits until scrolling settles
  bool hydrationRequested = false;  // at most one request per frame

  int32_t S(int32_t pixels96) const { return ScaleFrom96(pixels96, frame.dpi); }
  // Whether the part of a row (or cell) from `top` to `bottom` needs drawing.
  bool NeedsRows(int64_t top, int64_t bottom) const { return bottom > clip.top && top < clip.bottom; }
};

// The header and the rows of the list view.
void PaintListView(ListPaint& p);
// The cells of the icon views.
void PaintIconView(ListPaint& p);

// Draws `text` in `rect`, one line, vertically centred, cut with "..." when
// it does not fit (`format` adds to that).
void DrawCellText(HDC dc, const std::u16string& text, RECT rect, COLORREF colour, UINT format = 0);

}  // namespace quillmor
