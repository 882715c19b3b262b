// Where the filter tag buttons, the status line and the result list's top go
// in the two filter layouts: a bar of buttons under the top row, or one
// column of buttons in the sidebar left of the list, which scrolls on its own.
#pragma once

#include <cstdint>
#include <vector>

#include "app/core/rect.h"

namespace quillmor {

// The sidebar's width at 96 DPI.
inline constexpr int32_t kSidebarWidth96 = 200;

struct FilterBarInput {
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  bool sidebarLayout = true;
  int32_t sidebarWidth = 0;  // pixels at `dpi`
  int32_t tagCount = 0;
  int32_t sidebarScrollOffset = 0;  // the sidebar's own scroll position, pixels
  int32_t dpi = 96;
};

struct FilterBarLayout {
  std::vector<Rect> tagButtons;  // one per tag, in tag order
  Rect statusLine;
  int32_t listTop = 0;  // where the result list's header begins
  // Sidebar layout only:
  Rect sidebarScrollBar;            // sidebar width - 10, from the list top + 8 down
  bool sidebarScrollShown = false;  // the buttons are taller than the sidebar's view
  int32_t sidebarMaxScroll = 0;
};

// Top bar: button i at 15 + i x 80, 62 (72 x 40, all at 96 DPI), 8 below
// the row of inputs; a button that would pass the client width less 12
// starts a new row 48 lower, at 15 again. The status line (20 high) sits 8 below the last row and the list
// begins 6 under the status line.
// Sidebar: the status line sits at 74 and the list begins at 100; the
// buttons stand in one column from the list top + 8, 40 high and 48 apart,
// from 12 to the sidebar's scroll bar less 8, moved up by the sidebar's
// scroll offset (clamped to its range); the scroll bar is 10 wide at the
// sidebar width - 10, from the list top + 8 to 8 above the client's bottom.
FilterBarLayout LayOutFilterBar(const FilterBarInput& input);

// The sidebar's scroll offset after the wheel turned over it (100 px per
// notch at 96 DPI, like the list), within [0, sidebarMaxScroll].
int32_t SidebarScrollAfterWheel(const FilterBarLayout& layout, int32_t offset, int32_t wheelDelta, int32_t dpi);

}  // namespace quillmor
