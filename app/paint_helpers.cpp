#include "app/paint_helpers.h"

#include <algorithm>
#include <map>
#include <vector>

#include "app/core/rounded_corner.h"

namespace quillmor {
namespace {

// Painting happens on the user-interface thread only; a few radii are in use
// (one per DPI and shape).
const std::vector<uint8_t>& CornerCoverage(int32_t radius) {
  static std::map<int32_t, std::vector<uint8_t>> cache;
  auto it = cache.find(radius);
  if (it == cache.end()) it = cache.emplace(radius, RoundedCornerCoverage(radius)).first;
  return it->second;
}

}  // namespace

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  const COLORREF old = SetDCBrushColor(dc, colour);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetDCBrushColor(dc, old);
}

void FillRoundedBox(HDC dc, const RECT& rect, int radius, COLORREF fill, COLORREF frame) {
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

void FillRounded(HDC dc, const RECT& rect, int32_t radius, COLORREF colour, COLORREF under) {
  const int32_t width = rect.right - rect.left;
  const int32_t height = rect.bottom - rect.top;
  radius = std::min({radius, width / 2, height / 2});
  if (radius < 1) {
    FillSolid(dc, rect, colour);
    return;
  }
  const std::vector<uint8_t>& coverage = CornerCoverage(radius);
  FillSolid(dc, RECT{rect.left, rect.top + radius, rect.right, rect.bottom - radius}, colour);
  for (int32_t y = 0; y < radius; ++y) {
    const uint8_t* row = &coverage[static_cast<size_t>(y) * radius];
    // Coverage grows towards the inside along a row: the first full pixel
    // starts the solid span.
    int32_t solid = radius;
    for (int32_t x = 0; x < radius; ++x) {
      if (row[x] == 255) {
        solid = x;
        break;
      }
    }
    const int32_t top = rect.top + y;
    const int32_t bottom = rect.bottom - 1 - y;
    FillSolid(dc, RECT{rect.left + solid, top, rect.right - solid, top + 1}, colour);
    FillSolid(dc, RECT{rect.left + solid, bottom, rect.right - solid, bottom + 1}, colour);
    for (int32_t x = 0; x < solid; ++x) {
      if (row[x] == 0) continue;
      const COLORREF edge = BlendColour(colour, under, row[x]);
      SetPixelV(dc, rect.left + x, top, edge);
      SetPixelV(dc, rect.right - 1 - x, top, edge);
      SetPixelV(dc, rect.left + x, bottom, edge);
      SetPixelV(dc, rect.right - 1 - x, bottom, edge);
    }
  }
}

void FrameRounded(HDC dc, const RECT& rect, int32_t radius, COLORREF frame, COLORREF fill, COLORREF under) {
  FillRounded(dc, rect, radius, frame, under);
  const RECT inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
  FillRounded(dc, inner, std::max(0, radius - 1), fill, frame);
}

namespace {

void Polyline3(HDC dc, const POINT (&points)[3], int thickness, COLORREF colour) {
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

void DrawChevron(HDC dc, int x, int y, int size, int thickness, COLORREF colour) {
  const int half = size / 2;
  const int rise = (half + 1) / 2;
  const POINT points[3] = {{x - half, y - rise}, {x, y - rise + half}, {x + half + 1, y - rise - 1}};
  Polyline3(dc, points, thickness, colour);
}

void DrawTick(HDC dc, const RECT& box, int thickness, COLORREF colour) {
  const int w = box.right - box.left;
  const int h = box.bottom - box.top;
  const POINT points[3] = {{box.left + w / 6, box.top + h / 2},
                           {box.left + w * 5 / 12, box.top + h * 3 / 4},
                           {box.left + w * 5 / 6 + 1, box.top + h / 4 - 1}};
  Polyline3(dc, points, thickness, colour);
}

void DrawLine(HDC dc, const std::u16string& text, RECT rect, HFONT font, COLORREF colour, UINT format) {
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
