// The terms of a content query as the bytes they may appear as in a file:
// UTF-8, the system ANSI code page and UTF-16LE. Files are searched in all
// three at once, without decoding them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_codec.h"
#include "search/byte_needle.h"
#include "search/query_groups.h"

namespace quillmor {

struct CompiledTerm {
  // Each form is empty when the conversion gave nothing. The ANSI form is
  // also empty when the code page lacks a character of the term: Windows
  // would put '?' (or a look-alike letter) in its place and find text that
  // does not hold the term.
  ByteNeedle utf8;
  ByteNeedle ansi;
  ByteNeedle utf16;  // the term's UTF-16 code units, little-endian
  // The UTF-8 form without white space (CompactText), for document text.
  ByteNeedle compactUtf8;

  // True when one of the three forms occurs in `bytes`. An empty form never
  // occurs, nor does one longer than the bytes.
  bool OccursIn(std::string_view bytes) const;
  // The byte length of the longest form.
  size_t LongestForm() const;

  // The ANSI form is searched only when it differs from the UTF-8 form (an
  // ASCII term has the same bytes in both).
  bool searchAnsi = false;
};

// One and-group of a query: a file matches it when every term occurs.
struct CompiledGroup {
  std::vector<CompiledTerm> terms;
};

// Compiles every group, in order, once per search. `codec` converts to UTF-8
// (code page 65001) and to the ANSI code page (0).
std::vector<CompiledGroup> CompileGroups(const QueryGroups& groups, TextCodec& codec);

}  // namespace quillmor
