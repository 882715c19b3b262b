// UTF-8 and UTF-16 conversion. Ill-formed input never fails: each bad sequence
// becomes U+FFFD, as Windows' converters do without MB_ERR_INVALID_CHARS.
#pragma once

#include <string>
#include <string_view>

namespace quillmor {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

constexpr bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The UTF-8 sequence at the start of `bytes`, which must not be empty.
struct Utf8Sequence {
  bool valid = false;      // overlong forms, encoded surrogates and code points past U+10FFFF are not
  char32_t codePoint = 0;  // of a valid sequence
  // Bytes taken, at least 1: the whole sequence, or of an ill-formed one its
  // first byte and the continuation bytes that followed it.
  size_t length = 0;
};
Utf8Sequence DecodeUtf8Sequence(std::string_view bytes);

// The UTF-16 units as little-endian bytes, as a UTF-16LE file holds them.
std::string Utf16ToLittleEndianBytes(std::u16string_view utf16);

// For literals and tests: ASCII and UTF-8 narrow text to UTF-16.
inline std::u16string U16(std::string_view utf8) { return Utf8ToUtf16(utf8); }

}  // namespace quillmor
