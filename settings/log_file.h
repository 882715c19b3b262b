// The line format both diagnostic logs share: "[yyyy-mm-dd hh:mm:ss.mmm] "
// in local time, then the text, appended to a UTF-8 file in text mode.
#pragma once

#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace quillmor {

// "[2026-12-03 09:12:00.000] ": the time stamp that starts every log line.
std::u16string LogTimeStamp(const LocalTime& time);

// Appends `line` and a line end. A file that is new (or empty) first gets a
// byte-order mark, as an append-mode UTF-8 stream writes one. False when the
// file cannot be opened or written.
bool AppendLogLine(FileSystem& files, std::u16string_view path, std::u16string_view line);

}  // namespace quillmor
