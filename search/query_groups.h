// The and/or grammar of a name query: groups joined by "or", each a list of
// terms joined by "and". A name matches when every term of at least one group
// occurs in it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillmor {

// Groups in query order; each group's terms in query order. After parsing or
// folding no group and no term is empty. No group at all matches everything.
using QueryGroups = std::vector<std::vector<std::u16string>>;

// One left-to-right pass over `text`:
// - a backslash keeps the next unit whatever it is (and is itself dropped);
// - double quotes group without being kept, and turn keywords off inside;
// - an unquoted " and " ends the term, " or " ends the group (space or tab on
//   each side, keyword in any ASCII case);
// - any other space or tab stays inside the term, so "annual report" is a
//   single term;
// - terms are trimmed of space, tab, CR and LF; empty terms and groups vanish.
// "and" binds tighter than "or": "a and b or c" is (a, b) or (c).
QueryGroups ParseQueryGroups(std::u16string_view text);

// Lower-cases 'A'..'Z' in every term (the folding of the name pool's lower-case
// copies), trims, and drops terms and groups left empty.
QueryGroups FoldQueryGroups(const QueryGroups& groups);

// True when, for some group, every term matches the zero-terminated
// `lowerName`: a term with '*' or '?' (IsPatternTerm) matches the whole name
// as a wildcard pattern; any other term occurs in it (wcsstr semantics: plain
// code units). An empty group, and an empty list of groups, match; a null
// name never does.
bool MatchesQueryGroups(const QueryGroups& folded, const char16_t* lowerName);

}  // namespace quillmor
