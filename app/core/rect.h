// A rectangle in client pixels, right and bottom exclusive (as a RECT).
#pragma once

#include <cstdint>

namespace quillmor {

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  constexpr int32_t Width() const { return right - left; }
  constexpr int32_t Height() const { return bottom - top; }
  constexpr bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const Rect&) const = default;
};

// A rectangle from its place and size.
constexpr Rect RectAt(int32_t x, int32_t y, int32_t width, int32_t height) { return Rect{x, y, x + width, y + height}; }

}  // namespace quillmor
