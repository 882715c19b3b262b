#include "app/core/top_row_layout.h"

#include <algorithm>

#include "settings/dpi_scale.h"

namespace quillmor {

TopRowLayout LayOutTopRow(int32_t clientWidth, bool customSize, bool customTime, int32_t dpi) {
  const auto px = [dpi](int32_t v) { return ScaleFrom96(v, dpi); };
  const int32_t y = px(16);
  const int32_t h = px(38);
  const int32_t g = px(12);
  const int32_t c = px(130);
  const int32_t small = px(78);
  const int32_t date = px(130);

  int32_t extra = 0;
  if (customSize) extra += small + g + small + px(3);
  if (customTime) extra += 2 * date + g + px(3);
  const int32_t searchLeft = px(20) + px(120) + g;
  const int32_t xs = std::max(clientWidth - 2 * c - extra - g - px(20), px(220) + px(120) + g + px(20));

  TopRowLayout layout;
  layout.showCustomSize = customSize;
  layout.showDates = customTime;
  layout.scope = RectAt(px(20), y, px(120), h);
  layout.search = RectAt(searchLeft, y, std::max(px(80), xs - g - searchLeft), h);
  layout.sizePreset = RectAt(xs, y, c, h);
  int32_t timeLeft = xs + c + g;
  if (customSize) {
    layout.customSize = RectAt(xs + c + px(3), y, small, h);
    layout.sizeUnit = RectAt(xs + c + small + px(6), y, small, h);
    timeLeft = layout.sizeUnit.right + g;
  }
  layout.timePreset = RectAt(timeLeft, y, c, h);
  if (customTime) {
    layout.dateFrom = RectAt(layout.timePreset.right + px(3), y, date, h);
    layout.dateTo = RectAt(layout.timePreset.right + date + px(6), y, date, h);
  }
  return layout;
}

}  // namespace quillmor
