// DPI awareness and the DPI of the screen and of a window, through functions
// looked up at run time: older systems lack them.
#pragma once

#include "app/win32_app.h"

namespace quillmor {

// SetProcessDpiAwarenessContext with per-monitor v2, then per-monitor, then
// system-aware, then unaware with GDI scaling, stopping at the first that is
// accepted. Returns the context value accepted (-4, -3, -2, -5), or 0 when
// none was (or the function does not exist).
int SetBestDpiAwareness();
// GetDpiForSystem, else LOGPIXELSY of the screen DC; 96 when neither answers.
uint32_t SystemDpi();
// GetDpiForWindow; `fallback` when it is missing or answers 0.
uint32_t WindowDpi(HWND window, uint32_t fallback);

}  // namespace quillmor
