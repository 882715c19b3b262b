// Painting the window's frame through the back buffer: the bands, the
// filter sidebar's place, the list in its view mode and its drawn scroll
// bars.
#include "app/list_paint.h"

#include "app/core/drawn_scroll_bar.h"
#include "app/paint_helpers.h"
#include "app/icon_cache.h"
#include "app/main_window_handlers.h"

namespace quillmor {
namespace {

// The top band is 70 px high; the band colour continues down to the list.
constexpr int32_t kTopBand96 = 70;

// The drawn bars' thumbs: a slim pill, darker while dragged.
COLORREF ThumbColour(const ThemePalette& palette, bool dragging) {
  if (palette.dark) return dragging ? Rgb(98, 106, 128) : Rgb(58, 64, 82);
  return dragging ? Rgb(148, 163, 184) : Rgb(203, 213, 225);
}

void PaintBar(ListPaint& p, const DrawnScrollBar& bar, const Rect& rect, bool vertical, bool dragging) {
  // A thumb as long as its track has nowhere to go: nothing to show.
  if (!bar.shown || bar.Travel() <= 0) return;
  const int32_t inset = p.S(2);
  RECT thumb;
  if (vertical) {
    thumb = RECT{rect.left + inset, bar.thumbStart, rect.right - inset, bar.thumbStart + bar.thumbLength};
  } else {
    thumb = RECT{bar.thumbStart, rect.top + inset, bar.thumbStart + bar.thumbLength, rect.bottom - inset};
  }
  const int32_t radius = vertical ? (thumb.right - thumb.left) / 2 : (thumb.bottom - thumb.top) / 2;
  FillRounded(p.dc, thumb, radius, ThumbColour(p.palette, dragging), p.palette.background);
}

void PaintScrollBars(ListPaint& p) {
  const ListState& list = p.w.list;
  const bool dragging = list.drag == ListDrag::kVerticalThumb || list.drag == ListDrag::kHorizontalThumb;
  PaintBar(p, VerticalListBar(p.frame, list.scrollOffset, list.count), VerticalBarRect(p.frame), true,
           dragging && list.drag == ListDrag::kVerticalThumb);
  PaintBar(p, HorizontalListBar(p.frame, list.hScrollOffset), HorizontalBarRect(p.frame), false,
           dragging && list.drag == ListDrag::kHorizontalThumb);
}

}  // namespace

void DrawCellText(HDC dc, const std::u16string& text, RECT rect, COLORREF colour, UINT format) {
  if (text.empty() || rect.right <= rect.left) return;
  SetTextColor(dc, colour);
  DrawTextW(dc, W(text), static_cast<int>(text.size()), &rect,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | format);
}

void PaintListFrame(MainWindow& w, HDC dc, const RECT& clip) {
  const ThemePalette& palette = *w.theme.palette;
  const ListFrame frame = ListFrameOf(w);
  ListPaint p{w, dc, clip, palette, frame, ListArea(frame), ViewMetricsFor(frame.viewMode, frame.dpi)};
  p.scrolling = ListScrollingActive(w);
  if (w.list.icons) w.list.icons->DestroyDropped();

  const int saved = SaveDC(dc);
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  SetBkMode(dc, TRANSPARENT);
  FillSolid(dc, clip, palette.background);
  FillSolid(dc, RECT{0, 0, w.clientWidth, std::min(p.S(kTopBand96), w.listTop)}, palette.band);
  FillSolid(dc, RECT{0, std::min(p.S(kTopBand96), w.listTop), w.clientWidth, w.listTop}, palette.band);
  if (frame.sidebarLayout) PaintFilterSidebar(w, dc);

  // The list draws inside its own area only (its header included).
  const int listSaved = SaveDC(dc);
  IntersectClipRect(dc, p.area.left, w.listTop, p.area.right, p.area.bottom);
  if (IsIconView(frame.viewMode)) {
    PaintIconView(p);
  } else {
    PaintListView(p);
  }
  RestoreDC(dc, listSaved);
  PaintScrollBars(p);
  RestoreDC(dc, saved);
}

void OnPaint(MainWindow& w) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(w.hwnd, &paint);
  if (w.backBuffer.dc == nullptr || w.backBuffer.width != w.clientWidth || w.backBuffer.height != w.clientHeight) {
    RecreateBackBuffer(w);
  }
  if (w.backBuffer.dc != nullptr) {
    const RECT& r = paint.rcPaint;
    PaintListFrame(w, w.backBuffer.dc, r);
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, w.backBuffer.dc, r.left, r.top, SRCCOPY);
  }
  EndPaint(w.hwnd, &paint);
}

}  // namespace quillmor
