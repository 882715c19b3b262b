#include "app/paint_helpers.h"

namespace quillmor {

void FillSolid(HDC dc, const RECT& rect, uint32_t colour) {
  const COLORREF old = SetDCBrushColor(dc, colour);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetDCBrushColor(dc, old);
}

void FillRoundedBox(HDC dc, const RECT& rect, int radius, uint32_t fill, uint32_t frame) {
  const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
  const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
  const COLORREF oldPenColour = SetDCPenColor(dc, frame);
  const COLORREF oldBrushColour = SetDCBrushColor(dc, fill);
  RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, 2 * radius, 2 * radius);
  SetDCPenColor(dc, oldPenColour);
  SetDCBrushColor(dc, oldBrushColour);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
}

namespace {

void Polyline3(HDC dc, const POINT (&points)[3], int thickness, uint32_t colour) {
  for (int t = 0; t < thickness; ++t) {
    POINT shifted[3];
    for (int i = 0; i < 3; ++i) shifted[i] = POINT{points[i].x, points[i].y + t};
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
    const COLORREF oldColour = SetDCPenColor(dc, colour);
    Polyline(dc, shifted, 3);
    SetDCPenColor(dc, oldColour);
    SelectObject(dc, oldPen);
  }
}

}  // namespace

void DrawChevron(HDC dc, int x, int y, int size, int thickness, uint32_t colour) {
  const int half = size / 2;
  const int rise = (half + 1) / 2;
  const POINT points[3] = {{x - half, y - rise}, {x, y - rise + half}, {x + half + 1, y - rise - 1}};
  Polyline3(dc, points, thickness, colour);
}

void DrawTick(HDC dc, const RECT& box, int thickness, uint32_t colour) {
  const int w = box.right - box.left;
  const int h = box.bottom - box.top;
  const POINT points[3] = {{box.left + w / 6, box.top + h / 2},
                           {box.left + w * 5 / 12, box.top + h * 3 / 4},
                           {box.left + w * 5 / 6 + 1, box.top + h / 4 - 1}};
  Polyline3(dc, points, thickness, colour);
}

void DrawLine(HDC dc, const std::u16string& text, RECT rect, HFONT font, uint32_t colour, UINT format) {
  const HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
  const COLORREF oldColour = SetTextColor(dc, colour);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, W(text), static_cast<int>(text.size()), &rect,
            format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColour);
  if (oldFont != nullptr) SelectObject(dc, oldFont);
}

BufferedPaint::BufferedPaint(HDC target, const RECT& area) : target_(target), area_(area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  dc_ = CreateCompatibleDC(target);
  bitmap_ = dc_ != nullptr ? CreateCompatibleBitmap(target, width, height) : nullptr;
  if (bitmap_ == nullptr) {
    if (dc_ != nullptr) DeleteDC(dc_);
    dc_ = nullptr;
    return;
  }
  previous_ = SelectObject(dc_, bitmap_);
  SetViewportOrgEx(dc_, -area.left, -area.top, nullptr);
}

BufferedPaint::~BufferedPaint() {
  if (dc_ == nullptr) return;
  SetViewportOrgEx(dc_, 0, 0, nullptr);
  BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, dc_, 0, 0, SRCCOPY);
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

}  // namespace quillmor
