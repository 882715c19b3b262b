#include "app/core/highlight.h"

#include "search/query_trim.h"

namespace quillmor {

std::u16string HighlightText(std::u16string_view query) {
  std::u16string_view text = TrimQueryText(query);
  if (text.size() >= 2 && text[0] == u's' && text[1] == u':') {
    text.remove_prefix(2);
    text = TrimQueryText(text.substr(0, text.find(u'|')));
  }
  std::u16string lower(text);
  for (char16_t& c : lower) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return lower;
}

std::vector<TextRange> HighlightRanges(std::u16string_view lowerName, std::u16string_view needle) {
  std::vector<TextRange> ranges;
  if (needle.empty()) return ranges;
  for (size_t at = lowerName.find(needle); at != std::u16string_view::npos;
       at = lowerName.find(needle, at + needle.size())) {
    ranges.push_back({at, needle.size()});
  }
  return ranges;
}

}  // namespace quillmor
