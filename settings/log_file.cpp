#include "settings/log_file.h"

#include <cstdio>

#include "platform/utf.h"
#include "settings/settings_file.h"

namespace quillmor {

std::u16string LogTimeStamp(const LocalTime& t) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "[%04u-%02u-%02u %02u:%02u:%02u.%03u] ", unsigned{t.year}, unsigned{t.month},
                unsigned{t.day}, unsigned{t.hour}, unsigned{t.minute}, unsigned{t.second}, unsigned{t.milliseconds});
  return U16(stamp);
}

bool AppendLogLine(FileSystem& files, std::u16string_view path, std::u16string_view line) {
  std::string bytes = TextModeUtf8(line);
  bytes += "\r\n";
  FileInfo info;
  if (!files.GetFileInfo(path, info) || info.size == 0) bytes.insert(0, "\xEF\xBB\xBF");
  return files.AppendFile(path, bytes);
}

}  // namespace quillmor
