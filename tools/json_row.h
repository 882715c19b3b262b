// quillmor-cli --json: one result row as one line of JSON, for jq and the
// like.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace quillmor {

// What a row says about its file.
struct RowFacts {
  std::u16string path;
  std::u16string name;
  bool directory = false;
  bool attributesKnown = false;  // size and times were read
  uint64_t size = 0;
  uint64_t modified = 0;  // FILETIME, 0: unknown
  uint64_t created = 0;   // FILETIME, 0: unknown
};

// `text` as a JSON string, quotes included, appended to `out`: '"', '\' and
// control characters escaped, other characters as UTF-8. A lone surrogate (a
// name that is not valid UTF-16 text, which NTFS allows) becomes a \u escape
// of that unit, so that the line stays valid UTF-8 and the unit is kept.
void AppendJsonString(std::string& out, std::u16string_view text);

// "2024-03-09T14:05:07+01:00": the local time of a FILETIME with the local
// offset from UTC at that time. Empty for 0 or a time the clock cannot
// convert.
std::string IsoLocalTime(Clock& clock, uint64_t fileTime);

// {"path":...,"name":...,"directory":true|false,"size":N|null,
//  "modified":"..."|null,"created":"..."|null}, without a line break. A
// directory has no size; unknown times are null.
std::string JsonRow(Clock& clock, const RowFacts& row);

}  // namespace quillmor
