// WM_DPICHANGED: the pixel measures the window keeps, carried over to the new
// DPI, or nothing to do but move the window when the DPI stayed the same.
#pragma once

#include <array>
#include <cstdint>

#include "settings/window_settings.h"

namespace quillmor {

// The measures the window stores in pixels at its current DPI.
struct StoredMetrics {
  std::array<int32_t, kResultColumnCount> columnWidths = kDefaultColumnWidths;
  int32_t sidebarWidth = 0;
  int32_t listTop = 0;
  int64_t verticalOffset = 0;
  int32_t horizontalOffset = 0;
  int32_t sidebarScrollOffset = 0;
  bool operator==(const StoredMetrics&) const = default;
};

// Whether a change from `oldDpi` to `newDpi` rescales (false: the same DPI,
// 0 counting as 96, only moves the window).
constexpr bool DpiChangeRescales(int32_t oldDpi, int32_t newDpi) {
  return (oldDpi > 0 ? oldDpi : 96) != (newDpi > 0 ? newDpi : 96);
}

// Every measure times new over old (MulDiv); a column stays at least 30 px
// at the new DPI. Unchanged when the DPI did not change.
StoredMetrics RescaleStoredMetrics(const StoredMetrics& metrics, int32_t oldDpi, int32_t newDpi);

}  // namespace quillmor
