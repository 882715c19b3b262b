// window.ini from what the window shows.
#include <optional>

#include "app/main_window_handlers.h"

namespace quillmor {
namespace {

std::optional<LocalTime> PickerDate(HWND picker) {
  if (picker == nullptr) return std::nullopt;
  SYSTEMTIME time{};
  if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) return std::nullopt;
  LocalTime local;
  local.year = time.wYear;
  local.month = time.wMonth;
  local.day = time.wDay;
  return local;
}

}  // namespace

void SaveWindowSettingsNow(MainWindow& w) {
  LiveWindowValues live;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (GetWindowPlacement(w.hwnd, &placement)) {
    live.normalWidth = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
    live.normalHeight = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
  }
  live.columnWidths = w.list.columnWidths;
  if (w.controls.customSize != nullptr) live.sizeRangeText = WindowText(w.controls.customSize, 127);
  live.timeStartDate = PickerDate(w.controls.dateFrom);
  live.timeEndDate = PickerDate(w.controls.dateTo);
  WindowSettings& settings = w.app.window;
  w.app.filters.StorePresets(settings);
  settings.viewMode = w.list.viewMode;
  SaveWindowSettings(w.env, static_cast<int32_t>(w.dpi), live, settings);
}

}  // namespace quillmor
