#include "settings/message_log.h"

#include <mutex>

#include "platform/utf.h"
#include "settings/log_file.h"

namespace quillmor {
namespace {

// Append mode alone keeps lines whole; the lock also keeps two first writers
// from both starting a new file with a byte-order mark.
std::mutex g_messageLogMutex;

}  // namespace

std::u16string MessageLogPath(Env& env) {
  const std::u16string temp = env.system->TempPath();
  if (temp.empty() || temp.size() >= 260) return u".\\Quillmor_gdi.log";
  return temp + u"Quillmor_gdi.log";
}

void LogMessage(Env& env, std::u16string_view text) {
  std::u16string line = LogTimeStamp(env.clock->LocalNow());
  line += u"GDI=" + U16(std::to_string(env.system->GdiObjectCount()));
  line += u" USER=" + U16(std::to_string(env.system->UserObjectCount())) + u" ";
  line += text;
  const std::u16string path = MessageLogPath(env);
  std::lock_guard lock(g_messageLogMutex);
  AppendLogLine(*env.files, path, line);
}

}  // namespace quillmor
