#include "app/core/search_box_rules.h"

#include "search/content_query.h"
#include "search/query_trim.h"

namespace quillmor {

std::optional<uint32_t> SearchDelayAfterEdit(std::u16string_view text) {
  if (IsContentQueryPrefix(text)) return std::nullopt;
  return kSearchDelayMs;
}

bool EscapeCancelsContentSearch(std::u16string_view text) { return IsContentQueryPrefix(text); }

EnterAction DecideEnter(std::u16string_view text) {
  const std::u16string_view trimmed = TrimQueryText(text);
  if (trimmed.empty()) return {};
  return {true, std::u16string(trimmed)};
}

}  // namespace quillmor
