#include "settings/config_directory.h"

#include "settings/settings_file.h"

namespace quillmor {
namespace {

// Creates parent and directory, ignoring errors (an existing one is fine).
std::u16string MakeUnder(Env& env, std::u16string_view parent) {
  env.files->CreateDirectory(parent);
  std::u16string directory = JoinPath(parent, u"config");
  env.files->CreateDirectory(directory);
  return directory;
}

// Set once, before any thread starts, by a tool that names its own directory.
std::u16string g_override;

}  // namespace

void SetConfigDirectoryOverride(std::u16string directory) { g_override = std::move(directory); }

std::u16string ConfigDirectory(Env& env) {
  if (!g_override.empty()) {
    env.files->CreateDirectory(g_override);
    return g_override;
  }
  std::u16string base;
  if (env.system->DocumentsFolder(base) || env.system->LocalAppDataFolder(base)) {
    return MakeUnder(env, JoinPath(base, u"Quillmor"));
  }
  // GetTempPathW's answer ends in a backslash already; MAX_PATH bounds it.
  const std::u16string temp = env.system->TempPath();
  if (!temp.empty() && temp.size() < 260) return MakeUnder(env, temp + u"Quillmor");
  return u"C:\\Quillmor\\config";
}

std::u16string ConfigFilePath(Env& env, std::u16string_view name) { return JoinPath(ConfigDirectory(env), name); }

}  // namespace quillmor
