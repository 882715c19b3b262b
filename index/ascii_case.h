// Case-insensitive comparison as the Windows C runtime does it in the "C"
// locale (_wcsicmp, _wcsnicmp): only 'A'..'Z' fold, every other unit compares
// as it is, so "É" and "é" differ.
#pragma once

#include <string_view>

#include "index/name_pool.h"

namespace quillmor {

constexpr bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  }
  return true;
}

// True when `text` begins with `prefix`, ignoring ASCII case.
constexpr bool StartsWithIgnoringAsciiCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && EqualIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace quillmor
