// The whitespace a query is trimmed of: space, tab, carriage return and line
// feed (text pasted into the search box brings the last two along).
#pragma once

#include <string_view>

namespace quillmor {

constexpr bool IsQueryTrimUnit(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// `text` without leading and trailing space, tab, CR and LF.
constexpr std::u16string_view TrimQueryText(std::u16string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsQueryTrimUnit(text[begin])) ++begin;
  while (end > begin && IsQueryTrimUnit(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace quillmor
