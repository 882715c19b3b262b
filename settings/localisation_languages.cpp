#include "settings/localisation_languages.h"

#include <algorithm>
#include <mutex>
#include <set>

#include "settings/config_directory.h"
#include "settings/localisation.h"
#include "settings/localisation_files.h"
#include "settings/settings_file.h"

namespace quillmor {
namespace {

constexpr uint32_t kFileAttributeDirectory = 0x10;
constexpr size_t kSavedLanguageLineChars = 256;
constexpr size_t kMaxLanguageCodeChars = 64;

std::mutex g_languagesMutex;
std::vector<AvailableLanguage> g_languages;  // Guarded by g_languagesMutex.

}  // namespace

std::u16string LanguageFolderPath(Env& env) { return JoinPath(ConfigDirectory(env), u"lang"); }

void LoadAvailableLanguages(Env& env) {
  std::vector<AvailableLanguage> languages;
  std::set<std::u16string, std::less<>> seen;
  for (std::u16string_view code : BuiltInLanguageCodes()) {
    const StringTable& table = StringTableOf(code);
    const auto name = table.find(u"Name");
    languages.push_back({std::u16string(code), name != table.end() ? name->second : std::u16string(code)});
    seen.emplace(code);
  }

  const std::u16string folder = LanguageFolderPath(env);
  env.files->CreateDirectory(folder);  // fails harmlessly when it exists
  std::vector<AvailableLanguage> found;
  if (std::unique_ptr<DirectoryLister> lister = env.files->ListDirectory(folder)) {
    DirectoryEntry entry;
    while (lister->Next(entry)) {
      if (entry.info.attributes & kFileAttributeDirectory) continue;
      const std::u16string lower = LowerAscii(entry.name);
      if (lower == u"custom.ini" || lower.ends_with(u".user.ini")) continue;
      const size_t dot = lower.rfind(u'.');
      if (dot == std::u16string::npos || dot == 0 || lower.substr(dot) != u".ini") continue;
      std::u16string code = NormaliseLanguageCode(std::u16string_view(lower).substr(0, dot));
      if (!IsUsableLanguageCode(code) || !seen.insert(code).second) continue;
      std::u16string name = ReadLanguageDisplayName(*env.files, JoinPath(folder, entry.name), code);
      found.push_back({std::move(code), std::move(name)});
    }
  }
  // Directory order differs between file systems; the menu should not.
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.code < b.code; });
  languages.insert(languages.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));

  std::lock_guard lock(g_languagesMutex);
  g_languages = std::move(languages);
}

std::vector<AvailableLanguage> AvailableLanguages() {
  std::lock_guard lock(g_languagesMutex);
  return g_languages;
}

std::u16string ReadSavedLanguage(Env& env) {
  std::vector<std::u16string> lines;
  if (!ReadSettingsLines(*env.files, ConfigFilePath(env, u"language.ini"), kSavedLanguageLineChars, lines)) return {};
  for (const std::u16string& line : lines) {
    std::u16string_view key, value;
    if (!SplitSettingsKeyValue(line, key, value) || key != u"lang") continue;
    return IsUsableLanguageCode(value) ? std::u16string(value) : std::u16string();
  }
  return {};
}

bool IsUsableLanguageCode(std::u16string_view code) {
  if (code.empty() || code.size() > kMaxLanguageCodeChars || code == u"." || code == u"..") return false;
  return std::none_of(code.begin(), code.end(), [](char16_t c) {
    return c < 0x20 || c == 0x7F || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos;
  });
}

}  // namespace quillmor
