// The conventions every settings text file shares: UTF-8 with a byte-order
// mark (written always, skipped when read), one setting per line, lines
// trimmed of blanks and split at their first "=".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace quillmor {

// The largest settings, language or filters file read. Real ones hold a few
// kilobytes (recent.ini, the largest, stays near 1 MiB); a larger file is
// taken for damage or a mistake, such as a link to a device, and read as
// unreadable: its defaults stay.
inline constexpr uint64_t kMaxSettingsFileBytes = 4 << 20;

// Reads a settings file as lines, as a reader with a fixed buffer of
// `bufferChars` characters (fgetws) sees them: a line longer than
// bufferChars - 1 comes in pieces. Each line is trimmed; empty lines are
// dropped. False (and no lines) when the file cannot be read or is larger
// than kMaxSettingsFileBytes.
bool ReadSettingsLines(FileSystem& files, std::u16string_view path, size_t bufferChars,
                       std::vector<std::u16string>& lines);

// Writes `text` as a settings file: a byte-order mark, then UTF-8 with each
// "\n" written as "\r\n" (text mode, as Windows programs write), through
// ReplaceFileContents. False when the file cannot be written; the old file
// then stays as it was.
bool WriteSettingsFile(FileSystem& files, std::u16string_view path, std::u16string_view text);

// Writes `bytes` to a temporary file beside `path` (path + ".tmp"), then moves
// it over `path` in one step: a crash or a full disk leaves either the old
// file or the new one, never a cut one. False (the temporary file removed)
// when either step fails.
bool ReplaceFileContents(FileSystem& files, std::u16string_view path, std::string_view bytes);

// `text` as a UTF-8 text-mode stream writes it: each "\n" becomes "\r\n".
std::string TextModeUtf8(std::u16string_view text);

// Blanks are space, tab, carriage return and line feed.
std::u16string_view TrimSettingsBlanks(std::u16string_view text);

// Splits at the first "=" and trims both sides. False when there is no "=".
bool SplitSettingsKeyValue(std::u16string_view line, std::u16string_view& key, std::u16string_view& value);

// Decimal numbers as wcstol, wcstoul and wcstoull read them: leading blanks,
// an optional sign, then the leading digits; no digits gives 0. Out-of-range
// values saturate as those functions do with Windows' 32-bit long.
int32_t ParseSettingsInt(std::u16string_view value);
uint32_t ParseSettingsUnsigned(std::u16string_view value);
uint64_t ParseSettingsUnsigned64(std::u16string_view value);

// "0", "false" and "off" (any case) are false; anything else is true.
bool ParseSettingsBool(std::u16string_view value);

// 'A'..'Z' to 'a'..'z'; other characters are kept.
std::u16string LowerAscii(std::u16string_view text);

// The path of a file in a directory: directory + "\" + name.
std::u16string JoinPath(std::u16string_view directory, std::u16string_view name);

}  // namespace quillmor
