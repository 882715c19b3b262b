// A list frame for the geometry tests: the list view at 96 DPI in the top-bar
// layout, so that the list area starts at x = 0.
#pragma once

#include "app/core/list_geometry.h"

namespace quillmor {

inline ListFrame TestFrame(int32_t viewMode = kViewList, int32_t dpi = 96) {
  ListFrame f;
  f.clientWidth = 1100;
  f.clientHeight = 700;
  f.sidebarLayout = false;
  f.sidebarWidth = 200;
  f.listTop = 100;
  f.viewMode = viewMode;
  f.dpi = dpi;
  f.columnWidths = {60, 280, 100, 160, 160, 300};  // 1060: fits the 1088 px area
  return f;
}

}  // namespace quillmor
