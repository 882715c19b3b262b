// The result list's state: the rows it draws, its scroll offsets, selection,
// focus and hover.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_set>

#include "engine/match_item.h"

namespace quillmor {

struct ListState {
  // The rows drawn: the displayed results (filtered while a filter holds) as
  // they were when the window last took them.
  Results shown;
  int64_t count = 0;
  int64_t scrollOffset = 0;   // pixels from the first row
  int64_t hScrollOffset = 0;  // pixels, list mode only
  int32_t viewMode = 0;       // 0 list, 1 small icons, 2 large icons
  // The six column widths, pixels at the window's DPI (window.ini's "col%d").
  std::array<int32_t, 6> columnWidths{60, 280, 100, 160, 160, 400};
  std::unordered_set<int64_t> selected;
  int64_t focused = -1;
  int64_t anchor = -1;
  int64_t hovered = -1;
};

}  // namespace quillmor
