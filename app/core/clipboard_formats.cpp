#include "app/core/clipboard_formats.h"

namespace quillmor {
namespace {

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

void Put16(std::vector<uint8_t>& out, size_t at, char16_t unit) {
  out[at] = static_cast<uint8_t>(unit & 0xFF);
  out[at + 1] = static_cast<uint8_t>(unit >> 8);
}

}  // namespace

std::vector<uint8_t> DropFilesBlock(std::span<const std::u16string> paths) {
  size_t units = 1;  // the list's closing zero
  for (const std::u16string& path : paths) units += path.size() + 1;
  std::vector<uint8_t> block(kDropFilesHeaderBytes + 2 * units, 0);
  Put32(block, 0, kDropFilesHeaderBytes);  // pFiles
  Put32(block, 16, 1);                     // fWide; pt and fNC stay 0
  size_t at = kDropFilesHeaderBytes;
  for (const std::u16string& path : paths) {
    for (const char16_t unit : path) {
      Put16(block, at, unit);
      at += 2;
    }
    at += 2;  // the path's zero
  }
  return block;
}

std::u16string PathListText(std::span<const std::u16string> paths) {
  std::u16string text;
  for (size_t i = 0; i < paths.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += paths[i];
  }
  return text;
}

}  // namespace quillmor
