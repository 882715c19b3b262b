// <windows.h> and the common controls for the window's files, with the
// platform interfaces' method names kept free of the A/W macros.
#pragma once

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <dbt.h>
#include <shellapi.h>
#include <windowsx.h>

#include <string>
#include <string_view>

#include "platform/win32/wide_string.h"

namespace quillmor {

// char16_t text as the W functions take it. Windows' wchar_t is a UTF-16
// unit, so only the type changes; the text must be NUL-terminated where the
// function wants a C string (std::u16string's data() always is).
inline const wchar_t* W(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// A window's text, at most `maxChars` units.
std::u16string WindowText(HWND window, int maxChars = 4096);
void SetWindowTextU(HWND window, const std::u16string& text);

}  // namespace quillmor
