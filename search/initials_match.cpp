#include "search/initials_match.h"

#include <algorithm>
#include <array>
#include <string>

#include "index/cjk_unit.h"

namespace quillmor {
namespace {

constexpr bool IsAsciiLowerOrDigit(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'); }

// The key unit of each ASCII unit: letters lower-cased, digits kept, 0 for
// the rest, which the key leaves out.
constexpr std::array<unsigned char, 128> kAsciiKeyUnits = [] {
  std::array<unsigned char, 128> keys{};
  for (unsigned c = 0; c < 128; ++c) {
    if (c >= 'A' && c <= 'Z') keys[c] = static_cast<unsigned char>(c + 32);
    if (IsAsciiLowerOrDigit(static_cast<char16_t>(c))) keys[c] = static_cast<unsigned char>(c);
  }
  return keys;
}();

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

InitialsMatcher::InitialsMatcher(std::u16string_view term, const PinyinInitialTable& table) : table_(&table) {
  if (!IsInitialsTerm(term)) return;
  for (size_t k = 0; k < term.size(); ++k) positions_[term[k]] |= uint32_t{1} << k;
  accept_ = uint32_t{1} << (term.size() - 1);
}

bool InitialsMatcher::Matches(const char16_t* name, size_t nameLength) const {
  if (nameLength == 0 || name[0] == u'.' || accept_ == 0) return false;
  // Most names hold no CJK unit at all: rule them out in a few vector steps.
  if (!ContainsCjkUnit(name, nameLength)) return false;
  // A name holds letters, digits, separators and CJK units mixed: a branch on
  // each unit's kind would be mispredicted often. Each unit gives its key unit,
  // or 0 when it adds nothing to the key, and only a key unit moves the state.
  // The state bits seen are kept to the end, when the name is known to be
  // Chinese or not.
  bool chinese = false;
  uint32_t state = 0, seen = 0;
  for (size_t i = 0; i < nameLength; ++i) {
    const char16_t c = name[i];
    unsigned key = 0;
    if (c < 0x80) {
      if (c == u'.') break;
      key = kAsciiKeyUnits[c];
    } else if (IsCjkUnit(c)) {
      chinese = true;
      key = table_->InitialOfCjk(c);
    }
    const uint32_t next = ((state << 1) | 1) & positions_[key & 127];
    state = key != 0 ? next : state;
    seen |= state;
  }
  return chinese && (seen & accept_) != 0;
}

}  // namespace quillmor
