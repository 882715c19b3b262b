#include "app/core/highlight.h"

#include <algorithm>

#include "search/name_pattern.h"
#include "search/query_groups.h"
#include "search/query_trim.h"

namespace quillmor {
namespace {

// Every occurrence of `needle`, left to right, each search continuing after
// the previous match.
void AppendOccurrences(std::u16string_view lowerName, std::u16string_view needle, std::vector<TextRange>& ranges) {
  if (needle.empty()) return;
  for (size_t at = lowerName.find(needle); at != std::u16string_view::npos;
       at = lowerName.find(needle, at + needle.size())) {
    ranges.push_back({at, needle.size()});
  }
}

// A query with wildcards, read with the search's grammar: in each group that
// the name satisfies, the literal pieces of its patterns where they matched
// and every occurrence of its other terms.
std::vector<TextRange> QueryRanges(std::u16string_view lowerName, std::u16string_view text) {
  std::vector<TextRange> ranges;
  std::vector<std::pair<size_t, size_t>> pieces;
  const std::u16string name(lowerName);  // zero-terminated for the substring rule
  for (const auto& group : FoldQueryGroups(ParseQueryGroups(text))) {
    if (!MatchesQueryGroups({group}, name.c_str())) continue;
    for (const std::u16string& term : group) {
      if (!IsPatternTerm(term)) {
        AppendOccurrences(lowerName, term, ranges);
      } else if (NamePattern(term).LiteralPieces(lowerName, pieces)) {
        for (const auto& [start, length] : pieces) ranges.push_back({start, length});
        pieces.clear();
      }
    }
  }
  // Ranges of several terms may overlap: sorted and merged.
  std::sort(ranges.begin(), ranges.end(), [](const TextRange& a, const TextRange& b) { return a.start < b.start; });
  std::vector<TextRange> merged;
  for (const TextRange& r : ranges) {
    if (!merged.empty() && r.start <= merged.back().start + merged.back().length) {
      merged.back().length = std::max(merged.back().length, r.start + r.length - merged.back().start);
    } else {
      merged.push_back(r);
    }
  }
  return merged;
}

}  // namespace

std::u16string HighlightText(std::u16string_view query) {
  std::u16string_view text = TrimQueryText(query);
  if (text.size() >= 2 && text[0] == u's' && text[1] == u':') {
    text.remove_prefix(2);
    text = TrimQueryText(text.substr(0, text.find(u'|')));
    // A content query's terms are literal, and no name holds '*' or '?'.
    if (IsPatternTerm(text)) return {};
  }
  std::u16string lower(text);
  for (char16_t& c : lower) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return lower;
}

std::vector<TextRange> HighlightRanges(std::u16string_view lowerName, std::u16string_view needle) {
  if (IsPatternTerm(needle)) return QueryRanges(lowerName, needle);
  std::vector<TextRange> ranges;
  AppendOccurrences(lowerName, needle, ranges);
  return ranges;
}

}  // namespace quillmor
