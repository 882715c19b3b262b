#include "search/compiled_name_query.h"

#include <algorithm>

namespace quillmor {

CompiledNameQuery::CompiledNameQuery(const QueryGroups& folded, bool initialSearch, TextCodec& codec) {
  matchesAll_ = folded.empty();
  for (const auto& group : folded) {
    const size_t begin = needles_.size();
    for (const std::u16string& term : group) {
      // A term is compared as a zero-terminated string: it ends at its first 0.
      const std::u16string_view text(term.c_str());
      if (!text.empty()) needles_.emplace_back(text);
    }
    // A group without a term to look for holds for every name.
    if (needles_.size() == begin) matchesAll_ = true;
    std::stable_sort(needles_.begin() + static_cast<ptrdiff_t>(begin), needles_.end(),
                     [](const NameNeedle& a, const NameNeedle& b) { return a.size() > b.size(); });
    groupEnds_.push_back(needles_.size());
  }
  if (!matchesAll_ && initialSearch && folded.size() == 1 && folded[0].size() == 1 && IsInitialsTerm(folded[0][0])) {
    initials_.emplace(folded[0][0], PinyinInitialTable::For(codec));
  }
}

bool CompiledNameQuery::MatchesGroups(const char16_t* lower, size_t n) const {
  size_t k = 0;
  for (const size_t end : groupEnds_) {
    while (k < end && needles_[k].FoundIn(lower, n)) ++k;
    if (k == end) return true;
    k = end;
  }
  return false;
}

}  // namespace quillmor
