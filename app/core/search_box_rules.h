// What the search box's edits and keys lead to: the search-as-you-type delay,
// Escape over a content query, and Enter.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillmor {

inline constexpr uint32_t kSearchDelayMs = 260;

// EN_CHANGE: the delay to (re)arm the search timer with, or nothing for a
// content query ("s:" or "S:" after trimming), which waits for Enter. The
// timer is killed first in either case.
std::optional<uint32_t> SearchDelayAfterEdit(std::u16string_view text);

// Escape: whether it cancels a running content search (the text, trimmed,
// starts with "s:" or "S:"). Any other text gets the edit's own handling.
bool EscapeCancelsContentSearch(std::u16string_view text);

// Enter: search the trimmed text at once, or, when nothing is left, run the
// current view again.
struct EnterAction {
  bool search = false;   // false: re-run the current view
  std::u16string query;  // the trimmed text, when searching
};
EnterAction DecideEnter(std::u16string_view text);

}  // namespace quillmor
