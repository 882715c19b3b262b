#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "settings/hotkey_settings.h"
#include "settings/recent_opens.h"
#include "settings/window_settings.h"
#include "tests/settings/settings_fixture.h"

namespace quillmor {
namespace {

using SettingsFileTest = SettingsTest;

std::vector<std::string> Utf8Lines(const std::vector<std::u16string>& lines) {
  std::vector<std::string> out;
  for (const auto& line : lines) out.push_back(Utf16ToUtf8(line));
  return out;
}

TEST_F(SettingsFileTest, LinesAreTrimmedAndEmptyOnesDropped) {
  files.AddFile(u"C:\\a.ini", "\xEF\xBB\xBF  key = value \r\n\r\n\t\n last\tline\r\n   ");
  std::vector<std::u16string> lines;
  ASSERT_TRUE(ReadSettingsLines(files, u"C:\\a.ini", 256, lines));
  EXPECT_EQ(Utf8Lines(lines), (std::vector<std::string>{"key = value", "last\tline"}));
}

TEST_F(SettingsFileTest, OnlyALeadingByteOrderMarkIsSkipped) {
  files.AddFile(u"C:\\a.ini",
                "a=1\n\xEF\xBB\xBF"
                "b=2\n");
  std::vector<std::u16string> lines;
  ASSERT_TRUE(ReadSettingsLines(files, u"C:\\a.ini", 256, lines));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], u"\uFEFFb=2");
}

TEST_F(SettingsFileTest, LongLinesComeInPiecesOfTheBufferSizeLessOne) {
  // A buffer of 8 holds 7 characters: "abcdefghij" is read as "abcdefg" and
  // "hij"; a line of exactly 7 leaves its line end for the next read, which
  // is then empty and dropped.
  files.AddFile(u"C:\\a.ini", "abcdefghij\n1234567\nxyz");
  std::vector<std::u16string> lines;
  ASSERT_TRUE(ReadSettingsLines(files, u"C:\\a.ini", 8, lines));
  EXPECT_EQ(Utf8Lines(lines), (std::vector<std::string>{"abcdefg", "hij", "1234567", "xyz"}));
}

TEST_F(SettingsFileTest, PiecesCountUtf16UnitsNotBytes) {
  files.AddFile(u"C:\\a.ini", "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97\n");  // three CJK characters, 9 bytes
  std::vector<std::u16string> lines;
  ASSERT_TRUE(ReadSettingsLines(files, u"C:\\a.ini", 4, lines));
  EXPECT_EQ(lines, (std::vector<std::u16string>{u"中文字"}));
}

TEST_F(SettingsFileTest, MissingFileGivesNoLines) {
  std::vector<std::u16string> lines{u"stale"};
  EXPECT_FALSE(ReadSettingsLines(files, u"C:\\missing.ini", 256, lines));
  EXPECT_TRUE(lines.empty());
}

TEST_F(SettingsFileTest, FileCutInsideACharacterStillReads) {
  files.AddFile(u"C:\\a.ini", "a=1\nname=\xE4\xB8\xAD");
  files.CutShortOnRead(u"C:\\a.ini", 11);  // one byte of the last character missing
  std::vector<std::u16string> lines;
  ASSERT_TRUE(ReadSettingsLines(files, u"C:\\a.ini", 256, lines));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], u"name=\uFFFD");
}

TEST_F(SettingsFileTest, WrittenFilesStartWithAByteOrderMarkAndUseCrLf) {
  ASSERT_TRUE(WriteSettingsFile(files, u"C:\\a.ini", u"a=1\nb=中\n"));
  EXPECT_EQ(files.Contents(u"C:\\a.ini"),
            "\xEF\xBB\xBF"
            "a=1\r\nb=\xE4\xB8\xAD\r\n");
}

TEST_F(SettingsFileTest, WriteFailsWhereTheFolderRefuses) {
  files.RefuseWritesUnder(u"C:\\locked");
  files.AddDirectories(u"C:\\locked");
  EXPECT_FALSE(WriteSettingsFile(files, u"C:\\locked\\a.ini", u"a=1\n"));
  EXPECT_FALSE(WriteSettingsFile(files, u"C:\\no such folder\\a.ini", u"a=1\n"));
}

// A settings file that is a link to /dev/zero, or any huge file, was read
// until memory ran out. Past the cap a file counts as unreadable.
TEST_F(SettingsFileTest, FileOverTheCapIsUnreadable) {
  std::string content = "a=1\n";
  content.resize(kMaxSettingsFileBytes, ' ');
  files.AddFile(u"C:\\a.ini", content);
  std::vector<std::u16string> lines;
  ASSERT_TRUE(ReadSettingsLines(files, u"C:\\a.ini", 256, lines));
  EXPECT_EQ(lines.front(), u"a=1");
  files.AddFile(u"C:\\a.ini", content + " ");
  EXPECT_FALSE(ReadSettingsLines(files, u"C:\\a.ini", 256, lines));
  EXPECT_TRUE(lines.empty());

  PutConfigFile(u"window.ini", "width=1200\n" + std::string(kMaxSettingsFileBytes, '\n'));
  WindowSettings window;
  LoadWindowSettings(env, 96, window);
  EXPECT_EQ(window.width, WindowSettings{}.width);
}

// Settings files were truncated and rewritten: a crash or a full disk left a
// cut file. Each is now written beside and moved over the old one, which a
// failed write leaves as it was.
TEST_F(SettingsFileTest, FailedWriteLeavesTheOldFileWhole) {
  struct Case {
    const char16_t* name;
    std::function<bool()> save;
  };
  RecentOpenList recent;
  const Case cases[] = {
      {u"window.ini",
       [&] {
         WindowSettings settings;
         return SaveWindowSettings(env, 96, LiveWindowValues{.normalWidth = 1000, .normalHeight = 600}, settings);
       }},
      {u"hotkey.ini", [&] { return SaveHotkeySettings(env, HotkeySettings{}); }},
      {u"recent.ini", [&] { return recent.Save(env); }},
  };
  files.AddDirectories(kConfigDir);
  recent.RecordOpen(env, std::nullopt, u"C:\\new.txt");
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.name));
    const std::string old = "\xEF\xBB\xBFold=content of the previous save\r\n";
    files.AddFile(ConfigFile(c.name), old);
    files.FailNextWrites(1);  // the disk fills up half-way through
    EXPECT_FALSE(c.save());
    EXPECT_EQ(files.Contents(ConfigFile(c.name)), old);
    EXPECT_FALSE(files.Exists(ConfigFile(c.name) + u".tmp"));
    EXPECT_TRUE(c.save());
    EXPECT_NE(files.Contents(ConfigFile(c.name)), old);
  }
}

TEST(SettingsKeyValueTest, SplitsAtTheFirstEqualsSign) {
  std::u16string_view key, value;
  ASSERT_TRUE(SplitSettingsKeyValue(u" a b = c = d ", key, value));
  EXPECT_EQ(key, u"a b");
  EXPECT_EQ(value, u"c = d");
  ASSERT_TRUE(SplitSettingsKeyValue(u"=", key, value));
  EXPECT_EQ(key, u"");
  EXPECT_EQ(value, u"");
  EXPECT_FALSE(SplitSettingsKeyValue(u"no equals sign", key, value));
}

TEST(SettingsNumberTest, SignedAsWcstol) {
  const struct {
    std::u16string_view text;
    int32_t expected;
  } cases[] = {
      {u"42", 42},
      {u"  42", 42},
      {u"+7", 7},
      {u"-7", -7},
      {u"12abc", 12},
      {u"abc", 0},
      {u"", 0},
      {u"-", 0},
      {u"0x10", 0},
      {u"2147483647", INT_MAX},
      {u"2147483648", INT_MAX},
      {u"-2147483648", INT_MIN},
      {u"-99999999999999999999999", INT_MIN},
      {u"\u0661", 0},  // Arabic-Indic one is no digit here
  };
  for (const auto& c : cases) EXPECT_EQ(ParseSettingsInt(c.text), c.expected) << Utf16ToUtf8(c.text);
}

TEST(SettingsNumberTest, UnsignedAsWcstoul) {
  EXPECT_EQ(ParseSettingsUnsigned(u"90"), 90u);
  EXPECT_EQ(ParseSettingsUnsigned(u"-1"), 4294967295u);
  EXPECT_EQ(ParseSettingsUnsigned(u"4294967296"), 4294967295u);
  EXPECT_EQ(ParseSettingsUnsigned64(u"18446744073709551615"), UINT64_MAX);
  EXPECT_EQ(ParseSettingsUnsigned64(u"18446744073709551616"), UINT64_MAX);
  EXPECT_EQ(ParseSettingsUnsigned64(u"12 and more"), 12u);
}

TEST(SettingsBoolTest, OnlyZeroFalseAndOffAreFalse) {
  const struct {
    std::u16string_view text;
    bool expected;
  } cases[] = {
      {u"0", false},   {u"false", false}, {u"FALSE", false}, {u"off", false}, {u"Off", false},   {u"1", true},
      {u"true", true}, {u"no", true},     {u"", true},       {u"00", true},   {u"false ", true},  // values arrive
                                                                                                  // trimmed; inner text
                                                                                                  // is compared whole
  };
  for (const auto& c : cases) EXPECT_EQ(ParseSettingsBool(c.text), c.expected) << Utf16ToUtf8(c.text);
}

}  // namespace
}  // namespace quillmor
