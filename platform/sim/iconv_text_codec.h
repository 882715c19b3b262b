// Code-page conversion through glibc's iconv (code page N as "CPN"), with
// Windows' handling of what a code page lacks: one '?' for each such unit.
// For tests and benchmarks on Linux.
#pragma once

#include <iconv.h>
#include <cerrno>

#include <string>

#include "platform/text_codec.h"

namespace quillmor {

class IconvTextCodec : public TextCodec {
 public:
  int conversions = 0;

  uint32_t AnsiCodePage() override { return 1252; }

  bool FromUtf16(uint32_t codePage, std::u16string_view text, std::string& out) override {
    ++conversions;
    const std::string name = "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open(name.c_str(), "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string in;
    for (char16_t c : text) in += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    out.clear();
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char buffer[256];
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (r == static_cast<size_t>(-1) && errno != E2BIG) {  // a unit the code page lacks
        out += '?';
        inPtr += 2;
        inLeft -= 2;
      }
    }
    iconv_close(cd);
    return true;
  }

  bool ToUtf16(uint32_t, std::string_view, std::u16string&) override { return false; }
};

}  // namespace quillmor
