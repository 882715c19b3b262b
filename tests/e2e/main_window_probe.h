// What the end-to-end run asks of a running Quillmor.exe from another
// process: its main window, texts, places and state, read the way any other
// program could.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "tests/wide_utf8.h"

namespace quillmor::e2e {

// The first main window (class MARLOWEWND), visible or not; null when none.
HWND FindMainWindow();
// How many main windows exist: more than one means a second instance made one.
int CountMainWindows();

// The caption as the window manager holds it (no message to the program).
std::wstring TitleOf(HWND window);
// A control's text through WM_GETTEXT, which the system carries across
// processes; nullopt when the program does not answer within a second.
std::optional<std::wstring> ControlText(HWND control);
// The entries of a combo box (CB_GETCOUNT, CB_GETLBTEXT); empty on no answer.
std::vector<std::wstring> ComboEntries(HWND box);
// True when the window's thread answers a message within `timeout`.
bool Answers(HWND window, std::chrono::milliseconds timeout);

// The title the program shows at the end of a search for `count` results:
// "Quillmor - N results found" from the search, or "Quillmor - Filter: ... |
// Hits:N" from the filter pass that follows it.
bool IsFinalTitleFor(const std::wstring& title, long long count);
// The count of a final title, or -1.
long long FinalTitleCount(const std::wstring& title);

struct ScreenPoint {
  int x = 0;
  int y = 0;
};
// The centre of a child window, in screen (and X server) coordinates.
std::optional<ScreenPoint> CentreOf(HWND child);
// A point inside the Name column's header of the result list.
std::optional<ScreenPoint> NameHeaderPoint(HWND main);
// A point inside the Name cell of row `row` (counted from the top, the list
// scrolled to the top).
std::optional<ScreenPoint> RowPoint(HWND main, int row);

}  // namespace quillmor::e2e
