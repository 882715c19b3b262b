// Which entries of an office document are read: inner names such as
// "word/document.xml" matched against the configured patterns.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quillmor {

// Byte-wise wildcard match. '*' matches any run of name bytes, the empty run
// included, except that it never matches where the name has already ended:
// "abc*" does not match "abc", while "header*.xml" matches "header.xml" and
// "*.xml" matches ".xml". An empty pattern matches nothing.
bool MatchesInnerPattern(std::string_view name, std::string_view pattern);

// The form of an entry name that patterns are matched against: '\' turned
// into '/' and 'A'..'Z' lower-cased.
std::string NormalizeInnerName(std::string_view name);

// True when the (normalised) name matches at least one of the patterns.
bool MatchesAnyInnerPattern(std::string_view name, std::span<const std::string> patterns);

}  // namespace quillmor
