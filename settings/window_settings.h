// window.ini: the window's size, the column widths, the filter presets and the
// view switches, kept between runs.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/env.h"

namespace quillmor {

// Result-list columns, in display order.
enum ResultColumn : int { kColumnRowNumber, kColumnName, kColumnSize, kColumnModified, kColumnCreated, kColumnPath };
inline constexpr int kResultColumnCount = 6;

inline constexpr int32_t kDefaultWindowWidth = 1100;  // at 96 DPI
inline constexpr int32_t kDefaultWindowHeight = 700;
inline constexpr int32_t kMinWindowWidth = 800;
inline constexpr int32_t kMinWindowHeight = 500;
inline constexpr int32_t kMinColumnWidth = 30;
inline constexpr std::array<int32_t, kResultColumnCount> kDefaultColumnWidths{60, 280, 100, 160, 160, 400};
// The custom size-range text is at most this long (an edit read with a
// 128-character buffer).
inline constexpr size_t kMaxSizeRangeChars = 127;

// The settings window.ini holds. Owned by the user-interface thread.
struct WindowSettings {
  // Pixels at the current DPI once loaded.
  int32_t width = kDefaultWindowWidth;
  int32_t height = kDefaultWindowHeight;
  std::array<int32_t, kResultColumnCount> columnWidths = kDefaultColumnWidths;

  int32_t sizePreset = 0;  // 0 all .. 4 custom
  int32_t timePreset = 0;  // 0 all .. 4 custom
  int32_t sizeUnit = 2;    // 0 B, 1 KB, 2 MB, 3 GB
  std::u16string sizeRange;
  int32_t timeStart = 0;  // year * 10000 + month * 100 + day
  int32_t timeEnd = 0;

  bool sidebarLayout = true;  // false: the filters sit in a bar at the top
  bool darkTheme = false;
  bool initialSearchEnabled = true;
  int32_t viewMode = 0;  // 0 list, 1 small icons, 2 large icons
  bool globalTrimOnToggle = false;
  bool tableGridLines = false;
};

// Reads window.ini into `settings`, key by key; a value out of range leaves
// the setting as it was. On entry `settings.width` and `height` are the
// defaults in 96-DPI units; the column widths start from their defaults.
// Afterwards (also without a file) width, height and column widths are scaled
// to `dpi` (0 counts as 96).
void LoadWindowSettings(Env& env, int32_t dpi, WindowSettings& settings);

// What the window shows at the moment of saving, filled by the window.
struct LiveWindowValues {
  // The size of the window's normal (restored) position, pixels at the
  // current DPI, so that a maximised window stores its restored size.
  int32_t normalWidth = 0;
  int32_t normalHeight = 0;
  std::array<int32_t, kResultColumnCount> columnWidths = kDefaultColumnWidths;  // pixels at the current DPI
  // The custom size-range edit's text, when the edit exists.
  std::optional<std::u16string> sizeRangeText;
  // The date pickers' dates, each when its picker exists and holds a valid date.
  std::optional<LocalTime> timeStartDate;
  std::optional<LocalTime> timeEndDate;
};

// Takes the size-range text and the dates from `live` into `settings`, then
// rewrites window.ini in 96-DPI units (width at least 800, height at least
// 500). False when the file cannot be written.
bool SaveWindowSettings(Env& env, int32_t dpi, const LiveWindowValues& live, WindowSettings& settings);

}  // namespace quillmor
