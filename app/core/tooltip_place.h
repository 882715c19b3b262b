// Where the list's tracking tooltip goes: beside the pointer, and never off
// the monitor's work area.
#pragma once

#include <cstdint>

#include "app/core/rect.h"

namespace quillmor {

struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// The tooltip's top-left corner for a `width` x `height` tip: 12 px right of
// and 20 px below the pointer (at 96 DPI). A tip that would pass the work
// area's right edge moves left to end at it; one that would pass its bottom
// goes above the pointer instead; finally it is kept inside the area (its
// top-left corner first, when the tip is larger than the area).
ScreenPoint PlaceTooltip(ScreenPoint pointer, int32_t width, int32_t height, const Rect& workArea, int32_t dpi);

}  // namespace quillmor
