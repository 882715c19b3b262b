#include "search/compiled_name_query.h"

#include <algorithm>

namespace quillmor {

CompiledNameQuery::CompiledNameQuery(const QueryGroups& folded, bool initialSearch, TextCodec& codec) {
  matchesAll_ = folded.empty();
  for (const auto& group : folded) {
    const size_t begin = needles_.size();
    const size_t patternsBegin = patterns_.size();
    for (const std::u16string& term : group) {
      // A term is compared as a zero-terminated string: it ends at its first 0.
      const std::u16string_view text(term.c_str());
      if (!IsPatternTerm(text)) {
        if (!text.empty()) needles_.emplace_back(text);
        continue;
      }
      NamePattern pattern(text);
      if (const std::u16string_view substring = pattern.AsSubstring(); !substring.empty()) {
        needles_.emplace_back(substring);
      } else if (!pattern.MatchesAnyName()) {
        patterns_.push_back(std::move(pattern));
      }
    }
    // A group without a term to look for holds for every name.
    if (needles_.size() == begin && patterns_.size() == patternsBegin) matchesAll_ = true;
    patternEnds_.push_back(patterns_.size());
    std::stable_sort(needles_.begin() + static_cast<ptrdiff_t>(begin), needles_.end(),
                     [](const NameNeedle& a, const NameNeedle& b) { return a.size() > b.size(); });
    groupEnds_.push_back(needles_.size());
  }
  oneNeedle_ = needles_.size() == 1 && patterns_.empty();
  onePattern_ = patterns_.size() == 1 && needles_.empty();
  // A pattern is never an initials term: IsInitialsTerm takes letters and
  // digits only.
  if (!matchesAll_ && initialSearch && folded.size() == 1 && folded[0].size() == 1 && IsInitialsTerm(folded[0][0])) {
    initials_.emplace(folded[0][0], PinyinInitialTable::For(codec));
  }
}

bool CompiledNameQuery::MatchesGroups(const char16_t* lower, size_t n) const {
  size_t k = 0, p = 0;
  for (size_t g = 0; g < groupEnds_.size(); ++g) {
    // Patterns first: their anchored pieces turn most names away at a glance.
    const size_t patternsEnd = patternEnds_[g], end = groupEnds_[g];
    while (p < patternsEnd && patterns_[p].Matches(lower, n)) ++p;
    if (p == patternsEnd) {
      while (k < end && needles_[k].FoundIn(lower, n)) ++k;
      if (k == end) return true;
    }
    k = end;
    p = patternsEnd;
  }
  return false;
}

}  // namespace quillmor
