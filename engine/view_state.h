// What background work needs from the main window's controls, behind an
// interface: the window implements it on its own thread's data, tests fill it
// in, the command line answers with its options.
#pragma once

#include <cstdint>
#include <string>

namespace quillmor {

// The result list's geometry, in pixels at the window's DPI.
struct ListGeometry {
  int32_t rowAreaHeight = 0;  // height of the area rows are drawn in
  int64_t scrollOffset = 0;   // vertical scroll offset
  int32_t viewMode = 0;       // 0 list, 1 small icons, 2 large icons
  int32_t iconsPerRow = 1;    // in the icon views
  uint32_t dpi = 96;
};

// Thread-safe: jobs call it from their own threads.
class ViewState {
 public:
  virtual ~ViewState() = default;

  // The search box's text, at most 255 characters.
  virtual std::u16string SearchText() = 0;
  // Shows a text in the status line, when there is one.
  virtual void SetStatusText(std::u16string_view text) = 0;
  // The custom size edit's text (at most 127 characters); false when the edit
  // does not exist.
  virtual bool CustomSizeText(std::u16string& text) = 0;
  // The two date pickers as year * 10000 + month * 100 + day; false unless
  // both exist and hold valid dates.
  virtual bool CustomDateRange(int32_t& from, int32_t& to) = 0;
  virtual ListGeometry Geometry() = 0;
  // (Re)arms the search-retry timer to fire after `milliseconds`; its expiry
  // runs the pending query again.
  virtual void ScheduleSearchRetry(uint32_t milliseconds) = 0;
  // Asks for a repaint of the window (no erase).
  virtual void Invalidate() = 0;
};

}  // namespace quillmor
