// The user's language files in the "lang" folder: "<code>.ini" (a template
// of a built-in language, or a language of the user's own), "<code>.user.ini"
// and "custom.ini". Each holds key=value lines; "#" starts a comment line.
// The bytes are the user's: every reader here takes any content quietly.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "settings/localisation.h"

namespace quillmor {

// Line lengths the readers work with, as fixed buffers would see them: a
// longer line arrives in pieces, each taken as a line of its own.
inline constexpr size_t kDisplayNameLineChars = 1024;
inline constexpr size_t kOverrideLineChars = 4096;

// The opening comment line of the templates this program writes. It says how
// they write line breaks and backslashes, and a file that starts with it is
// read with that escaping undone; every other file is read as it stands, so
// that a user's "C:\new folder" keeps its backslash.
inline constexpr std::u16string_view kLanguageTemplateFirstLine =
    u"# Auto-generated language template: a line break is written as \\n, a backslash as \\\\";

// Reads a language file as trimmed, non-empty lines of at most
// bufferChars - 1 characters. UTF-8, with or without a byte-order mark, or
// UTF-16 little-endian with its byte-order mark (as Notepad's "Unicode").
// False (and no lines) when the file cannot be read or is larger than
// kMaxSettingsFileBytes.
bool ReadLanguageFileLines(FileSystem& files, std::u16string_view path, size_t bufferChars,
                           std::vector<std::u16string>& lines);

// Removes one pair of enclosing double or single quotes from a value of at
// least two characters that starts and ends with the same quote.
std::u16string_view UnquoteLanguageValue(std::u16string_view value);

// The value of a text as a template holds it, and back. Line feeds are
// written as "\n" and backslashes as "\\", so that a text stays on one line;
// a text with blanks at either end, or enclosed in quotes itself, is written
// in double quotes so that trimming and unquoting give it back unchanged.
std::u16string EncodeLanguageValue(std::u16string_view text);
std::u16string DecodeLanguageValue(std::u16string_view value);

// The display name a language file gives itself: the first non-empty value of
// a "Name" key (any case), unescaped in a template. `code` when there is none
// or the file cannot be read.
std::u16string ReadLanguageDisplayName(FileSystem& files, std::u16string_view path, std::u16string_view code);

// Lays the key=value lines of a language file over `table`, later lines
// winning; the values of a template are unescaped, those of any other file
// taken as they stand. Lines without "=" or with an empty key are skipped.
// False when the file cannot be read (the table is then unchanged).
bool ReadLanguageOverrides(FileSystem& files, std::u16string_view path, StringTable& table);

// The text of a language template for `table`: kLanguageTemplateFirstLine,
// then one escaped key=value line per entry, the known keys first in their
// usual order, any other keys after them sorted.
std::u16string LanguageTemplateText(const StringTable& table);

// Writes LanguageTemplateText as a settings file (byte-order mark, CR LF).
bool WriteLanguageTemplate(FileSystem& files, std::u16string_view path, const StringTable& table);

}  // namespace quillmor
