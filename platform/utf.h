// UTF-8 and UTF-16 conversion. Ill-formed input never fails: each bad sequence
// becomes U+FFFD, as Windows' converters do without MB_ERR_INVALID_CHARS.
#pragma once

#include <string>
#include <string_view>

namespace quillmor {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// The UTF-16 units as little-endian bytes, as a UTF-16LE file holds them.
std::string Utf16ToLittleEndianBytes(std::u16string_view utf16);

// For literals and tests: ASCII and UTF-8 narrow text to UTF-16.
inline std::u16string U16(std::string_view utf8) { return Utf8ToUtf16(utf8); }

}  // namespace quillmor
