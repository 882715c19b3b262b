#include "settings/perf_log.h"

#include <mutex>
#include <string>

#include "settings/config_directory.h"
#include "settings/log_file.h"

namespace quillmor {
namespace {

std::mutex g_perfLogMutex;

}  // namespace

void LogMetric(Env& env, std::u16string_view text) {
  std::lock_guard lock(g_perfLogMutex);
  const std::u16string path = ConfigFilePath(env, u"perf_metrics.log");
  std::u16string line = LogTimeStamp(env.clock->LocalNow());
  line += text;
  AppendLogLine(*env.files, path, line);
}

}  // namespace quillmor
