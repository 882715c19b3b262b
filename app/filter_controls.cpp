// The size and time preset boxes and the custom range beside them (the size
// edit with its unit box, the two date pickers): what they show and how a
// change re-filters the results.
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "app/themed_controls.h"
#include "search/filter_bar.h"
#include "search/filter_pass.h"
#include "search/time_range.h"

namespace quillmor {
namespace {

constexpr UINT_PTR kCustomSizeSubclassId = 2;

int32_t DateNumber(const SYSTEMTIME& time) { return time.wYear * 10000 + time.wMonth * 100 + time.wDay; }

bool PickerDate(HWND picker, int32_t& date) {
  SYSTEMTIME time{};
  if (picker == nullptr || SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) {
    return false;
  }
  date = DateNumber(time);
  return true;
}

void SetPickerDate(HWND picker, const LocalTime& date) {
  SYSTEMTIME time{};
  time.wYear = date.year;
  time.wMonth = date.month;
  time.wDay = date.day;
  SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

// The range window.ini kept; without one, the last seven days.
void InitDatePickers(MainWindow& w) {
  const FilterSettings& presets = w.app.filters.presets;
  LocalTime from;
  LocalTime to;
  const bool stored = DateFromInt(presets.customDateFrom, from) && DateFromInt(presets.customDateTo, to);
  if (stored) {
    SetPickerDate(w.controls.dateFrom, from);
    SetPickerDate(w.controls.dateTo, to);
    return;
  }
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER ticks{};
  ticks.LowPart = now.dwLowDateTime;
  ticks.HighPart = now.dwHighDateTime;
  ticks.QuadPart -= kSevenDaysFileTime;
  const FILETIME weekAgo{ticks.LowPart, ticks.HighPart};
  SYSTEMTIME utc{};
  SYSTEMTIME local{};
  if (FileTimeToSystemTime(&weekAgo, &utc) && SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    SendMessageW(w.controls.dateFrom, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
  }
}

// Re-filtering: the filtered rows are listed from the top, and the tags
// counted again.
void Refilter(MainWindow& w) {
  ScrollListTo(w, 0);
  InvalidateListArea(w);
  RefreshFilteredResultsAsync(w.session);
  ScheduleFilterBarRefresh(w, 60);
}

int32_t Selection(HWND combo, int32_t none) {
  const auto selection = static_cast<int32_t>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
  return selection >= 0 ? selection : none;
}

// A size or time preset: the custom controls come or go with it.
void OnPresetChanged(MainWindow& w, int id) {
  FilterSettings& presets = w.app.filters.presets;
  const int32_t selection = Selection(GetDlgItem(w.hwnd, id), 0);
  if (id == kIdSizePreset) presets.sizePreset = selection;
  if (id == kIdTimePreset) presets.timePreset = selection;
  RelayoutAtCurrentSize(w);
  Refilter(w);
  SaveWindowSettingsNow(w);
  if (id == kIdSizePreset && selection == kSizeCustom) {
    SetFocus(w.controls.customSize);  // ready to type the range
    SendMessageW(w.controls.customSize, EM_SETSEL, 0, -1);
  } else {
    FocusSearchBox(w, false);
  }
}

void OnSizeUnitChanged(MainWindow& w) {
  w.app.filters.presets.sizeUnit = Selection(w.controls.sizeUnit, kUnitMB);
  if (w.app.filters.presets.sizePreset == kSizeCustom) Refilter(w);
  SaveWindowSettingsNow(w);
}

void OnCustomSizeChanged(MainWindow& w) {
  const std::u16string text = WindowText(w.controls.customSize, 127);
  w.app.filters.SetCustomSizeText(text);
  w.view.StoreCustomSizeText(text);
  if (w.app.filters.presets.sizePreset == kSizeCustom) Refilter(w);
}

LRESULT CALLBACK CustomSizeProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto& w = *reinterpret_cast<MainWindow*>(data);
  LRESULT result = 0;
  if (HandleEditChrome(w, edit, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (HandleWindowKey(w, edit, message, wParam, lParam)) return 0;
      if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        // Enter is done with the range: back to the query.
        SaveWindowSettingsNow(w);
        FocusSearchBox(w, false);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == u'\r' || wParam == 0x1B || wParam == u'\t') return 0;  // no beep
      break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      return SendMessageW(w.hwnd, message, wParam, lParam);
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, CustomSizeProc, kCustomSizeSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void SetUpFilterControls(MainWindow& w) {
  const MainWindowControls& c = w.controls;
  for (HWND combo : {c.scopeBox, c.sizePreset, c.timePreset, c.sizeUnit}) SubclassComboBox(w, combo);
  for (HWND picker : {c.dateFrom, c.dateTo}) SubclassDatePicker(w, picker);
  if (c.customSize != nullptr) {
    SetWindowSubclass(c.customSize, CustomSizeProc, kCustomSizeSubclassId, reinterpret_cast<DWORD_PTR>(&w));
    RefreshEditChrome(c.customSize);
  }
  if (c.dateFrom != nullptr && c.dateTo != nullptr) InitDatePickers(w);
  StorePickedDates(w);
}

void FillPresetBoxes(MainWindow& w) {
  const FilterSettings& presets = w.app.filters.presets;
  const auto fill = [](HWND box, const std::vector<std::u16string>& texts, int32_t selection) {
    if (box == nullptr) return;
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (const std::u16string& text : texts) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(text)));
    SendMessageW(box, CB_SETCURSEL, selection, 0);
  };
  fill(w.controls.sizePreset, SizePresetTexts(), presets.sizePreset);
  fill(w.controls.timePreset, TimePresetTexts(), presets.timePreset);
  fill(w.controls.sizeUnit, SizeUnitTexts(), presets.sizeUnit);
}

PickedDates ReadDatePickers(const MainWindow& w) {
  PickedDates dates;
  dates.valid = PickerDate(w.controls.dateFrom, dates.from) && PickerDate(w.controls.dateTo, dates.to);
  return dates;
}

void StorePickedDates(MainWindow& w) {
  // Each picker with a valid date keeps its own; the range counts only when
  // both have one.
  FilterSettings& presets = w.app.filters.presets;
  const bool fromValid = PickerDate(w.controls.dateFrom, presets.customDateFrom);
  const bool toValid = PickerDate(w.controls.dateTo, presets.customDateTo);
  if (fromValid && toValid) {
    w.view.StoreDateRange(std::make_pair(presets.customDateFrom, presets.customDateTo));
  } else {
    w.view.StoreDateRange(std::nullopt);
  }
}

bool OnFilterControlCommand(MainWindow& w, int id, int code, HWND control) {
  switch (code) {
    case CBN_SELCHANGE:
      if (id == kIdSizePreset || id == kIdTimePreset) {
        OnPresetChanged(w, id);
      } else if (id == kIdSizeUnit) {
        OnSizeUnitChanged(w);
      } else {
        return false;
      }
      return true;
    case CBN_DROPDOWN:
    case CBN_CLOSEUP:
      OnComboDropDown(w, control, code == CBN_DROPDOWN);
      return true;
    case EN_CHANGE:
      if (id != kIdCustomSize) return false;
      OnCustomSizeChanged(w);
      return true;
    default:
      return false;
  }
}

bool OnDatePickerNotify(MainWindow& w, const NMHDR& header) {
  if (header.hwndFrom != w.controls.dateFrom && header.hwndFrom != w.controls.dateTo) return false;
  switch (header.code) {
    case DTN_DATETIMECHANGE:
      StorePickedDates(w);
      InvalidateRect(header.hwndFrom, nullptr, FALSE);
      SaveWindowSettingsNow(w);
      if (w.app.filters.presets.timePreset == kTimeCustom) Refilter(w);
      return true;
    case DTN_DROPDOWN:
      ThemeCalendar(w, header.hwndFrom);
      return true;
    case DTN_CLOSEUP:
      InvalidateRect(header.hwndFrom, nullptr, FALSE);
      return true;
    default:
      return false;
  }
}

}  // namespace quillmor
