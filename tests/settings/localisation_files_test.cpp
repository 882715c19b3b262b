#include "settings/localisation_files.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/sim/test_env.h"
#include "platform/utf.h"
#include "settings/config_directory.h"
#include "settings/localisation_languages.h"
#include "settings/settings_file.h"
#include "tests/settings/small_memory_files.h"

namespace quillmor {
namespace {

using namespace std::literals;

class LanguageFilesTest : public ::testing::Test {
 protected:
  LanguageFilesTest() {
    t.env.files = &files;
    t.system.documents = u"C:\\Docs";
  }
  std::u16string Lang(std::u16string_view name) { return JoinPath(LanguageFolderPath(t.env), name); }
  void PutLang(std::u16string_view name, std::string_view utf8) {
    files.AddDirectory(LanguageFolderPath(t.env));
    files.Put(Lang(name), utf8);
  }
  StringTable Overrides(std::string_view utf8) {
    files.Put(u"C:\\o.ini", utf8);
    StringTable table;
    EXPECT_TRUE(ReadLanguageOverrides(files, u"C:\\o.ini", table));
    return table;
  }

  TestEnv t;
  SmallMemoryFiles files;
};

TEST_F(LanguageFilesTest, BuiltInLanguagesComeFirstThenTheFolderLanguagesByCode) {
  PutLang(u"pt-br.ini", "# Portuguese\nName = \"Português (Brasil)\"\nMenu_Open=Abrir\n");
  PutLang(u"AA.INI", "Menu_Open=Open in Afar\n");  // no name: the code names it
  PutLang(u"custom.ini", "Name=Custom\n");
  PutLang(u"Custom.INI", "Name=Custom\n");
  PutLang(u"fr-fr.user.ini", "Name=Mine\n");
  PutLang(u"pt-br.user.ini", "Name=Mine\n");
  PutLang(u"de.ini", "Name=Again German\n");  // "de" is de-de, which is built in
  PutLang(u"notes.txt", "Name=Notes\n");
  PutLang(u".ini", "Name=Nothing\n");
  files.AddDirectory(Lang(u"folder.ini"));

  LoadAvailableLanguages(t.env);
  const std::vector<AvailableLanguage> languages = AvailableLanguages();
  std::vector<std::string> shown;
  for (const auto& l : languages) shown.push_back(Utf16ToUtf8(l.code) + "=" + Utf16ToUtf8(l.displayName));
  const std::vector<std::string> expected = {
      "zh-cn=简体中文",
      "en-us=English (US)",
      "de-de=Deutsch (DE)",
      "ja-jp=日本語",
      "fr-fr=Français",
      "ko-kr=한국어",
      "es-es=Español",
      "ru-ru=Русский",
      "no-no=Norsk",
      "ar-sa=العربية",
      "aa=aa",
      "pt-br=Português (Brasil)",
  };
  EXPECT_EQ(shown, expected);
}

TEST_F(LanguageFilesTest, MissingLanguageFolderIsCreatedAndOnlyBuiltInsListed) {
  LoadAvailableLanguages(t.env);
  EXPECT_TRUE(files.HasDirectory(LanguageFolderPath(t.env)));
  EXPECT_EQ(AvailableLanguages().size(), 10u);
}

TEST_F(LanguageFilesTest, DisplayNameSkipsCommentsLinesWithoutEqualsAndEmptyNames) {
  const struct {
    std::string_view content;
    std::u16string_view name;
  } cases[] = {
      {"#Name=Commented\nName\nName =  \nNAME='Klingon'\nName=Later\n", u"Klingon"},
      {"Name=\"\"\nname=x\n", u"x"},                    // quotes around nothing: still empty
      {"Name=\"a'\n", u"\"a'"},                         // mismatched quotes stay
      {"Name='\n", u"'"},                               // one character is never unquoted
      {"Nam=e\nName==x\n", u"=x"},                      // split at the first "="
      {"\xEF\xBB\xBFName=Bom\n", u"Bom"},               // byte-order mark
      {"\xFF\xFEN\0a\0m\0e\0=\0\x16\x04\n\0"sv, u"Ж"},  // UTF-16 little-endian
      {"", u"xx-yy"},
      {"Menu_Open=Open\n", u"xx-yy"},
  };
  for (const auto& c : cases) {
    files.Put(u"C:\\n.ini", c.content);
    EXPECT_EQ(ReadLanguageDisplayName(files, u"C:\\n.ini", u"xx-yy"), c.name) << c.content;
  }
  EXPECT_EQ(ReadLanguageDisplayName(files, u"C:\\missing.ini", u"xx-yy"), u"xx-yy");
}

TEST_F(LanguageFilesTest, OverridesIgnoreCommentsAndLinesWithoutEquals) {
  const StringTable table = Overrides(
      "# Menu_Copy=Commented\n"
      "Menu_Cut Cut it\n"
      "  #Menu_Open=Indented comment\n"
      "=no key\n"
      "Menu_View = 'Look' \n"
      "Menu_Sort=First\r\n"
      "Menu_Sort=Second\r\n"
      "Msg_Two=line one\\nline two\\\\n\n"
      "Msg_Path=C:\\temp\\x\n"
      "Msg_Spaces=\" keep \"\n"
      "Msg_Empty=\n");
  const StringTable expected = {
      {u"Menu_View", u"Look"},       {u"Menu_Sort", u"Second"},  {u"Msg_Two", u"line one\\nline two\\\\n"},
      {u"Msg_Path", u"C:\\temp\\x"}, {u"Msg_Spaces", u" keep "}, {u"Msg_Empty", u""},
  };
  EXPECT_EQ(table, expected);
}

// Every override file had "\n" and "\\" decoded, so a user's "C:\new folder"
// came out as "C:" and a line break. Only the templates this program writes
// are escaped, and they say so in their first line.
TEST_F(LanguageFilesTest, UserFilesKeepTheirBackslashesAndTemplatesTheirEscapes) {
  struct Case {
    const char* name;
    std::string file;
    std::u16string value;
    std::u16string displayName;
  };
  const std::string firstLine = Utf16ToUtf8(kLanguageTemplateFirstLine);
  const Case cases[] = {
      {"a user's file", "Msg_Path=C:\\new folder\\\\share\nName=N\\name\n", u"C:\\new folder\\\\share", u"N\\name"},
      {"a user's file with a comment", "# my texts\nMsg_Path=C:\\new folder\nName=N\\name\n", u"C:\\new folder",
       u"N\\name"},
      {"a template of an older form", "# Auto-generated language template\nMsg_Path=a\\nb\nName=N\\name\n", u"a\\nb",
       u"N\\name"},
      {"a template this program wrote",
       "\xEF\xBB\xBF" + firstLine + "\r\nName=N\\name\r\nMsg_Path=C:\\\\new\\nline\r\n", u"C:\\new\nline", u"N\name"},
      {"its line not first", "Name=x\\n\n" + firstLine + "\nMsg_Path=C:\\new\n", u"C:\\new", u"x\\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Overrides(c.file).at(u"Msg_Path"), c.value);
    files.Put(u"C:\\n.ini", c.file);
    EXPECT_EQ(ReadLanguageDisplayName(files, u"C:\\n.ini", u"xx"), c.displayName);
  }
}

// A language file that is a link to /dev/zero, or any huge file, was read
// until memory ran out: past the cap it is unreadable and the table stays.
TEST_F(LanguageFilesTest, FileOverTheCapIsUnreadable) {
  std::string huge = "Menu_Open=Huge\n";
  huge.resize(kMaxSettingsFileBytes + 1, ' ');
  files.Put(u"C:\\o.ini", huge);
  StringTable table = {{u"Menu_Open", u"Open"}};
  EXPECT_FALSE(ReadLanguageOverrides(files, u"C:\\o.ini", table));
  EXPECT_EQ(table.at(u"Menu_Open"), u"Open");
  EXPECT_EQ(ReadLanguageDisplayName(files, u"C:\\o.ini", u"xx-yy"), u"xx-yy");
}

TEST_F(LanguageFilesTest, OverridesOfMissingFileLeaveTheTable) {
  StringTable table = {{u"Menu_Open", u"Open"}};
  EXPECT_FALSE(ReadLanguageOverrides(files, u"C:\\none.ini", table));
  EXPECT_EQ(table.size(), 1u);
}

// A line longer than the reader's buffer arrives in pieces; the second piece
// is a line of its own (here without "=", so it is dropped).
TEST_F(LanguageFilesTest, OverlongLineIsCutAtTheBuffer) {
  const std::string value(5000, 'v');
  const StringTable table = Overrides("Long=" + value + "\nNext=ok\n");
  EXPECT_EQ(table.at(u"Long").size(), kOverrideLineChars - 1 - 5);
  EXPECT_EQ(table.at(u"Next"), u"ok");
  EXPECT_EQ(table.size(), 2u);
}

// Templates are read back as overrides on every language switch: texts with
// line breaks or blanks at either end must come back exactly, or every
// message with a second paragraph loses it and "Refreshed " + count runs
// into its number.
TEST_F(LanguageFilesTest, TemplateOfEveryBuiltInTableReadsBackUnchanged) {
  for (std::u16string_view code : BuiltInLanguageCodes()) {
    const StringTable& table = StringTableOf(code);
    ASSERT_TRUE(WriteLanguageTemplate(files, u"C:\\t.ini", table));
    StringTable reread;
    ASSERT_TRUE(ReadLanguageOverrides(files, u"C:\\t.ini", reread));
    EXPECT_EQ(reread, table) << Utf16ToUtf8(code);
  }
}

TEST_F(LanguageFilesTest, TemplateStartsWithItsCommentAndListsKeysInOrder) {
  const StringTable table = {{u"Zed_Extra", u"z"}, {u"Menu_Open", u"Open"}, {u"Name", u"N"}, {u"Abc_Extra", u"a"}};
  EXPECT_EQ(LanguageTemplateText(table),
            std::u16string(kLanguageTemplateFirstLine) + u"\nName=N\nMenu_Open=Open\nAbc_Extra=a\nZed_Extra=z\n");
  EXPECT_EQ(kLanguageTemplateFirstLine,
            u"# Auto-generated language template: a line break is written as \\n, a backslash as \\\\");
  ASSERT_TRUE(WriteLanguageTemplate(files, u"C:\\t.ini", table));
  std::string bytes;
  files.Get(u"C:\\t.ini", bytes);
  EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF# Auto-generated language template: "));
  EXPECT_NE(bytes.find("\r\nName=N\r\n"), bytes.npos);
}

TEST(LanguageValueTest, EncodingRoundTripsAwkwardTexts) {
  const std::u16string_view texts[] = {
      u"",     u" lead", u"trail ",       u"\"quoted\"",  u"'single'", u"\"",    u"'",   u"a\\nb",
      u"C:\\", u"\\",    u"two\n\nlines", u"\r\nwindows", u"tab\t",    u"#hash", u"a=b", u"\"x'",
  };
  for (std::u16string_view text : texts) {
    const std::u16string encoded = EncodeLanguageValue(text);
    EXPECT_EQ(encoded.find(u'\n'), encoded.npos);
    EXPECT_EQ(DecodeLanguageValue(UnquoteLanguageValue(encoded)), text) << Utf16ToUtf8(text);
  }
}

TEST_F(LanguageFilesTest, SavedLanguageIsTheFirstLangLine) {
  const struct {
    std::string_view content;
    std::u16string_view saved;
  } cases[] = {
      {"lang=de-de\n", u"de-de"},
      {"\xEF\xBB\xBF  lang =  fr-fr \r\n", u"fr-fr"},
      {"Lang=de-de\nlanguage=ja-jp\n", u""},
      {"x=1\nlang=ko-kr\nlang=ru-ru\n", u"ko-kr"},
      {"lang=\n", u""},
      {"lang=pt-br\n", u"pt-br"},
      // It names files the program writes: no way out of the folder.
      {"lang=..\\..\\Windows\\x\n", u""},
      {"lang=C:evil\n", u""},
      {"lang=..\n", u""},
      {"lang=a/b\n", u""},
      {"lang", u""},
  };
  for (const auto& c : cases) {
    files.Put(ConfigFilePath(t.env, u"language.ini"), c.content);
    EXPECT_EQ(ReadSavedLanguage(t.env), c.saved) << c.content;
  }
  files.DeleteFile(ConfigFilePath(t.env, u"language.ini"));
  EXPECT_EQ(ReadSavedLanguage(t.env), u"");
}

}  // namespace
}  // namespace quillmor
