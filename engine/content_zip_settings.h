// Which files content search opens as ZIP-based documents (by extension) and
// which of their inner entries it reads (by name pattern). Both lists come
// from two settings files in the configuration directory and are replaced
// together; readers copy them.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"

namespace quillmor {

inline constexpr std::u16string_view kContentZipExtsFile = u"content_zip_exts.ini";
inline constexpr std::u16string_view kContentZipInnerPatternsFile = u"content_zip_inner_patterns.ini";

struct ContentZipSettings {
  // Lower-case, each beginning with '.', in file order (duplicates kept).
  std::vector<std::u16string> extensions;
  // UTF-8 with 'A'..'Z' lower-cased; '*' is a wildcard (inner_name_pattern.h).
  std::vector<std::string> innerPatterns;
};

// The lists a missing settings file is created with.
ContentZipSettings DefaultContentZipSettings();

// Reads both settings files and installs both lists. A missing file is
// written with the defaults, which are used; a file that exists but cannot
// be read keeps the list installed before (none before the first load); a
// readable file gives exactly what it holds, even nothing. Thread-safe.
void LoadContentZipSettings(Env& env);

// Replaces both lists (for start-up code and tests that bypass the files).
void InstallContentZipSettings(ContentZipSettings settings);

// A copy of the installed lists: what one content search works with, unaffected by later reloads.
ContentZipSettings CopyContentZipSettings();

// True when the part of `path` from its last '.' on, lower-cased, is one of
// the installed extensions.
bool IsZipDocument(std::u16string_view path);

// The same test against a copy of the list, as one content search makes it.
bool HasZipExtension(std::u16string_view path, std::span<const std::u16string> extensions);

}  // namespace quillmor
