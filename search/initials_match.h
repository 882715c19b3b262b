// Initial search: a query of Latin letters found in the initial letters of the
// readings of a Chinese name ("xjwj" finds 新建文件夹.txt).
#pragma once

#include <cstddef>
#include <cstdint>
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
// allocation, one pass over the name with the key matched as it is built
// (shift-and: bit k of the state says that the key so far ends with the
// term's first k + 1 units). `name` is a pool entry (its lower-case copy
// follows it). Only for terms where IsInitialsTerm holds; others never match.
class InitialsMatcher {
 public:
  InitialsMatcher(std::u16string_view term, const PinyinInitialTable& table);

  bool Matches(const char16_t* name, size_t nameLength) const;

 private:
  const PinyinInitialTable* table_;
  // For each key unit ('a'..'z', '0'..'9'), the term positions that hold it.
  uint32_t positions_[128] = {};
  // The state bit of a whole term; 0 for a term that never matches.
  uint32_t accept_ = 0;
};

}  // namespace quillmor
