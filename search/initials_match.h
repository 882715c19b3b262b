// Initial search: a query of Latin letters found in the initial letters of the
// readings of a Chinese name ("xjwj" finds 新建文件夹.txt).
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/text_codec.h"
#include "search/pinyin_initial.h"

namespace quillmor {

// The longest term initial search considers.
inline constexpr size_t kMaxInitialsTermLength = 32;

// True for a folded term of 2 to 32 units, each 'a'..'z' or '0'..'9'.
bool IsInitialsTerm(std::u16string_view term);

// The initials key of `name` (the name itself, not its lower-case copy) is
// built over the part before its first '.': ASCII letters lower-cased, digits
// kept, each CJK unit replaced by its initial (left out when it has none),
// everything else left out. True when the name has a CJK unit in that part
// and `term` occurs in the key. A name starting with '.' never matches.
bool MatchesInitials(const char16_t* name, size_t nameLength, std::u16string_view term, TextCodec& codec);

// MatchesInitials for one term prepared once, for scanning many names: no
// allocation, one pass over the name. Only for terms where IsInitialsTerm
// holds.
class InitialsMatcher {
 public:
  InitialsMatcher(std::u16string_view term, const PinyinInitialTable& table);

  bool Matches(const char16_t* name, size_t nameLength) const;

 private:
  const PinyinInitialTable* table_;
  size_t length_;
  char16_t term_[kMaxInitialsTermLength];
  // Knuth-Morris-Pratt fallback: the length of the longest proper prefix of
  // term_[0..k] that is also its suffix.
  unsigned char fallback_[kMaxInitialsTermLength];
};

}  // namespace quillmor
