// Painting the window through the back buffer.
#include "app/main_window_handlers.h"
#include "settings/dpi_scale.h"

namespace quillmor {
namespace {

void FillRect(HDC dc, int left, int top, int right, int bottom, uint32_t colour) {
  SetDCBrushColor(dc, colour);
  const RECT rect{left, top, right, bottom};
  ::FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void PaintFrame(MainWindow& w, HDC dc) {
  const ThemePalette& palette = *w.theme.palette;
  const auto s = [&](int v) { return ScaleFrom96(v, static_cast<int32_t>(w.dpi)); };
  FillRect(dc, 0, 0, w.clientWidth, w.clientHeight, palette.background);
  FillRect(dc, 0, 0, w.clientWidth, w.listTop, palette.band);
  PaintFilterSidebar(w, dc);
  if (!w.list.shown) return;
  const int left = w.app.window.sidebarLayout ? w.sidebarWidth : 0;
  SelectObject(dc, w.fonts.list);
  SetBkMode(dc, TRANSPARENT);
  const int rowHeight = s(44);
  const int top = w.listTop + s(40);
  const int64_t first = w.list.scrollOffset / rowHeight;
  const auto& rows = *w.list.shown;
  for (int64_t i = first; i < static_cast<int64_t>(rows.size()); ++i) {
    const int y = top + static_cast<int>(i * rowHeight - w.list.scrollOffset);
    if (y >= w.clientHeight) break;
    const MatchItem& item = rows[static_cast<size_t>(i)];
    const std::u16string path = item.volume != nullptr ? item.volume->GetFullPath(item.recordIndex) : u"";
    SetTextColor(dc, palette.text);
    RECT cell{left + s(20), y, w.clientWidth - s(12), y + rowHeight};
    DrawTextW(dc, W(path), -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}

}  // namespace

void OnPaint(MainWindow& w) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(w.hwnd, &paint);
  if (w.backBuffer.dc == nullptr) RecreateBackBuffer(w);
  if (w.backBuffer.dc != nullptr) {
    PaintFrame(w, w.backBuffer.dc);
    BitBlt(dc, 0, 0, w.clientWidth, w.clientHeight, w.backBuffer.dc, 0, 0, SRCCOPY);
  }
  EndPaint(w.hwnd, &paint);
}

}  // namespace quillmor
