// Content queries: "s:" followed by and/or terms searched inside files,
// optionally followed by "|" and the extensions of the files to read
// ("s:invoice|log,.CSV").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "search/query_groups.h"

namespace quillmor {

struct ContentQuery {
  bool contentMode = false;
  // The terms exactly as parsed, not folded: file contents are matched
  // case-sensitively.
  QueryGroups groups;
  // Lower-case ('A'..'Z' only), each beginning with '.', in query order.
  // Possibly none ("s:foo|"): then no file is a candidate.
  std::vector<std::u16string> extensions;
};

// Recognises a trimmed query as a content query: it begins with "s:"
// (lower-case s only), and what follows, trimmed, is not empty and yields at
// least one group. Without "|" the extensions are just ".txt". Anything else
// comes back with contentMode false, to be searched as a name.
ContentQuery ParseContentQuery(std::u16string_view query);

// The search box's check: after trimming, "s:" or "S:" and anything after.
// Such a text waits for Enter instead of searching while the user types, and
// Escape cancels its search.
bool IsContentQueryPrefix(std::u16string_view text);

}  // namespace quillmor
