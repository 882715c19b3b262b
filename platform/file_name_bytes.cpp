#include "platform/file_name_bytes.h"

#include <cstdint>

#include "platform/utf.h"

namespace quillmor {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // + a byte of 0x80 or above: U+DC80 to U+DCFF

bool IsEscape(char16_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }

}  // namespace

std::u16string FileNameFromBytes(std::string_view bytes) {
  std::u16string name;
  name.reserve(bytes.size());
  size_t start = 0;  // the first byte not converted yet
  size_t i = 0;
  while (i < bytes.size()) {
    const Utf8Sequence sequence = DecodeUtf8Sequence(bytes.substr(i));
    if (sequence.valid) {
      i += sequence.length;
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
