#include "platform/utf.h"

#include <cstdint>

namespace quillmor {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

Utf8Sequence DecodeUtf8Sequence(std::string_view bytes) {
  const auto b0 = static_cast<uint8_t>(bytes[0]);
  if (b0 < 0x80) return {true, b0, 1};
  // Lead byte: how many continuation bytes, and the smallest code point
  // that may use this length (shorter forms are overlong).
  size_t extra = 0;
  char32_t c = 0, minimum = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    extra = 1, c = b0 & 0x1F, minimum = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    extra = 2, c = b0 & 0x0F, minimum = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    extra = 3, c = b0 & 0x07, minimum = 0x10000;
  } else {
    return {false, 0, 1};
  }
  size_t j = 1;
  for (; j <= extra && j < bytes.size(); ++j) {
    const auto b = static_cast<uint8_t>(bytes[j]);
    if ((b & 0xC0) != 0x80) break;
    c = (c << 6) | (b & 0x3F);
  }
  if (j <= extra || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {false, 0, j};
  return {true, c, j};
}

std::u16string Utf8ToUtf16(std::string_view in) {
  std::u16string out;
  out.reserve(in.size());
  size_t i = 0;
  while (i < in.size()) {
    const auto b0 = static_cast<uint8_t>(in[i]);
    if (b0 < 0x80) {
      out.push_back(b0);
      ++i;
      continue;
    }
    // A truncated or invalid sequence gives one replacement and the
    // conversion resumes after the bytes that looked like part of it.
    const Utf8Sequence sequence = DecodeUtf8Sequence(in.substr(i));
    if (sequence.valid) {
      AppendUtf16(out, sequence.codePoint);
    } else {
      out.push_back(kReplacement);
    }
    i += sequence.length;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view in) {
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    char32_t c = in[i];
    if (IsHighSurrogate(in[i]) && i + 1 < in.size() && IsLowSurrogate(in[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (in[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;  // a lone surrogate
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string Utf16ToLittleEndianBytes(std::u16string_view utf16) {
  std::string bytes;
  bytes.reserve(utf16.size() * 2);
  for (char16_t unit : utf16) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace quillmor
