#include "app/gdi_shapes.h"

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
  SetDCBrushColor(dc, colour);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
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

}  // namespace quillmor
