#include "settings/hotkey_settings.h"

#include <gtest/gtest.h>

#include <map>

#include "settings/config_directory.h"
#include "tests/settings/settings_fixture.h"

namespace quillmor {
namespace {

using HotkeySettingsTest = SettingsTest;

TEST_F(HotkeySettingsTest, MissingFileKeepsAltZAndCtrlShiftO) {
  HotkeySettings s;
  LoadHotkeySettings(env, s);
  EXPECT_EQ(s.modifiers, 1u);
  EXPECT_EQ(s.key, 90u);
  EXPECT_EQ(s.fgModifiers, 6u);
  EXPECT_EQ(s.fgKey, 79u);
}

TEST_F(HotkeySettingsTest, SaveWithoutChangesWritesTheFourDefaults) {
  ASSERT_TRUE(SaveHotkeySettings(env, HotkeySettings{}));
  EXPECT_EQ(files.Contents(ConfigFile(u"hotkey.ini")),
            "\xEF\xBB\xBFmodifiers=1\r\nkey=90\r\nfg_modifiers=6\r\nfg_key=79\r\n");
}

TEST_F(HotkeySettingsTest, KeysAbsentFromTheFileKeepTheirValues) {
  PutConfigFile(u"hotkey.ini", "key = 65\n\nfg_modifiers=3\n");
  HotkeySettings s;
  LoadHotkeySettings(env, s);
  EXPECT_EQ(s.modifiers, 1u);
  EXPECT_EQ(s.key, 65u);
  EXPECT_EQ(s.fgModifiers, 3u);
  EXPECT_EQ(s.fgKey, 79u);
}

TEST_F(HotkeySettingsTest, NamesAreExactAndOtherLinesIgnored) {
  PutConfigFile(u"hotkey.ini", "MODIFIERS=3\nkeys=1\nfg_key\n=4\nmodifiers=\nfg_key=x\n");
  HotkeySettings s;
  LoadHotkeySettings(env, s);
  EXPECT_EQ(s.modifiers, 0u);  // "modifiers=" is present and reads as 0
  EXPECT_EQ(s.key, 90u);
  EXPECT_EQ(s.fgModifiers, 6u);
  EXPECT_EQ(s.fgKey, 0u);
}

TEST_F(HotkeySettingsTest, SavedValuesLoadBack) {
  const HotkeySettings custom{2 | 8, 0x70, 1 | 4, '7'};
  ASSERT_TRUE(SaveHotkeySettings(env, custom));
  HotkeySettings loaded;
  LoadHotkeySettings(env, loaded);
  EXPECT_EQ(loaded.modifiers, custom.modifiers);
  EXPECT_EQ(loaded.key, custom.key);
  EXPECT_EQ(loaded.fgModifiers, custom.fgModifiers);
  EXPECT_EQ(loaded.fgKey, custom.fgKey);
}

TEST_F(HotkeySettingsTest, UnwritableFileIsSkipped) {
  ConfigDirectory(env);
  PutConfigFile(u"hotkey.ini", "key=65\n");
  files.RefuseWritesUnder(ConfigFile(u"hotkey.ini"));
  EXPECT_FALSE(SaveHotkeySettings(env, HotkeySettings{}));
  EXPECT_EQ(ReadableText(ConfigFile(u"hotkey.ini")), "key=65\n");
}

// A keyboard that names some keys, as GetKeyNameTextW does.
class NamedKeys : public FakeSystemInfo {
 public:
  std::map<uint32_t, std::u16string> names;
  std::u16string KeyName(uint32_t virtualKey) override {
    const auto it = names.find(virtualKey);
    return it == names.end() ? std::u16string() : it->second;
  }
};

TEST(FormatHotkeyTest, ModifiersInFixedOrderThenTheKeyName) {
  NamedKeys keyboard;
  keyboard.names = {{0x70, u"F1"}, {'Z', u"Z"}, {0x20, u"Space"}};
  const struct {
    uint32_t modifiers, key;
    std::u16string_view expected;
  } cases[] = {
      {1, 'Z', u"Alt+Z"},
      {6, 'O', u"Ctrl+Shift+O"},  // no name: the letter itself
      {15, 0x70, u"Ctrl+Alt+Shift+Win+F1"},
      {8, 0x20, u"Win+Space"},
      {2, '5', u"Ctrl+5"},
      {2, 0x2E, u"Ctrl+Key"},  // no name, not a letter or digit
      {0, 0xBA, u"Key"},
      {16, 'A', u"A"},  // MOD_NOREPEAT and other bits show nothing
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatHotkey(keyboard, c.modifiers, c.key), c.expected) << c.modifiers << " " << c.key;
  }
}

}  // namespace
}  // namespace quillmor
