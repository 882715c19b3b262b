#include "app/dpi.h"

namespace quillmor {
namespace {

// A function of user32.dll that may be missing, as a pointer of its own type.
template <typename Function>
Function User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                           : nullptr;
}

}  // namespace

int SetBestDpiAwareness() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  const auto setContext = User32Function<SetContextFn>("SetProcessDpiAwarenessContext");
  if (setContext == nullptr) return 0;
  // Per-monitor v2, per-monitor, system-aware, unaware with GDI scaling.
  for (const intptr_t context : {-4, -3, -2, -5}) {
    if (setContext(reinterpret_cast<HANDLE>(context))) return static_cast<int>(context);
  }
  return 0;
}

uint32_t SystemDpi() {
  using GetDpiForSystemFn = UINT(WINAPI*)();
  const auto getDpi = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
  if (getDpi != nullptr) {
    const UINT dpi = getDpi();
    if (dpi != 0) return dpi;
  }
  const HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 96;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<uint32_t>(dpi) : 96;
}

uint32_t WindowDpi(HWND window, uint32_t fallback) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  const auto getDpi = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  const UINT dpi = getDpi != nullptr ? getDpi(window) : 0;
  return dpi != 0 ? dpi : fallback;
}

}  // namespace quillmor
