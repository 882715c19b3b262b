#include "platform/posix/posix_system_info.h"

#include <unistd.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "platform/file_name_bytes.h"
#include "platform/utf.h"

namespace quillmor {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ExistingFolder(const std::string& folder, std::u16string& path) {
  if (!IsDirectory(folder)) return false;
  path = FileNameFromBytes(folder);
  return true;
}

}  // namespace

PosixSystemInfo::PosixSystemInfo() {
  const std::string home = Environment("HOME");
  if (!home.empty()) documents_ = home + "/Documents";
  if (!home.empty()) desktop_ = home + "/Desktop";
  // XDG: a relative $XDG_DATA_HOME is invalid and ignored.
  localAppData_ = Environment("XDG_DATA_HOME");
  if (localAppData_.empty() || localAppData_[0] != '/') {
    localAppData_ = home.empty() ? std::string() : home + "/.local/share";
  }
  std::string temp = Environment("TMPDIR");
  if (temp.empty()) temp = "/tmp";
  if (temp.back() != '/') temp += '/';
  tempPath_ = FileNameFromBytes(temp);
  debugOutput_ = std::getenv("QUILLMOR_DEBUG_OUTPUT") != nullptr;
}

bool PosixSystemInfo::DocumentsFolder(std::u16string& path) { return ExistingFolder(documents_, path); }

bool PosixSystemInfo::LocalAppDataFolder(std::u16string& path) { return ExistingFolder(localAppData_, path); }

bool PosixSystemInfo::DesktopFolder(std::u16string& path) { return ExistingFolder(desktop_, path); }

void PosixSystemInfo::DebugOutput(std::string_view text) {
  if (debugOutput_) std::fwrite(text.data(), 1, text.size(), stderr);
}

void PosixSystemInfo::DebugOutput(std::u16string_view text) {
  if (debugOutput_) DebugOutput(std::string_view(Utf16ToUtf8(text)));
}

bool PosixSystemInfo::IsUserAnAdmin() { return geteuid() == 0; }

}  // namespace quillmor
