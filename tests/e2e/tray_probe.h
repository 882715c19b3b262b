// What the end-to-end run asks about the notification area and the windows
// Quillmor opens over its main window (the icon's menu, message boxes),
// from another process, as any program could.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/main_window_probe.h"

namespace quillmor::e2e {

// The number of notification icons the taskbar shows, counted on the screen
// (Wine's shell keeps no window per icon, and its tooltip keeps a tool for
// every icon it ever had).
long TrayIconCount();
// A point on the notification area's first (rightmost) icon.
std::optional<POINT> TrayIconPoint();

// The text of the first visible tooltip window, or nothing when none shows.
std::optional<std::wstring> VisibleTooltipText();

// A visible popup menu of process `processId` (class "#32768"), or null.
HWND FindPopupMenu(DWORD processId);

// A visible dialog of process `processId` (a message box, class "#32770"),
// or null.
HWND FindDialog(DWORD processId);
// A message box's text: the longest text of its static controls.
std::wstring DialogText(HWND dialog);

// A visible top-level window of another process than `notProcessId` whose
// title contains `text` (ASCII case ignored), or null.
HWND FindWindowTitled(const std::wstring& text, DWORD notProcessId);

// Every top-level window and the taskbar's children with their classes,
// owners and places, one per line (for finding one's way in a failed run).
void PrintWindows();

}  // namespace quillmor::e2e
