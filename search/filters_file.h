// The filters files in the configuration directory: "filters.<language>.ini"
// for the current language, "filters.ini" shared by all languages, and
// "filters.bak", a copy of the last file read successfully. One tag per line:
// the name, "=", the extensions joined by ",".
#pragma once

#include <string>
#include <string_view>

#include "platform/env.h"
#include "search/filter_state.h"
#include "search/filter_tag.h"

namespace quillmor {

// Lines are read through a buffer of this many characters: a longer line
// arrives in pieces, each taken as a line of its own.
inline constexpr size_t kFilterLineChars = 1024;
// Tags beyond this many are ignored when reading: each one becomes a button
// of the main window, and a file of a million lines must not become a million
// windows.
inline constexpr size_t kMaxFilterTags = 256;

// The filters file of the current language: "filters.<code>.ini" with the
// code lower-cased and spaces turned into '_' ("filters.en-us.ini"), or
// "filters.ini" while no language is current (or the code cannot name a
// file).
std::u16string FilterFilePath(Env& env);

// What a read of a filters file gave.
enum class FilterFileRead {
  kFailed,     // missing, unreadable, or no tag in it; the list is unchanged
  kRead,       // every tag of the file is in the list
  kTruncated,  // the first kMaxFilterTags tags are in the list
};

// Reads the tags of a filters file into `tags`. Lines are trimmed; empty
// lines, lines starting with '#', lines without '=' and lines with an empty
// name are skipped. Each extension is trimmed and 'A' to 'Z' folded, empty ones
// are dropped and a missing leading '.' is added; a tag may have none. Names
// stay as written. Any bytes are accepted.
FilterFileRead ReadFilterFile(FileSystem& files, std::u16string_view path, FilterTagList& tags);

// Writes the tags as a settings file, through a temporary file that replaces
// the old one only once it is complete, so a failed write leaves the old file
// whole. Names are written as FilterFileSafeName gives them. False when it
// could not be written.
bool WriteFilterFile(FileSystem& files, std::u16string_view path, const FilterTagList& tags);

// Start-up: installs the tag list of the first file that reads (the current
// language's file, then "filters.ini", then "filters.bak"; the defaults when
// none does), repairs what needs repairing (Chinese defaults under another
// language are replaced by the English defaults; a missing folder tag is
// added) and refreshes "filters.bak" from the file that was read. Call after
// the language was applied and before the main window makes its tag buttons.
void LoadFilterTags(Env& env, FilterState& state);

// The reset command: the defaults become the tag list and the current
// language's filters file. The window then recreates its tag buttons.
void ResetFilterTags(Env& env, FilterState& state);

}  // namespace quillmor
