// Match highlighting in the name column: the text looked for, taken from the
// query, and where it occurs in a name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillmor {

// The query trimmed of spaces, tabs, CR and LF; for a content query ("s:")
// the two characters are dropped, the rest is cut at the first "|" and
// trimmed again (and dropped when it holds '*' or '?': content terms have no
// wildcards); then A-Z are lower-cased (the fold names are matched in).
std::u16string HighlightText(std::u16string_view query);

// A run of units in a name.
struct TextRange {
  size_t start = 0;
  size_t length = 0;
  bool operator==(const TextRange&) const = default;
};

// Every occurrence of `needle` in `lowerName` (the name's folded copy), left
// to right, each search continuing after the previous match (so occurrences
// never overlap). None for an empty needle.
// A needle with '*' or '?' is read as the query it came from, with wildcard
// terms: in every group the name satisfies, the literal pieces of each
// pattern where they matched ("*.pdf" marks the ".pdf" at the end) and every
// occurrence of each other term; overlapping ranges are merged.
std::vector<TextRange> HighlightRanges(std::u16string_view lowerName, std::u16string_view needle);

}  // namespace quillmor
