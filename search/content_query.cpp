#include "search/content_query.h"

#include "index/name_pool.h"
#include "search/query_trim.h"

namespace quillmor {
namespace {

// ",md,, .TXT" -> .md, .txt: pieces trimmed and lower-cased, empty ones
// dropped, a '.' put in front where missing.
std::vector<std::u16string> ParseExtensions(std::u16string_view list) {
  std::vector<std::u16string> extensions;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(u',', start);
    if (end == std::u16string_view::npos) end = list.size();
    const std::u16string_view piece = TrimQueryText(list.substr(start, end - start));
    if (!piece.empty()) {
      std::u16string extension;
      if (piece.front() != u'.') extension += u'.';
      for (char16_t c : piece) extension += FoldAsciiCase(c);
      extensions.push_back(std::move(extension));
    }
    start = end + 1;
  }
  return extensions;
}

}  // namespace

ContentQuery ParseContentQuery(std::u16string_view query) {
  ContentQuery parsed;
  if (!query.starts_with(u"s:")) return parsed;
  const std::u16string_view rest = TrimQueryText(query.substr(2));
  if (rest.empty()) return parsed;

  const size_t bar = rest.find(u'|');
  if (bar == std::u16string_view::npos) {
    parsed.groups = ParseQueryGroups(rest);
    parsed.extensions = {u".txt"};
  } else {
    parsed.groups = ParseQueryGroups(rest.substr(0, bar));
    parsed.extensions = ParseExtensions(rest.substr(bar + 1));
  }
  parsed.contentMode = !parsed.groups.empty();
  return parsed;
}

bool IsContentQueryPrefix(std::u16string_view text) {
  const std::u16string_view trimmed = TrimQueryText(text);
  return trimmed.size() >= 2 && (trimmed[0] == u's' || trimmed[0] == u'S') && trimmed[1] == u':';
}

}  // namespace quillmor
