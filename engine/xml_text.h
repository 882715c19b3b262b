// The plain text of an XML document part: markup dropped, the five named
// entities and numeric character references decoded, CDATA kept, and every
// run of white space folded into one space.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quillmor {

// Converts the UTF-8 XML in `buffer` to text in the same buffer (the text
// never needs more bytes than the XML it comes from) and returns the text, a
// view into `buffer` without spaces at either end; empty when there is none.
//
// White space is tab, line feed, carriage return, space and the no-break
// space U+00A0 (the two bytes C2 A0). A lone byte A0 is not white space: in
// UTF-8 it is the last byte of many characters, CJK ideographs among them.
std::string_view XmlToTextInPlace(std::span<char> buffer);

// The same, on a copy.
std::string XmlToText(std::string_view xml);

}  // namespace quillmor
