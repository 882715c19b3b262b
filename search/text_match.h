// Whether bytes hold a content query's terms: the test of a plain file's
// bytes and of the text of one document entry.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "search/compiled_group.h"
#include "search/search_generation.h"

namespace quillmor {

// True when some group has every term occurring in `bytes` (in any of its
// three forms). Groups are tried in order and a group stops at its first
// missing term. False as soon as the search is cancelled (tested before each
// group and each term).
bool BufferMatchesGroups(std::string_view bytes, std::span<const CompiledGroup> groups, Generation generation);

// The matcher of document text (UTF-8): the text as it is, then, failing
// that, both text and terms without white space, so that "annual report"
// is found where a document holds "annualreport" or the two words split by a
// no-break space or a line break.
bool MatchTextBuffer(std::string_view text, std::span<const CompiledGroup> groups, Generation generation);

// The bytes without tab, line feed, carriage return and space, and without
// the UTF-8 no-break space (C2 A0), ideographic space (E3 80 80) and
// zero-width space (E2 80 8B).
std::string CompactText(std::string_view bytes);

}  // namespace quillmor
