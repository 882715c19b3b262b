#include "engine/inner_name_pattern.h"

namespace quillmor {

bool MatchesInnerPattern(std::string_view name, std::string_view pattern) {
  if (pattern.empty()) return false;
  // Greedy matching with one backtrack point, the last '*' seen: widening
  // the run of an earlier '*' can never help once a later one was reached.
  // At most name length x pattern length steps, never exponential.
  constexpr size_t kNone = std::string_view::npos;
  size_t p = 0, n = 0;
  size_t starPattern = kNone, starName = 0;
  for (;;) {
    if (p < pattern.size() && pattern[p] == '*') {
      if (n == name.size()) return false;  // a '*' where the name has ended
      if (p + 1 == pattern.size()) return true;
      starPattern = p++;
      starName = n;  // try the empty run first
      continue;
    }
    if (p < pattern.size() && n < name.size() && pattern[p] == name[n]) {
      ++p;
      ++n;
      continue;
    }
    if (p == pattern.size() && n == name.size()) return true;
    // A mismatch: give the last '*' one more name byte.
    if (starPattern == kNone || starName == name.size()) return false;
    p = starPattern + 1;
    n = ++starName;
  }
}

std::string NormalizeInnerName(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c == '\\') c = '/';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return out;
}

bool MatchesAnyInnerPattern(std::string_view name, std::span<const std::string> patterns) {
  for (const std::string& pattern : patterns) {
    if (MatchesInnerPattern(name, pattern)) return true;
  }
  return false;
}

}  // namespace quillmor
