// The numbers the main window is built from: its child controls, its timers,
// its hotkeys and the messages only it posts to itself. Shared by the window
// and the portable decisions about it.
#pragma once

#include <cstdint>

#include "search/filters_file.h"

namespace quillmor {

// Child controls of the main window.
enum ControlId : int32_t {
  kIdSearchEdit = 101,
  kIdStatusLine = 103,
  kIdScopeBox = 104,
  kIdListVScroll = 105,
  kIdSizePreset = 106,
  kIdTimePreset = 107,
  kIdCustomSize = 108,
  kIdSizeUnit = 110,
  kIdDateFrom = 111,
  kIdDateTo = 112,
  kIdListHScroll = 113,
  kIdSidebarScroll = 117,
  kIdRenameEdit = 118,
  kIdFirstTagButton = 200,  // tag i is 200 + i
};
// Whether `id` is a tag button's (one per tag the filters file reader keeps).
constexpr bool IsTagButtonId(int32_t id) {
  return id >= kIdFirstTagButton && id < kIdFirstTagButton + static_cast<int32_t>(kMaxFilterTags);
}

// Timers of the main window.
enum TimerId : uint32_t {
  ID_TIMER_TRAY_RETRY = 30002,
  ID_TIMER_SEARCH_DELAY = 30003,
  ID_TIMER_SCROLL_SETTLE = 30004,
  ID_TIMER_STARTUP_SYNC = 30005,
  ID_TIMER_PREWARM = 30006,
  ID_TIMER_PREWARM_WATCH = 30007,
  ID_TIMER_FILTER_UI = 30008,
  ID_TIMER_CACHE_AUTOSAVE = 30009,
  ID_TIMER_TRIM_IDLE = 30010,
  ID_TIMER_TRIM = 30011,
  ID_TIMER_HOTKEY_CAPTURE = 30013,
  ID_TIMER_LIST_REPAINT = 30014,
  // Runs the query kept while no volume was indexed yet.
  ID_TIMER_SEARCH_RETRY = 30015,
};

// Global hotkeys.
inline constexpr int32_t kHotkeyShowHide = 30001;
inline constexpr int32_t kHotkeyForegroundApp = 30012;

// WM_APP + n: the notification icon's callback, and requests that other
// threads hand to the window's own thread.
inline constexpr uint32_t kWmApp = 0x8000;
inline constexpr uint32_t WMU_TRAY_CALLBACK = kWmApp + 1;
// A status-line text from another thread: lParam is a `new char16_t[]`
// buffer the window frees.
inline constexpr uint32_t WMU_APP_STATUS_TEXT = kWmApp + 2;
// Arms the search-retry timer from another thread: wParam is the delay in ms.
inline constexpr uint32_t WMU_APP_SCHEDULE_RETRY = kWmApp + 3;

// Intervals, in milliseconds.
inline constexpr uint32_t kScrollSettleMs = 220;
inline constexpr uint32_t kScrollSettleRepollMs = 120;
inline constexpr uint32_t kHiddenStartupSyncMs = 3500;
inline constexpr uint32_t kStartupSyncRetryMs = 5000;
inline constexpr uint32_t kIdleTrimAfterDeactivateMs = 30000;
inline constexpr uint32_t kIdleTrimAfterHiddenReadyMs = 12000;
inline constexpr uint32_t kTrayRetryMs = 1500;
inline constexpr uint32_t kHotkeyCaptureBalloonMs = 200;

}  // namespace quillmor
