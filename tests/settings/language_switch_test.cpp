#include "settings/language_switch.h"

#include <gtest/gtest.h>

#include "settings/localisation.h"
#include "settings/localisation_files.h"
#include "settings/localisation_languages.h"
#include "settings/settings_file.h"
#include "tests/settings/settings_fixture.h"

namespace quillmor {
namespace {

class LanguageSwitchTest : public SettingsTest {
 protected:
  ~LanguageSwitchTest() override { InstallActiveLanguage(u"", nullptr, false); }

  std::u16string Lang(std::u16string_view name) { return JoinPath(LanguageFolderPath(env), name); }
  void PutLang(std::u16string_view name, std::string_view text) { files.AddFile(Lang(name), text); }
  std::u16string Active(std::u16string_view key) {
    const std::shared_ptr<const StringTable> table = ActiveStringTable();
    const auto it = table->find(key);
    return it == table->end() ? u"<none>" : it->second;
  }
};

TEST_F(LanguageSwitchTest, TemplatesOfAllTenLanguagesRoundTripThroughApply) {
  MakeLanguageCurrent(env, u"en-us");
  for (std::u16string_view code : BuiltInLanguageCodes()) {
    SCOPED_TRACE(Utf16ToUtf8(code));
    // The template alone holds every text of the built-in table, line breaks
    // and all.
    StringTable fromTemplate;
    ASSERT_TRUE(ReadLanguageOverrides(files, Lang(std::u16string(code) + u".ini"), fromTemplate));
    EXPECT_EQ(fromTemplate, StringTableOf(code));
    // Applied again, laid over the built-in table, it changes nothing.
    EXPECT_EQ(MakeLanguageCurrent(env, code), code);
    EXPECT_EQ(*ActiveStringTable(), StringTableOf(code));
  }
}

TEST_F(LanguageSwitchTest, DeletedTemplateIsRecreatedAndEditedOneIsKeptAndUsed) {
  MakeLanguageCurrent(env, u"en-us");
  ASSERT_TRUE(files.DeleteFile(Lang(u"fr-fr.ini")));
  PutLang(u"de-de.ini", "Menu_Open=Aufmachen\n");
  MakeLanguageCurrent(env, u"de-de");
  EXPECT_TRUE(files.Exists(Lang(u"fr-fr.ini")));
  EXPECT_EQ(ReadableText(Lang(u"de-de.ini")), "Menu_Open=Aufmachen\n");
  EXPECT_EQ(Active(u"Menu_Open"), u"Aufmachen");
  EXPECT_EQ(Active(u"Filter.2"), StringTableOf(u"de-de").at(u"Filter.2"));  // the rest stays built in
}

TEST_F(LanguageSwitchTest, UserFilesAreLaidOverInOrder) {
  files.AddDirectories(LanguageFolderPath(env));
  PutLang(u"en-us.ini", "A=from code\nB=from code\nC=from code\n");
  PutLang(u"en-us.user.ini", "B = 'from user'\nC=from user\n# C=comment\nC from nowhere\n");
  PutLang(u"custom.ini",
          "\xEF\xBB\xBF"
          "C=\"  from custom  \"\r\n");
  PutLang(u"de-de.user.ini", "A=another language\n");
  MakeLanguageCurrent(env, u"EN");
  EXPECT_EQ(CurrentLanguageCode(), u"en-us");
  EXPECT_EQ(Active(u"A"), u"from code");
  EXPECT_EQ(Active(u"B"), u"from user");
  EXPECT_EQ(Active(u"C"), u"  from custom  ");
}

TEST_F(LanguageSwitchTest, ChineseFlagFromTheTableOrTheCode) {
  MakeLanguageCurrent(env, u"zh-cn");
  EXPECT_TRUE(IsChineseLanguage());
  MakeLanguageCurrent(env, u"en-us");
  EXPECT_FALSE(IsChineseLanguage());

  PutLang(u"custom.ini", "LanguageIsChinese = YES\n");
  MakeLanguageCurrent(env, u"en-us");
  EXPECT_TRUE(IsChineseLanguage());
  EXPECT_EQ(Translate(u"No_Such_Key_Anywhere", u"中文", u"English"), u"中文");

  PutLang(u"custom.ini", "LanguageIsChinese = maybe\n");
  MakeLanguageCurrent(env, u"zh-cn");
  EXPECT_FALSE(IsChineseLanguage());
}

TEST_F(LanguageSwitchTest, LanguageWithoutTableRunsOnEnglishWithItsOwnFile) {
  files.AddDirectories(LanguageFolderPath(env));
  PutLang(u"pt-br.ini", "Name=Português\nMenu_Open=Abrir\n");
  EXPECT_EQ(MakeLanguageCurrent(env, u" PT-BR "), u"pt-br");
  EXPECT_EQ(Active(u"Menu_Open"), u"Abrir");
  EXPECT_EQ(Active(u"Menu_Exit"), StringTableOf(u"en-us").at(u"Menu_Exit"));
  EXPECT_FALSE(IsChineseLanguage());
  EXPECT_FALSE(files.Exists(Lang(u"pt-br.user.ini")));  // only built-in languages get templates
}

TEST_F(LanguageSwitchTest, ChoiceIsRememberedInLanguageIni) {
  MakeLanguageCurrent(env, u"de");
  EXPECT_EQ(ReadableText(ConfigFile(u"language.ini")), "lang=de-de\n");
  EXPECT_EQ(ReadSavedLanguage(env), u"de-de");
  EXPECT_EQ(StartupLanguageCode(env, true), u"de-de");
}

TEST_F(LanguageSwitchTest, StartupLanguageWithoutSavedChoiceFollowsTheSystem) {
  EXPECT_EQ(StartupLanguageCode(env, true), u"zh-cn");
  EXPECT_EQ(StartupLanguageCode(env, false), u"en-us");
  PutConfigFile(u"language.ini", "lang=..\\..\\x\n");
  EXPECT_EQ(StartupLanguageCode(env, false), u"en-us");
}

TEST_F(LanguageSwitchTest, CodeThatCouldNameAFileElsewhereBecomesEnglish) {
  EXPECT_EQ(MakeLanguageCurrent(env, u"..\\..\\Windows\\evil"), u"en-us");
  EXPECT_EQ(CurrentLanguageCode(), u"en-us");
  EXPECT_EQ(MakeLanguageCurrent(env, u""), u"en-us");
  for (const std::u16string& path : files.AllPaths()) {
    EXPECT_EQ(Utf16ToUtf8(path).find("evil"), std::string::npos) << Utf16ToUtf8(path);
  }
}

TEST_F(LanguageSwitchTest, HostileLanguageFilesAreTakenQuietly) {
  files.AddDirectories(LanguageFolderPath(env));
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>(i * 37 % 256));
  PutLang(u"en-us.ini", garbage);
  std::string huge(100'000, 'k');
  huge.append("=v\nMenu_Open=").append(9000, 'o').append("\n");
  PutLang(u"en-us.user.ini", huge);
  const char utf16[] = "\xFF\xFEM\0e\0n\0u\0_\0E\0x\0i\0t\0=\0Q\0\n";  // an odd length
  PutLang(u"custom.ini", std::string(utf16, sizeof utf16 - 1));
  files.AddDirectories(Lang(u"fr-fr.ini"));  // a folder where a template would go
  MakeLanguageCurrent(env, u"en-us");
  EXPECT_EQ(CurrentLanguageCode(), u"en-us");
  EXPECT_EQ(Active(u"Menu_Exit"), u"Q");
  // Every key of the table is still there, whatever the files did.
  for (std::u16string_view key : LocalisationKeys()) EXPECT_NE(Active(key), u"<none>") << Utf16ToUtf8(key);
  EXPECT_TRUE(files.IsDirectory(Lang(u"fr-fr.ini")));
}

// Templates and language.ini were truncated and rewritten in place: a write
// cut short by a full disk left a cut zh-cn.ini, which, being there, was never
// written again and loaded as overrides on every later start.
TEST_F(LanguageSwitchTest, WriteCutShortLeavesNoCutFile) {
  files.AddDirectories(LanguageFolderPath(env));
  PutConfigFile(u"language.ini", "lang=fr-fr\n");
  files.FailNextWrites(1);  // the first template, zh-cn's
  MakeLanguageCurrent(env, u"en-us");
  EXPECT_FALSE(files.Exists(Lang(u"zh-cn.ini")));
  EXPECT_FALSE(files.Exists(Lang(u"zh-cn.ini.tmp")));
  MakeLanguageCurrent(env, u"zh-cn");
  EXPECT_EQ(*ActiveStringTable(), StringTableOf(u"zh-cn"));
  StringTable fromTemplate;
  ASSERT_TRUE(ReadLanguageOverrides(files, Lang(u"zh-cn.ini"), fromTemplate));
  EXPECT_EQ(fromTemplate, StringTableOf(u"zh-cn"));

  files.FailNextWrites(1);  // language.ini now: every template exists
  MakeLanguageCurrent(env, u"de-de");
  EXPECT_EQ(ReadableText(ConfigFile(u"language.ini")), "lang=zh-cn\n");
  EXPECT_FALSE(files.Exists(ConfigFile(u"language.ini.tmp")));
}

TEST_F(LanguageSwitchTest, ReadOnlyConfigurationStillSwitches) {
  files.AddDirectories(kConfigDir);
  files.RefuseWritesUnder(kConfigDir);
  EXPECT_EQ(MakeLanguageCurrent(env, u"ja-jp"), u"ja-jp");
  EXPECT_EQ(*ActiveStringTable(), StringTableOf(u"ja-jp"));
  EXPECT_EQ(ReadableText(ConfigFile(u"language.ini")), "<missing>");
}

}  // namespace
}  // namespace quillmor
