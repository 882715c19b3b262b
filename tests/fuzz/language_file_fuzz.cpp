// Language files and language.ini are the user's, edited by hand or by any
// tool: reading their lines, display name and overrides must take any bytes.
// What the reader accepts must also survive being written back as a template
// and read again, as language switching does with every built-in language.
#include <cstdlib>
#include <string>

#include "platform/sim/test_env.h"
#include "platform/utf.h"
#include "settings/config_directory.h"
#include "settings/localisation_files.h"
#include "settings/localisation_languages.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/settings/small_memory_files.h"

using namespace quillmor;

namespace {

// Texts the template cannot carry unchanged: lines past the reader's buffer
// come back in pieces, and a lone surrogate from a UTF-16 file becomes
// U+FFFD in UTF-8.
bool CarriesUnchanged(const StringTable& table) {
  for (const auto& [key, value] : table) {
    if (key.size() + EncodeLanguageValue(value).size() + 1 >= kOverrideLineChars - 1) return false;
    for (const std::u16string* text : {&key, &value}) {
      for (char16_t c : *text) {
        if (c >= 0xD800 && c <= 0xDFFF) return false;
      }
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TestEnv* t = [] {
    auto* env = new TestEnv;
    env->system.documents = u"C:\\Docs";
    return env;
  }();
  SmallMemoryFiles files;
  t->env.files = &files;
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  files.Put(u"C:\\x.ini", bytes);
  ReadLanguageDisplayName(files, u"C:\\x.ini", u"xx");
  StringTable table;
  ReadLanguageOverrides(files, u"C:\\x.ini", table);
  if (CarriesUnchanged(table)) {
    WriteLanguageTemplate(files, u"C:\\t.ini", table);
    StringTable reread;
    ReadLanguageOverrides(files, u"C:\\t.ini", reread);
    if (reread != table) std::abort();
  }

  files.Put(ConfigFilePath(t->env, u"language.ini"), bytes);
  const std::u16string saved = ReadSavedLanguage(t->env);
  if (!saved.empty() && !IsUsableLanguageCode(saved)) std::abort();
  t->env.files = nullptr;
  return 0;
}

std::vector<std::vector<uint8_t>> QuillmorFuzzSeeds() {
  auto seed = [](std::string_view text) { return std::vector<uint8_t>(text.begin(), text.end()); };
  const std::string templateFirstLine = Utf16ToUtf8(kLanguageTemplateFirstLine);
  return {
      seed("\xEF\xBB\xBF" + templateFirstLine +
           "\r\nName=Deutsch\r\nMenu_Open=\"  x \"\r\n"
           "Msg_Two=a\\nb\\\\c\r\n#Name=no\r\nlang=de-de\r\n"),
      seed("# my own texts\nMsg_Path=C:\\new folder\\\\x\n"),
      seed("\xFF\xFEN\0a\0m\0e\0=\0'\0x\0'\0\n\0"),
      seed("lang = ..\\x\nName\n=\n'\n"),
  };
}
