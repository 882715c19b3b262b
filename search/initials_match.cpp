#include "search/initials_match.h"

#include <algorithm>
#include <string>

#include "search/name_scan.h"

namespace quillmor {
namespace {

constexpr bool IsAsciiLowerOrDigit(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'); }

}  // namespace

bool IsInitialsTerm(std::u16string_view term) {
  return term.size() >= 2 && term.size() <= kMaxInitialsTermLength &&
         std::all_of(term.begin(), term.end(), IsAsciiLowerOrDigit);
}

bool MatchesInitials(const char16_t* name, size_t nameLength, std::u16string_view term, TextCodec& codec) {
  if (name == nullptr || nameLength == 0 || name[0] == u'.') return false;
  const PinyinInitialTable& table = PinyinInitialTable::For(codec);
  std::u16string key;
  bool chinese = false;
  for (size_t i = 0; i < nameLength && name[i] != u'.'; ++i) {
    const char16_t c = name[i];
    if (c >= u'A' && c <= u'Z') {
      key += static_cast<char16_t>(c + 32);
    } else if (IsAsciiLowerOrDigit(c)) {
      key += c;
    } else if (IsCjkUnit(c)) {
      chinese = true;
      if (const char16_t initial = table.InitialOfCjk(c)) key += initial;
    }
  }
  return !key.empty() && chinese && key.find(term) != std::u16string::npos;
}

InitialsMatcher::InitialsMatcher(std::u16string_view term, const PinyinInitialTable& table)
    : table_(&table), length_(std::min(term.size(), kMaxInitialsTermLength)) {
  std::copy_n(term.begin(), length_, term_);
  size_t k = 0;
  if (length_ > 0) fallback_[0] = 0;
  for (size_t i = 1; i < length_; ++i) {
    while (k > 0 && term_[i] != term_[k]) k = fallback_[k - 1];
    if (term_[i] == term_[k]) ++k;
    fallback_[i] = static_cast<unsigned char>(k);
  }
}

bool InitialsMatcher::Matches(const char16_t* name, size_t nameLength) const {
  if (nameLength == 0 || name[0] == u'.' || length_ == 0) return false;
  // Most names hold no CJK unit at all: rule them out in one vector pass.
  if (!ContainsCjkUnit(name, nameLength)) return false;
  bool chinese = false, found = false;
  size_t matched = 0;  // units of the term matched so far in the key
  for (size_t i = 0; i < nameLength; ++i) {
    char16_t c = name[i];
    if (c == u'.') break;
    if (c >= u'A' && c <= u'Z') {
      c = static_cast<char16_t>(c + 32);
    } else if (IsCjkUnit(c)) {
      chinese = true;
      c = table_->InitialOfCjk(c);
    } else if (!IsAsciiLowerOrDigit(c)) {
      continue;
    }
    if (!found && c != 0) {
      while (matched > 0 && term_[matched] != c) matched = fallback_[matched - 1];
      if (term_[matched] == c) ++matched;
      found = matched == length_;
    }
    if (found && chinese) return true;
  }
  return false;
}

}  // namespace quillmor
