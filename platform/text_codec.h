// Code-page conversion (WideCharToMultiByte / MultiByteToWideChar).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillmor {

// Thread-safe.
class TextCodec {
 public:
  virtual ~TextCodec() = default;
  // GetACP: the system ANSI code page.
  virtual uint32_t AnsiCodePage() = 0;
  // WideCharToMultiByte(codePage, 0, ...). False when the code page is not
  // available or the conversion fails; characters the code page lacks become
  // its default character, as on Windows.
  virtual bool FromUtf16(uint32_t codePage, std::u16string_view text, std::string& out) = 0;
  // MultiByteToWideChar(codePage, 0, ...). False when it fails.
  virtual bool ToUtf16(uint32_t codePage, std::string_view bytes, std::u16string& out) = 0;
};

}  // namespace quillmor
