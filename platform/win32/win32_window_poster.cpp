#include "platform/win32/windows_api.h"

#include "platform/win32/win32_window_poster.h"

namespace quillmor {

bool Win32WindowPoster::IsWindow(WindowHandle window) { return ::IsWindow(static_cast<HWND>(window)) != FALSE; }

bool Win32WindowPoster::Post(WindowHandle window, uint32_t message, uint64_t wParam, int64_t lParam) {
  return ::PostMessageW(static_cast<HWND>(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)) !=
         FALSE;
}

}  // namespace quillmor
