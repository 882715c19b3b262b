#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/tray_menu_items.h"
#include "tests/app/language_fixture.h"

namespace quillmor {
namespace {

using Kind = MenuEntry::Kind;

// "id:label[*]" for commands (* when checked), "-" for separators,
// "label>" for submenus.
std::vector<std::string> Describe(const std::vector<MenuEntry>& items) {
  std::vector<std::string> out;
  for (const MenuEntry& item : items) {
    const std::string label(item.text.begin(), item.text.end());  // ASCII in these tests
    switch (item.kind) {
      case Kind::kSeparator:
        out.push_back("-");
        break;
      case Kind::kSubmenu:
        out.push_back(label + ">");
        break;
      case Kind::kCommand:
        out.push_back(std::to_string(item.id) + ":" + label + (item.checked ? "*" : ""));
        break;
    }
  }
  return out;
}

using MenuEntrysTest = LanguageTest;

TEST_F(MenuEntrysTest, MenuInItsOrderWithChecksFromTheState) {
  TrayMenuState state;
  state.languageNames = {u"English (US)", u"Deutsch (DE)", u"Mine"};
  state.initialSearch = true;
  state.sidebarLayout = false;
  state.darkTheme = true;
  state.autostart = true;
  const std::vector<MenuEntry> menu = BuildTrayMenu(state);
  EXPECT_EQ(Describe(menu),
            (std::vector<std::string>{"20004:Homepage", "Language>", "Features>", "20005:Run on Startup*",
                                      "20006:Clear Recent Opens", "20001:Show Window",
                                      "20021:Global Memory Trim (toggle)", "-", "20002:Exit"}));
  EXPECT_EQ(Describe(menu[1].children), (std::vector<std::string>{"20100:English (US)", "20101:Deutsch (DE)",
                                                                  "20102:Mine", "-", "20020:Open Language Folder"}));
  EXPECT_EQ(Describe(menu[2].children),
            (std::vector<std::string>{"20012:Initial search (on/off)*", "-", "20008:Filter Layout: Sidebar",
                                      "20009:Filter Layout: Top Bar*", "20022:Result Grid Lines (toggle)",
                                      "20024:Theme: Dark/Light*", "-", "20007:Set Show/Hide Hotkey",
                                      "20023:Set hotkey: foreground app in Explorer"}));
}

TEST_F(MenuEntrysTest, TheOtherChecks) {
  TrayMenuState state;
  state.sidebarLayout = true;
  state.gridLines = true;
  state.globalTrim = true;
  const std::vector<MenuEntry> menu = BuildTrayMenu(state);
  EXPECT_EQ(Describe(menu[2].children)[2], "20008:Filter Layout: Sidebar*");
  EXPECT_EQ(Describe(menu[2].children)[3], "20009:Filter Layout: Top Bar");
  EXPECT_EQ(Describe(menu[2].children)[4], "20022:Result Grid Lines (toggle)*");
  EXPECT_EQ(Describe(menu)[3], "20005:Run on Startup");
  EXPECT_EQ(Describe(menu)[6], "20021:Global Memory Trim (toggle)*");
}

TEST_F(MenuEntrysTest, LanguageCommandsAreBoundedByTheListAndTheLimit) {
  TrayMenuState state;
  state.languageNames.assign(kMaxMenuLanguages + 50, u"x");
  const std::vector<MenuEntry> languages = BuildTrayMenu(state)[1].children;
  ASSERT_EQ(languages.size(), kMaxMenuLanguages + 2);
  EXPECT_EQ(languages[kMaxMenuLanguages - 1].id, 20100 + static_cast<int32_t>(kMaxMenuLanguages) - 1);

  EXPECT_EQ(LanguageIndexOfCommand(20100, 3), 0u);
  EXPECT_EQ(LanguageIndexOfCommand(20102, 3), 2u);
  EXPECT_FALSE(LanguageIndexOfCommand(20103, 3).has_value());
  EXPECT_FALSE(LanguageIndexOfCommand(20099, 3).has_value());
  EXPECT_FALSE(LanguageIndexOfCommand(20100 + static_cast<int32_t>(kMaxMenuLanguages), 1000).has_value());
}

TEST(TrayCommandTest, IdsOfTheMenuAndNoOthers) {
  for (int32_t id : {20001, 20002, 20004, 20005, 20006, 20007, 20008, 20009, 20012, 20020, 20021, 20022, 20023, 20024,
                     20100, 20299}) {
    EXPECT_TRUE(IsTrayCommand(id)) << id;
  }
  for (int32_t id : {20000, 20003, 20010, 20011, 20013, 20019, 20025, 20099, 20300, 10016}) {
    EXPECT_FALSE(IsTrayCommand(id)) << id;
  }
}

TEST(TrayCommandTest, ThemeStatusIsNotLocalised) {
  EXPECT_EQ(ThemeStatusText(true), u"主题：暗色");
  EXPECT_EQ(ThemeStatusText(false), u"主题：亮色");
}

}  // namespace
}  // namespace quillmor
