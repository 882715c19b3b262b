#include "app/core/tooltip_place.h"

#include <algorithm>

#include "settings/dpi_scale.h"

namespace quillmor {

ScreenPoint PlaceTooltip(ScreenPoint pointer, int32_t width, int32_t height, const Rect& workArea, int32_t dpi) {
  const int64_t w = std::max(0, width);
  const int64_t h = std::max(0, height);
  int64_t x = static_cast<int64_t>(pointer.x) + ScaleFrom96(12, dpi);
  int64_t y = static_cast<int64_t>(pointer.y) + ScaleFrom96(20, dpi);
  if (x + w > workArea.right) x = workArea.right - w;
  if (y + h > workArea.bottom) y = static_cast<int64_t>(pointer.y) - ScaleFrom96(4, dpi) - h;
  x = std::max<int64_t>(std::min<int64_t>(x, workArea.right - w), workArea.left);
  y = std::max<int64_t>(std::min<int64_t>(y, workArea.bottom - h), workArea.top);
  return {static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

}  // namespace quillmor
