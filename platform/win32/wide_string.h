// char16_t text to and from the wchar_t strings of the W functions. Windows'
// wchar_t is a UTF-16 unit, so only the type changes.
#pragma once

#include <string>
#include <string_view>

namespace quillmor::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

// A NUL-terminated copy for a W function.
inline std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

inline std::u16string FromWide(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace quillmor::win32
