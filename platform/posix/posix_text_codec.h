// Code-page conversion with glibc's iconv tables, corrected to the bytes
// Windows produces: WideCharToMultiByte and MultiByteToWideChar without flags.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/text_codec.h"

namespace quillmor {

// Thread-safe. Knows 65001, 936 and the ANSI code page it was given (any
// single-byte code page iconv knows as "CP<n>"); 0 (CP_ACP) stands for the
// ANSI code page. Characters a code page lacks become "?", its default
// character. Windows would first try its best-fit table (U+0100 "Ā" gives "A"
// in 1252); best-fit mappings are not reproduced.
class PosixTextCodec : public TextCodec {
 public:
  explicit PosixTextCodec(uint32_t ansiCodePage = 1252);
  ~PosixTextCodec() override;

  uint32_t AnsiCodePage() override { return ansiCodePage_; }
  bool FromUtf16(uint32_t codePage, std::u16string_view text, std::string& out) override;
  bool ToUtf16(uint32_t codePage, std::string_view bytes, std::u16string& out) override;

  struct Table;

 private:
  // The conversion table of a code page, built from iconv on first use.
  // nullptr when the code page is not one this codec serves.
  const Table* TableFor(uint32_t codePage);

  struct Slot {
    std::once_flag built;
    std::unique_ptr<Table> table;  // Written once, under `built`.
  };

  const uint32_t ansiCodePage_;
  Slot ansi_;
  Slot gbk_;
};

}  // namespace quillmor
