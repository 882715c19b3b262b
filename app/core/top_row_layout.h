// The row of controls at the top of the main window, laid out on every
// WM_SIZE: scope box, search box, size preset (with the custom size edit and
// its unit box), time preset (with the two date pickers).
#pragma once

#include <cstdint>

#include "app/core/rect.h"

namespace quillmor {

struct TopRowLayout {
  Rect scope;
  Rect search;
  Rect sizePreset;
  Rect customSize;  // meaningful when showCustomSize
  Rect sizeUnit;    // meaningful when showCustomSize
  Rect timePreset;
  Rect dateFrom;  // meaningful when showDates
  Rect dateTo;    // meaningful when showDates
  bool showCustomSize = false;
  bool showDates = false;
};

// At y = 16 with the control height 38, gap g = 12 and combo width c = 130
// (all at 96 DPI): the scope box at 20 (120 wide); the size preset at
// xs = width - 2c - extra - g - 20, where extra adds 78 + g + 78 + 3 for the
// custom size and 2 x 130 + g + 3 for the custom time, but never left of
// 220 + 120 + g + 20; the search box from 20 + 120 + g to xs - g, at least 80
// wide; the custom edit at xs + c + 3 and its unit box at xs + c + 78 + 6 (78
// wide each); the time preset a gap after the last of these; the date pickers
// 3 and 130 + 6 right of the time preset (130 wide each).
TopRowLayout LayOutTopRow(int32_t clientWidth, bool customSize, bool customTime, int32_t dpi);

}  // namespace quillmor
