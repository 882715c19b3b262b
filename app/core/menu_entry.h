// A popup menu as data: the portable builders of the list's menu and the
// notification menu fill it, and the window turns it into a Win32 menu.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmor {

struct MenuEntry {
  enum class Kind { kCommand, kSeparator, kSubmenu };
  Kind kind = Kind::kCommand;
  int32_t id = 0;  // commands only
  // As the menu takes it: "&" underlines the next letter ("&&" shows one),
  // "\t" sets off the shortcut.
  std::u16string text;
  bool grayed = false;
  bool checked = false;
  std::vector<MenuEntry> children;  // submenus only
};

MenuEntry MenuCommand(int32_t id, std::u16string text, bool checked = false);
MenuEntry MenuSeparator();
MenuEntry MenuSubmenu(std::u16string text, std::vector<MenuEntry> children);

// `text` as the menu shows it letter for letter: each "&" doubled, so that a
// name from a user's file underlines nothing.
std::u16string LiteralMenuText(std::u16string_view text);

}  // namespace quillmor
