#include "search/query_groups.h"

#include <utility>

#include "index/name_pool.h"
#include "search/name_pattern.h"
#include "search/query_trim.h"

namespace quillmor {
namespace {

// Whether `text` at `i` holds `keyword` framed by a space or tab on both
// sides, the keyword in any ASCII case ("and" for " AND\t").
bool KeywordAt(std::u16string_view text, size_t i, std::u16string_view keyword) {
  const size_t length = keyword.size() + 2;
  if (text.size() - i < length) return false;
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  if (!blank(text[i]) || !blank(text[i + length - 1])) return false;
  for (size_t k = 0; k < keyword.size(); ++k) {
    if (FoldAsciiCase(text[i + 1 + k]) != keyword[k]) return false;
  }
  return true;
}

void FinishTerm(std::u16string& term, std::vector<std::u16string>& group) {
  const std::u16string_view trimmed = TrimQueryText(term);
  if (!trimmed.empty()) group.emplace_back(trimmed);
  term.clear();
}

void FinishGroup(std::u16string& term, std::vector<std::u16string>& group, QueryGroups& groups) {
  FinishTerm(term, group);
  if (!group.empty()) groups.push_back(std::exchange(group, {}));
}

// The first occurrence of the zero-terminated `needle` in the zero-terminated
// `haystack`, as wcsstr finds it: an empty needle is found at once.
bool ContainsTerminated(const char16_t* haystack, const char16_t* needle) {
  if (*needle == 0) return true;
  for (; *haystack != 0; ++haystack) {
    size_t k = 0;
    while (needle[k] != 0 && haystack[k] == needle[k]) ++k;
    if (needle[k] == 0) return true;
  }
  return false;
}

// Whether the whole zero-terminated `name` matches `pattern`, decided the
// plain way: the set of pattern prefixes that match each prefix of the name.
bool WholeNameMatches(const char16_t* name, std::u16string_view pattern) {
  // matched[j]: the first j units of the pattern match the name so far.
  std::vector<bool> matched(pattern.size() + 1, false);
  matched[0] = true;
  for (size_t j = 0; j < pattern.size() && pattern[j] == kAnyRun; ++j) matched[j + 1] = true;
  for (; *name != 0; ++name) {
    bool diagonal = matched[0];  // matched[j - 1] before this unit
    matched[0] = false;
    for (size_t j = 1; j <= pattern.size(); ++j) {
      const bool before = matched[j];
      const char16_t p = pattern[j - 1];
      matched[j] = p == kAnyRun ? matched[j - 1] || before : diagonal && (p == kAnyUnit || p == *name);
      diagonal = before;
    }
  }
  return matched[pattern.size()];
}

bool TermMatches(const char16_t* lowerName, const std::u16string& term) {
  // A term ends at its first 0, as the name does.
  const std::u16string_view text(term.c_str());
  return IsPatternTerm(text) ? WholeNameMatches(lowerName, text) : ContainsTerminated(lowerName, text.data());
}

}  // namespace

QueryGroups ParseQueryGroups(std::u16string_view text) {
  QueryGroups groups;
  std::vector<std::u16string> group;
  std::u16string term;
  bool escape = false, inQuote = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (escape) {
      term += c;
      escape = false;
    } else if (c == u'\\') {
      escape = true;
    } else if (c == u'"') {
      inQuote = !inQuote;
    } else if (inQuote || (c != u' ' && c != u'\t')) {
      term += c;
    } else if (KeywordAt(text, i, u"and")) {
      FinishTerm(term, group);
      i += 4;
    } else if (KeywordAt(text, i, u"or")) {
      FinishGroup(term, group, groups);
      i += 3;
    } else {
      term += c;
    }
  }
  FinishGroup(term, group, groups);
  return groups;
}

QueryGroups FoldQueryGroups(const QueryGroups& groups) {
  QueryGroups folded;
  for (const auto& group : groups) {
    std::vector<std::u16string> terms;
    for (const std::u16string& term : group) {
      std::u16string lower(term);
      for (char16_t& c : lower) c = FoldAsciiCase(c);
      const std::u16string_view trimmed = TrimQueryText(lower);
      if (!trimmed.empty()) terms.emplace_back(trimmed);
    }
    if (!terms.empty()) folded.push_back(std::move(terms));
  }
  return folded;
}

bool MatchesQueryGroups(const QueryGroups& folded, const char16_t* lowerName) {
  if (lowerName == nullptr) return false;
  if (folded.empty()) return true;
  for (const auto& group : folded) {
    bool all = true;
    for (const std::u16string& term : group) {
      if (!term.empty() && !TermMatches(lowerName, term)) {
        all = false;
        break;
      }
    }
    if (all) return true;
  }
  return false;
}

}  // namespace quillmor
