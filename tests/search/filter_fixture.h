// The set-up the filter tests share: the in-memory settings platform of the
// settings tests (configuration directory
// C:\Users\ada\Documents\Quillmor\config) and a way to make a built-in
// language current without any language file.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "search/filter_state.h"
#include "search/filter_tag.h"
#include "settings/localisation.h"
#include "tests/settings/settings_fixture.h"

namespace quillmor {

// Makes a built-in language current, as applying it without any file of the
// user's would; an empty code leaves no language current.
inline void UseLanguage(std::u16string_view code, const StringTable* overrides = nullptr) {
  if (code.empty()) {
    InstallActiveLanguage(u"", nullptr, false);
    return;
  }
  auto table = std::make_shared<StringTable>(StringTableOf(code));
  if (overrides != nullptr) {
    for (const auto& [key, text] : *overrides) table->insert_or_assign(key, text);
  }
  const bool chinese = CountsAsChinese(*table, code);
  InstallActiveLanguage(std::u16string(code), std::move(table), chinese);
}

class FilterTest : public SettingsTest {
 protected:
  FilterTest() { UseLanguage(u"en-us"); }
  ~FilterTest() override { UseLanguage(u""); }

  // Tags written compactly, one per line as "name=ext,ext".
  static std::string Describe(const FilterTagList& tags) {
    std::string text;
    for (const FilterTag& tag : tags) {
      text += Utf16ToUtf8(tag.name) + "=";
      for (size_t i = 0; i < tag.extensions.size(); ++i) text += (i ? "," : "") + Utf16ToUtf8(tag.extensions[i]);
      text += "\n";
    }
    return text;
  }
  std::string CurrentTags() { return Describe(*state.Tags()); }

  FilterState state;
};

// The English defaults as Describe shows them.
inline constexpr std::string_view kEnglishDefaults =
    "All Files=\n"
    "Folders=.dir\n"
    "Documents=.doc,.docx,.pdf,.txt,.xls,.xlsx,.ppt,.pptx,.md,.csv\n"
    "Images=.jpg,.jpeg,.png,.gif,.bmp,.webp,.ico,.svg,.tif,.psd\n"
    "Archives=.zip,.rar,.7z,.tar,.gz,.iso,.cab\n"
    "Applications=.exe,.msi,.bat,.cmd,.dll,.sys,.ps1\n"
    "Videos=.mp4,.mkv,.avi,.mov,.wmv,.flv,.rmvb,.m3u8\n"
    "Audio=.mp3,.wav,.flac,.aac,.ogg,.m4a\n";

}  // namespace quillmor
