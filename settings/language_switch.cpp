#include "settings/language_switch.h"

#include <memory>

#include "settings/config_directory.h"
#include "settings/localisation.h"
#include "settings/localisation_files.h"
#include "settings/localisation_languages.h"
#include "settings/settings_file.h"

namespace quillmor {
namespace {

constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;

}  // namespace

void WriteMissingLanguageTemplates(Env& env) {
  const std::u16string folder = LanguageFolderPath(env);
  env.files->CreateDirectory(folder);  // fails harmlessly when it exists
  for (std::u16string_view code : BuiltInLanguageCodes()) {
    const std::u16string path = JoinPath(folder, std::u16string(code) + u".ini");
    // Only a file that is not there at all gets a template: one that exists but
    // cannot be read now (locked, no permission) is still the user's.
    if (env.files->GetFileAttributes(path) != kInvalidFileAttributes) continue;
    WriteLanguageTemplate(*env.files, path, StringTableOf(code));
  }
}

std::u16string MakeLanguageCurrent(Env& env, std::u16string_view code) {
  WriteMissingLanguageTemplates(env);

  std::u16string current = NormaliseLanguageCode(code);
  if (!IsUsableLanguageCode(current)) current = u"en-us";

  auto table = std::make_shared<StringTable>(StringTableOf(current));
  const std::u16string folder = LanguageFolderPath(env);
  env.files->CreateDirectory(folder);
  for (const std::u16string& name : {current + u".ini", current + u".user.ini", std::u16string(u"custom.ini")}) {
    ReadLanguageOverrides(*env.files, JoinPath(folder, name), *table);
  }
  const bool chinese = CountsAsChinese(*table, current);
  InstallActiveLanguage(current, std::move(table), chinese);

  WriteSettingsFile(*env.files, ConfigFilePath(env, u"language.ini"), u"lang=" + current + u"\n");
  return current;
}

std::u16string StartupLanguageCode(Env& env, bool systemLanguageIsChinese) {
  std::u16string saved = ReadSavedLanguage(env);
  if (!saved.empty()) return saved;
  return systemLanguageIsChinese ? u"zh-cn" : u"en-us";
}

}  // namespace quillmor
