#include "settings/perf_log.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/utf.h"
#include "settings/config_directory.h"

namespace quillmor {
namespace {

std::mutex g_perfLogMutex;

}  // namespace

void LogMetric(Env& env, std::u16string_view text) {
  std::lock_guard lock(g_perfLogMutex);
  const std::u16string path = ConfigFilePath(env, u"perf_metrics.log");
  const LocalTime t = env.clock->LocalNow();
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "[%04u-%02u-%02u %02u:%02u:%02u.%03u] ", t.year, t.month, t.day, t.hour, t.minute,
                t.second, t.milliseconds);
  std::string line = stamp;
  line += Utf16ToUtf8(text);
  line += "\r\n";
  // Append mode with UTF-8 encoding starts a new file with a byte-order mark.
  FileInfo info;
  if (!env.files->GetFileInfo(path, info) || info.size == 0) line.insert(0, "\xEF\xBB\xBF");
  env.files->AppendFile(path, line);
}

}  // namespace quillmor
