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
  // WideCharToMultiByte(codePage, 0, ...); code page 0 is the ANSI code page.
  // False when the code page is not available or the conversion fails;
  // characters the code page lacks become its default character, as on
  // Windows. An empty text gives empty bytes and true (the API itself refuses
  // an empty input).
  virtual bool FromUtf16(uint32_t codePage, std::u16string_view text, std::string& out) = 0;
  // MultiByteToWideChar(codePage, 0, ...). False when it fails; empty bytes
  // give an empty text and true.
  virtual bool ToUtf16(uint32_t codePage, std::string_view bytes, std::u16string& out) = 0;
};

}  // namespace quillmor
