// WideCharToMultiByte and MultiByteToWideChar without flags.
#pragma once

#include "platform/text_codec.h"

namespace quillmor {

class Win32TextCodec : public TextCodec {
 public:
  uint32_t AnsiCodePage() override;
  bool FromUtf16(uint32_t codePage, std::u16string_view text, std::string& out) override;
  bool ToUtf16(uint32_t codePage, std::string_view bytes, std::u16string& out) override;
};

}  // namespace quillmor
