#include "settings/window_settings.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/utf.h"
#include "settings/config_directory.h"
#include "settings/dpi_scale.h"
#include "settings/settings_file.h"

namespace quillmor {
namespace {

constexpr std::u16string_view kFileName = u"window.ini";
// window.ini lines are read through a 256-character buffer.
constexpr size_t kLineBufferChars = 256;

// At most `limit` UTF-16 units, never ending in half of a surrogate pair.
std::u16string Truncated(std::u16string_view text, size_t limit) {
  if (text.size() <= limit) return std::u16string(text);
  size_t size = limit;
  if (size > 0 && text[size - 1] >= 0xD800 && text[size - 1] <= 0xDBFF) --size;
  return std::u16string(text.substr(0, size));
}

// A pixel measure from the file: at least `minimum`, and small enough that
// scaling it to the current DPI cannot overflow.
bool AcceptPixels(int32_t value, int32_t minimum, int32_t dpi) {
  return value >= minimum && ScaleFrom96(value, dpi) != -1;
}

void SetInRange(int32_t value, int32_t low, int32_t high, int32_t& setting) {
  if (value >= low && value <= high) setting = value;
}

void ApplyWindowSetting(std::u16string_view key, std::u16string_view value, int32_t dpi, WindowSettings& s) {
  const int32_t number = ParseSettingsInt(value);
  if (key == u"width") {
    if (AcceptPixels(number, kMinWindowWidth, dpi)) s.width = number;
  } else if (key == u"height") {
    if (AcceptPixels(number, kMinWindowHeight, dpi)) s.height = number;
  } else if (key.starts_with(u"col")) {
    // "col0" to "col5"; the number is read as any other number, so "col05"
    // is column 5.
    const int32_t column = ParseSettingsInt(key.substr(3));
    if (column >= 0 && column < kResultColumnCount && AcceptPixels(number, kMinColumnWidth, dpi)) {
      s.columnWidths[column] = number;
    }
  } else if (key == u"sizePreset") {
    SetInRange(number, 0, 4, s.sizePreset);
  } else if (key == u"timePreset") {
    SetInRange(number, 0, 4, s.timePreset);
  } else if (key == u"sizeUnit") {
    SetInRange(number, 0, 3, s.sizeUnit);
  } else if (key == u"timeStart") {
    s.timeStart = number;
  } else if (key == u"timeEnd") {
    s.timeEnd = number;
  } else if (key == u"sizeRange") {
    s.sizeRange = Truncated(value, kMaxSizeRangeChars);
  } else if (key == u"filterLayout") {
    s.sidebarLayout = LowerAscii(value) != u"topbar";
  } else if (key == u"themeMode") {
    const std::u16string lower = LowerAscii(value);
    s.darkTheme = !(lower == u"light" || lower == u"0" || lower == u"false");
  } else if (key == u"initialSearchEnabled") {
    s.initialSearchEnabled = ParseSettingsBool(value);
  } else if (key == u"globalTrimOnToggle") {
    s.globalTrimOnToggle = ParseSettingsBool(value);
  } else if (key == u"tableGridLines") {
    s.tableGridLines = ParseSettingsBool(value);
  } else if (key == u"viewMode") {
    SetInRange(number, 0, 2, s.viewMode);
  }
}

int32_t DateNumber(const LocalTime& date) { return date.year * 10000 + date.month * 100 + date.day; }

void AppendSetting(std::u16string& text, std::u16string_view key, std::u16string_view value) {
  text += key;
  text += u'=';
  text += value;
  text += u'\n';
}

void AppendSetting(std::u16string& text, std::u16string_view key, int64_t value) {
  AppendSetting(text, key, U16(std::to_string(value)));
}

}  // namespace

void LoadWindowSettings(Env& env, int32_t dpi, WindowSettings& settings) {
  settings.columnWidths = kDefaultColumnWidths;
  std::vector<std::u16string> lines;
  ReadSettingsLines(*env.files, ConfigFilePath(env, kFileName), kLineBufferChars, lines);
  for (const std::u16string& line : lines) {
    std::u16string_view key, value;
    if (SplitSettingsKeyValue(line, key, value)) ApplyWindowSetting(key, value, dpi, settings);
  }
  settings.width = ScaleFrom96(settings.width, dpi);
  settings.height = ScaleFrom96(settings.height, dpi);
  for (int32_t& width : settings.columnWidths) width = ScaleFrom96(width, dpi);
}

bool SaveWindowSettings(Env& env, int32_t dpi, const LiveWindowValues& live, WindowSettings& settings) {
  if (live.sizeRangeText) settings.sizeRange = Truncated(*live.sizeRangeText, kMaxSizeRangeChars);
  if (live.timeStartDate) settings.timeStart = DateNumber(*live.timeStartDate);
  if (live.timeEndDate) settings.timeEnd = DateNumber(*live.timeEndDate);

  std::u16string text;
  AppendSetting(text, u"width", std::max(ScaleTo96(live.normalWidth, dpi), kMinWindowWidth));
  AppendSetting(text, u"height", std::max(ScaleTo96(live.normalHeight, dpi), kMinWindowHeight));
  for (int column = 0; column < kResultColumnCount; ++column) {
    AppendSetting(text, u"col" + U16(std::to_string(column)), ScaleTo96(live.columnWidths[column], dpi));
  }
  AppendSetting(text, u"sizePreset", settings.sizePreset);
  AppendSetting(text, u"timePreset", settings.timePreset);
  AppendSetting(text, u"sizeUnit", settings.sizeUnit);
  AppendSetting(text, u"sizeRange", settings.sizeRange);
  AppendSetting(text, u"timeStart", settings.timeStart);
  AppendSetting(text, u"timeEnd", settings.timeEnd);
  AppendSetting(text, u"filterLayout", settings.sidebarLayout ? u"sidebar" : u"topbar");
  AppendSetting(text, u"themeMode", settings.darkTheme ? u"dark" : u"light");
  AppendSetting(text, u"initialSearchEnabled", settings.initialSearchEnabled ? 1 : 0);
  AppendSetting(text, u"viewMode", settings.viewMode);
  AppendSetting(text, u"globalTrimOnToggle", settings.globalTrimOnToggle ? 1 : 0);
  AppendSetting(text, u"tableGridLines", settings.tableGridLines ? 1 : 0);
  return WriteSettingsFile(*env.files, ConfigFilePath(env, kFileName), text);
}

}  // namespace quillmor
