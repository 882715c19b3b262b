// The notification icon's menu: its commands, their order, labels and check
// marks. The window builds the popup from this list and runs the command
// chosen (or one sent as WM_COMMAND with the same id).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/core/menu_entry.h"

namespace quillmor {

enum TrayCommand : int32_t {
  kTrayShowWindow = 20001,
  kTrayExit = 20002,
  kTrayHomepage = 20004,
  kTrayAutostart = 20005,
  kTrayClearRecent = 20006,
  kTraySetHotkey = 20007,
  kTrayLayoutSidebar = 20008,
  kTrayLayoutTopBar = 20009,
  kTrayInitialSearch = 20012,
  kTrayOpenLanguageFolder = 20020,
  kTrayGlobalTrim = 20021,
  kTrayGridLines = 20022,
  kTraySetForegroundHotkey = 20023,
  kTrayTheme = 20024,
  kTrayFirstLanguage = 20100,  // language i is 20100 + i
};

// The Language submenu lists at most this many languages (the "lang" folder
// is the user's and may hold any number of files).
inline constexpr size_t kMaxMenuLanguages = 200;

// The product's home page (the menu's "Homepage").
inline constexpr char16_t kHomepageUrl[] = u"https://quillmor.app";

// What the check marks and the language list show.
struct TrayMenuState {
  std::vector<std::u16string> languageNames;  // display names, in menu order
  bool initialSearch = false;
  bool sidebarLayout = true;
  bool gridLines = false;
  bool darkTheme = false;
  bool autostart = false;
  bool globalTrim = false;
};

// The menu, labels localised: Homepage; Language (the languages, a
// separator, Open Language Folder); Features (Initial search, a separator,
// the two filter layouts, grid lines, theme, a separator, the two hotkey
// captures); Run on Startup; Clear Recent Opens; Show Window; Global Memory
// Trim; a separator; Exit. The language names show letter for letter.
std::vector<MenuEntry> BuildTrayMenu(const TrayMenuState& state);

// The language index of a command id, when it is one of the `languageCount`
// language commands.
std::optional<size_t> LanguageIndexOfCommand(int32_t id, size_t languageCount);

// Whether `id` is a command of this menu (languages included, up to the
// limit).
bool IsTrayCommand(int32_t id);

// The status line after the theme switched; not localised.
std::u16string ThemeStatusText(bool dark);

}  // namespace quillmor
