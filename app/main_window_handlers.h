// The handlers WndProc calls, grouped by the file that holds them. Internal to
// the window's files.
#pragma once

#include "app/list_view.h"
#include "app/main_window.h"
#include "search/filter_bar.h"

namespace quillmor {

// main_window_create.cpp
LRESULT OnCreate(MainWindow& w);
// Gives every child its font (the tag buttons the tag font) and sizes the
// combo boxes' items for the current DPI.
void ApplyFonts(MainWindow& w);
// The six fonts again for the current DPI and language, handed to the
// children before the old ones are deleted.
void RecreateFonts(MainWindow& w);

// main_window_commands.cpp: notifications of the child controls, and the
// owner-drawn items.
LRESULT OnCommand(MainWindow& w, WPARAM wParam, LPARAM lParam);
LRESULT OnNotify(MainWindow& w, const NMHDR* header);
LRESULT OnMeasureItem(MainWindow& w, MEASUREITEMSTRUCT* measure);
LRESULT OnDrawItem(MainWindow& w, const DRAWITEMSTRUCT* item);
// WM_MOUSELEAVE: no row, column or tag is hovered any more; the tooltip
// goes and the working set may be trimmed.
void OnMouseLeave(MainWindow& w);

// main_window_layout.cpp
// Lays everything out (top row, filter bar, list) and saves window.ini
// unless minimised.
void OnSize(MainWindow& w, UINT kind, int width, int height);
// Re-runs the layout at the current client size, without saving.
void RelayoutAtCurrentSize(MainWindow& w);
// The list area from the list top down, full width (what list repaints cover).
RECT ListAreaRect(const MainWindow& w);
void InvalidateListArea(MainWindow& w);
void RecreateBackBuffer(MainWindow& w);
void DeleteBackBuffer(MainWindow& w);

// main_window_posted.cpp: the WMU_* messages.
void OnIndexReady(MainWindow& w, WPARAM wParam);
void OnSearchResults(MainWindow& w, WPARAM generation, LPARAM kind);
void OnStatusTextMessage(MainWindow& w, WPARAM generation, LPARAM text);
// WMU_APP_STATUS_TEXT: a status text another thread handed over (freed here).
void OnAppStatusText(MainWindow& w, LPARAM text);
void OnFilterResults(MainWindow& w);
void OnRecentLoaded(MainWindow& w);
void OnHydrationDone(MainWindow& w, WPARAM generation);
void OnNonNtfsRefreshed(MainWindow& w, WPARAM refreshed, LPARAM failed);
void OnVolumeLost(MainWindow& w);
void OnVolumesSynced(MainWindow& w);
// Runs the query again after the volume set changed: an empty query starts the
// initial view, any other the search ("refresh_results_after_volume_removal").
void RerunCurrentQuery(MainWindow& w);
// The status line's text (hidden when empty).
void SetStatus(MainWindow& w, const std::u16string& text);

// main_window_timers.cpp
void OnTimer(MainWindow& w, UINT_PTR id);
// WMU_APP_SCHEDULE_RETRY: arms the search-retry timer another thread asked for.
void OnScheduleSearchRetry(MainWindow& w, WPARAM delayMs);
void SchedulePrewarmTimer(MainWindow& w, uint32_t delayMs);
void ScheduleFilterBarRefresh(MainWindow& w, uint32_t delayMs);
void ScheduleListRepaint(MainWindow& w, uint32_t delayMs);
void ScheduleTrim(MainWindow& w, uint32_t delayMs);
// The idle self-trim of the working set.
void IdleTrim(MainWindow& w);

// search_box.cpp
void SubclassSearchBox(MainWindow& w);
void OnSearchBoxChanged(MainWindow& w);
// Focuses the search box and selects its text (or collapses the selection).
void FocusSearchBox(MainWindow& w, bool selectAll);

// main_window_keys.cpp
// A key-down reaching the main window or one of its subclassed children
// (`from`): hotkey capture first, then the window's keys. True when taken.
bool HandleWindowKey(MainWindow& w, HWND from, UINT message, WPARAM key, LPARAM lParam);
// WM_KEYDOWN and WM_SYSKEYDOWN of the main window itself: HandleWindowKey,
// else the default processing.
LRESULT OnKeyDown(MainWindow& w, UINT message, WPARAM key, LPARAM lParam);

// scope_box.cpp
void RebuildScopeBox(MainWindow& w);
void OnScopeBoxChanged(MainWindow& w);

// main_window_close.cpp
LRESULT OnSysCommand(MainWindow& w, WPARAM wParam, LPARAM lParam);
void OnClose(MainWindow& w);
LRESULT OnActivate(MainWindow& w, WPARAM wParam, LPARAM lParam);
void OnDestroy(MainWindow& w);
// WM_ENDSESSION: when Windows really ends the session (`ending`) the process
// may be ended without WM_DESTROY, so what that saves is saved now.
void OnEndSession(MainWindow& w, bool ending);
// Hides the window to the notification area after trimming the working set.
void HideToTray(MainWindow& w);
// "Exit": the close that follows destroys the window instead of hiding it.
void RequestExit(MainWindow& w);

// window_settings_live.cpp
// Rewrites window.ini from what the window shows now.
void SaveWindowSettingsNow(MainWindow& w);

// hotkeys.cpp
bool HotkeyCaptureActive(const MainWindow& w);
// Registers the loaded pair of each hotkey; failures stay silent.
void RegisterHotkeysAtCreate(MainWindow& w);
bool RegisterShowHideHotkey(MainWindow& w, uint32_t modifiers, uint32_t key, bool save);
// WM_HOTKEY; while capture runs, the combination goes to it instead.
void OnHotkey(MainWindow& w, WPARAM id, LPARAM lParam);
// Opens Explorer on the foreground window's program file (through the
// window's shell). False when the program cannot be known (a protected
// process) or Explorer did not start.
bool RevealForegroundApp(MainWindow& w);

// hotkey_capture.cpp
// Shows the window and waits for the combination of hotkey `target` (0 the
// show/hide hotkey, 1 the foreground-application one); the title says so.
void StartHotkeyCapture(MainWindow& w, int target);
// A key-down while capture runs: true when capture took it (every key-down
// while it runs).
bool HandleCaptureKey(MainWindow& w, UINT message, WPARAM key);
// WM_HOTKEY while capture runs: the combination of a registered hotkey never
// arrives as keys, so it is taken as pressed (lParam: modifiers, key).
bool HandleCaptureHotkey(MainWindow& w, LPARAM lParam);
// Timer 30013: the balloon with the hint, when capture still runs.
void OnHotkeyCaptureTimer(MainWindow& w);
void ShowCaptureBalloon(MainWindow& w, int target);
void RestoreTitleAfterCapture(MainWindow& w);

// list_rows.cpp
void FreeIconCache(MainWindow& w);

// main_window_theme.cpp
// Switches between the dark and the light theme while the window runs:
// new brushes (the old ones deleted), every control re-themed and
// repainted, window.ini saved. Nothing happens when `dark` is current.
void SetTheme(MainWindow& w, bool dark);
// Switches between the sidebar and the top bar for the filter tags.
void SetFilterLayout(MainWindow& w, bool sidebar);
// Grid lines on or off, window.ini saved, the list repainted; true when
// they are on now.
bool ToggleGridLines(MainWindow& w);
// Initial-letter search on or off for the next searches, window.ini saved;
// the status line says which.
void ToggleInitialSearch(MainWindow& w);

// main_window_language.cpp
// After the language changed (ApplyLanguage): the title, the status line,
// the preset boxes, the scope box, the fonts' face, the tag buttons (rebuilt
// when `tagsChanged`) and their counts, in the new language.
void OnLanguageApplied(MainWindow& w, bool tagsChanged);

// main_window_system.cpp
LRESULT OnDeviceChange(MainWindow& w, WPARAM event, LPARAM data);
LRESULT OnPowerBroadcast(MainWindow& w, WPARAM event, LPARAM lParam);
void OnDpiChanged(MainWindow& w, WPARAM wParam, const RECT* suggested);
void OnTaskbarCreated(MainWindow& w);
void OnDisplayChange(MainWindow& w);
// Scales every stored pixel metric from `oldDpi` to `newDpi`, recreates the
// fonts and lays the window out again.
void RescaleForDpi(MainWindow& w, uint32_t oldDpi, uint32_t newDpi);

// tray_icon.cpp
void SetUpTrayIcon(MainWindow& w);
bool EnsureTrayIcon(MainWindow& w);
void RemoveTrayIcon(MainWindow& w);
// The icons the window loaded for itself (the notification icon).
void DestroyOwnedIcons(MainWindow& w);
void OnTrayCallback(MainWindow& w, LPARAM mouseMessage);
// Shows the window (restored, on a monitor) in front of the others; it
// counts as shown from now on.
void BringWindowForward(MainWindow& w);
// BringWindowForward, the search box focused, and the first search a hidden
// start deferred.
void ShowAndActivate(MainWindow& w);
// "TrayTip" with the show/hide hotkey in place of "{0}" (or after a space).
std::u16string TrayTipText(SystemInfo& system, const HotkeySettings& hotkeys);
void UpdateTrayTip(MainWindow& w);

// tray_menu.cpp
// The menu at the cursor; the command chosen runs.
void ShowTrayMenu(MainWindow& w);
// The menu as it would open now (the caller destroys it), or null when the
// system would not make one.
HMENU CreateTrayMenu(MainWindow& w);
// Runs a command of the menu (20001 to 20024, 20100 + i), then the idle
// trim. False for any other id.
bool RunTrayCommand(MainWindow& w, int32_t id);

// list_paint.cpp
void OnPaint(MainWindow& w);

// list_rows.cpp, list_layout.cpp, list_scroll.cpp: what the list shows and
// where it is scrolled to.
// Takes the displayed results (DisplayedResults) as the rows to draw.
void TakeDisplayedRows(MainWindow& w);
void ClearListSelection(MainWindow& w);
// The scroll range for `count` rows; the offset is kept within it.
void SetListScrollRange(MainWindow& w);
void ScrollListTo(MainWindow& w, int64_t offset);
// Tells the search side the list's geometry (ViewState::Geometry).
void PublishListGeometry(MainWindow& w);

// Scrolling counts as active while a thumb is dragged or for 60 ms after the
// last scroll event.
bool ListScrollingActive(const MainWindow& w);
// thumbnails.cpp
void RequestVisibleThumbnailHydrationAsync(MainWindow& w);

// filter_bar.cpp
// One button per tag of the current list, captioned with a count of 0;
// buttons beyond the list are destroyed.
void CreateTagButtons(MainWindow& w);
// After the tag list changed: the buttons, their places and their counts.
void RebuildTagButtons(MainWindow& w);
// Places the tag buttons, the status line and the sidebar's scroll bar, and
// sets where the list begins (w.listTop).
void LayOutFilterBarControls(MainWindow& w);
// The tag buttons' captions and counts, from the current results.
void RefreshFilterBar(MainWindow& w);
// Selects tag `index`: the buttons redrawn, the list from the top, the
// results filtered again, the focus back in the search box.
void SelectTag(MainWindow& w, int32_t index);
// The selected tag's name as its button shows it (tag 0 included); empty
// when it has no button.
std::u16string SelectedTagName(const MainWindow& w);
void DrawTagButton(MainWindow& w, const DRAWITEMSTRUCT& item);
// The sidebar's background and its edge, drawn into the frame (the list's
// paint calls it first, in the sidebar layout).
void PaintFilterSidebar(MainWindow& w, HDC dc);
// The wheel turned over the sidebar (the list's wheel handler tells): its
// tags scroll, 100 px a notch.
void ScrollFilterSidebarByWheel(MainWindow& w, int wheelDelta);
// WM_VSCROLL from the sidebar's own scroll bar (117).
void OnSidebarScrollBar(MainWindow& w, WPARAM request);

// filter_controls.cpp
// Subclasses and fills the preset boxes, the custom size edit and the date
// pickers, and hands their values to the view state.
void SetUpFilterControls(MainWindow& w);
// The preset boxes' items in the current language, with the selections kept.
void FillPresetBoxes(MainWindow& w);
PickedDates ReadDatePickers(const MainWindow& w);
// The date pickers' range into the filter settings and the view state.
void StorePickedDates(MainWindow& w);
// WM_COMMAND of the filter controls; false for any other.
bool OnFilterControlCommand(MainWindow& w, int id, int code, HWND control);
// WM_NOTIFY from a date picker; false for any other sender.
bool OnDatePickerNotify(MainWindow& w, const NMHDR& header);

// rename_edit.cpp
// Closes an open inline rename without committing it.
void CancelRename(MainWindow& w, bool focusSearchBox);

}  // namespace quillmor
