#include "platform/file_name_bytes.h"

#include <cstdint>

#include "platform/utf.h"

namespace quillmor {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // + a byte of 0x80 or above: U+DC80 to U+DCFF

bool IsEscape(char16_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }
bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The length of the valid UTF-8 sequence at the start of `bytes`, or 0 when
// its first byte starts none (overlong forms and encoded surrogates are not
// valid).
size_t ValidSequenceLength(std::string_view bytes) {
  const auto b0 = static_cast<uint8_t>(bytes[0]);
  if (b0 < 0x80) return 1;
  size_t extra = 0;
  char32_t c = 0, minimum = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    extra = 1, c = b0 & 0x1F, minimum = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    extra = 2, c = b0 & 0x0F, minimum = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    extra = 3, c = b0 & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (bytes.size() <= extra) return 0;
  for (size_t j = 1; j <= extra; ++j) {
    const auto b = static_cast<uint8_t>(bytes[j]);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return extra + 1;
}

}  // namespace

std::u16string FileNameFromBytes(std::string_view bytes) {
  std::u16string name;
  name.reserve(bytes.size());
  size_t start = 0;  // the first byte not converted yet
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t length = ValidSequenceLength(bytes.substr(i));
    if (length != 0) {
      i += length;
      continue;
    }
    // One byte at a time: the bytes after it may start a valid sequence.
    name += Utf8ToUtf16(bytes.substr(start, i - start));
    name.push_back(static_cast<char16_t>(kEscapeBase + static_cast<uint8_t>(bytes[i])));
    start = ++i;
  }
  name += Utf8ToUtf16(bytes.substr(start));
  return name;
}

std::string FileNameToBytes(std::u16string_view name) {
  std::string bytes;
  bytes.reserve(name.size());
  size_t start = 0;  // the first unit not converted yet
  for (size_t i = 0; i < name.size(); ++i) {
    // A high surrogate followed by a low one is a pair, whatever the low one
    // is; FileNameFromBytes never leaves a high surrogate without its pair.
    if (IsHighSurrogate(name[i]) && i + 1 < name.size() && IsLowSurrogate(name[i + 1])) {
      ++i;
      continue;
    }
    if (!IsEscape(name[i])) continue;
    bytes += Utf16ToUtf8(name.substr(start, i - start));
    bytes.push_back(static_cast<char>(name[i] - kEscapeBase));
    start = i + 1;
  }
  bytes += Utf16ToUtf8(name.substr(start));
  return bytes;
}

}  // namespace quillmor
