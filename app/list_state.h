// The result list's state: the rows it draws, its scroll offsets, column
// widths, selection, focus, hover and what the mouse is doing to it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "app/core/list_selection.h"
#include "engine/match_item.h"
#include "settings/window_settings.h"

namespace quillmor {

class IconCache;

// What the left button does since it went down over the list.
enum class ListDrag {
  kNone,
  kPressedRow,       // down on a row: moving far enough starts drag and drop
  kVerticalThumb,    // the vertical bar's thumb follows the pointer
  kHorizontalThumb,  // the horizontal bar's thumb follows the pointer
  kColumnResize,     // a column border follows the pointer
};

struct ListState {
  // The rows drawn: the displayed results (filtered while a filter holds) as
  // they were when the window last took them.
  Results shown;
  int64_t count = 0;
  int64_t scrollOffset = 0;   // pixels from the first row
  int32_t hScrollOffset = 0;  // pixels, list mode only
  int32_t viewMode = 0;       // 0 list, 1 small icons, 2 large icons
  // The six column widths as window.ini keeps them, pixels at the window's
  // DPI. The path column's is the least it shows; `pathWidth` is what it
  // shows now (it fills the row or grows with the paths in view).
  std::array<int32_t, kResultColumnCount> columnWidths = kDefaultColumnWidths;
  int32_t pathWidth = kDefaultColumnWidths[kColumnPath];

  ListSelection selection;
  int64_t hovered = -1;
  int32_t hoveredColumn = -1;
  // The click-to-rename window: the row and time of the last press on a row.
  int64_t lastClickedRow = -1;
  uint64_t lastClickMs = 0;

  ListDrag drag = ListDrag::kNone;
  int32_t resizingColumn = -1;
  int32_t pressX = 0;  // where the button went down, for drag detection
  int32_t pressY = 0;

  // Scrolling counts as active while a thumb is dragged or for 60 ms after the
  // last scroll event; the timer that starts hydration reads both.
  std::atomic<uint64_t> lastScrollTickMs{0};
  std::atomic<bool> thumbDragging{false};

  std::u16string tooltipText;  // what the tooltip shows (empty: hidden)

  // Icons and thumbnails; shared with the thumbnail job, which may outlive
  // the window.
  std::shared_ptr<IconCache> icons;
};

}  // namespace quillmor
