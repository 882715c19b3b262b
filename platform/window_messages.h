// Messages background work posts to the main window, and the poster.
#pragma once

#include <cstdint>

namespace quillmor {

// An HWND, opaque to the portable code.
using WindowHandle = void*;

// WM_USER + n: the private messages the main window receives.
inline constexpr uint32_t kWmUser = 0x400;
inline constexpr uint32_t WMU_INDEX_READY = kWmUser + 1;
inline constexpr uint32_t WMU_SEARCH_RESULTS = kWmUser + 2;
inline constexpr uint32_t WMU_STATUS_TEXT = kWmUser + 3;
inline constexpr uint32_t WMU_FILTER_RESULTS = kWmUser + 4;
inline constexpr uint32_t WMU_RECENT_LOADED = kWmUser + 5;
inline constexpr uint32_t WMU_HYDRATION_DONE = kWmUser + 6;
inline constexpr uint32_t WMU_NONNTFS_REFRESHED = kWmUser + 7;
inline constexpr uint32_t WMU_VOLUME_LOST = kWmUser + 8;
inline constexpr uint32_t WMU_VOLUMES_SYNCED = kWmUser + 9;

// WMU_SEARCH_RESULTS's lParam: what the publication is. Every publisher and
// the window use these.
inline constexpr int64_t kResultsFinal = 0;     // a search, listing or recent view is complete
inline constexpr int64_t kResultsResorted = 1;  // the same rows in a new order (a sort)
inline constexpr int64_t kResultsPartial = 2;   // an early batch of a search still running

// PostMessageW and IsWindow. Thread-safe.
class WindowPoster {
 public:
  virtual ~WindowPoster() = default;
  virtual bool IsWindow(WindowHandle window) = 0;
  // Queues the message and returns at once. False when it could not be queued.
  virtual bool Post(WindowHandle window, uint32_t message, uint64_t wParam, int64_t lParam) = 0;
};

// Posts only when `window` is not null and is still a window, as every
// background job must.
inline bool PostIfWindow(WindowPoster& poster, WindowHandle window, uint32_t message, uint64_t wParam, int64_t lParam) {
  return window != nullptr && poster.IsWindow(window) && poster.Post(window, message, wParam, lParam);
}

}  // namespace quillmor
