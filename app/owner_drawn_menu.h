// Popup menus in the dark theme. The system draws menus in its own light
// colours whatever the window's theme, so in the dark theme every item of a
// popup (and of its submenus) is made owner-drawn before it opens, and the
// main window draws them. In the light theme menus stay the system's own.
// The notification icon's menu and the result list's context menu both open
// through TrackThemedPopupMenu.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"

namespace quillmor {

// What an owner-drawn item remembers of itself (the item's data).
struct MenuItemLook {
  uint32_t marker = 0;  // kMenuItemLookMarker: tells our items from a shell menu's
  std::u16string text;  // "&Open\tEnter": the label, a tab, the shortcut
  bool separator = false;
  bool submenu = false;
  bool radio = false;  // a checked item shows a dot instead of a tick
};
inline constexpr uint32_t kMenuItemLookMarker = 0x4D4C4F4B;

// The items made owner-drawn, for as long as the menu is open. Going out of
// scope gives every item its own type back, so a menu that is shown again
// later never points at data that is gone.
class OwnerDrawnMenu {
 public:
  OwnerDrawnMenu() = default;
  ~OwnerDrawnMenu();
  OwnerDrawnMenu(const OwnerDrawnMenu&) = delete;
  OwnerDrawnMenu& operator=(const OwnerDrawnMenu&) = delete;

  struct Item {
    HMENU menu = nullptr;
    UINT position = 0;
    UINT originalType = 0;
    ULONG_PTR originalData = 0;
    std::unique_ptr<MenuItemLook> look;
  };
  std::vector<Item> items;
};

// Makes every item of `menu` and its submenus owner-drawn with the menu
// brush of the theme when `w` shows the dark theme; nothing in the light
// theme. Keep the result until the menu has closed.
std::unique_ptr<OwnerDrawnMenu> PrepareOwnerDrawnMenu(MainWindow& w, HMENU menu);

// WM_MEASUREITEM / WM_DRAWITEM for menu items: false for items that are not
// ours (the shell's context menu draws its own).
bool MeasureMenuItem(MainWindow& w, MEASUREITEMSTRUCT& measure);
bool DrawMenuItem(MainWindow& w, const DRAWITEMSTRUCT& item);

// TrackPopupMenuEx on the main window with the items prepared as above; the
// command chosen (with TPM_RETURNCMD) or what TrackPopupMenuEx returned.
UINT TrackThemedPopupMenu(MainWindow& w, HMENU menu, UINT flags, int x, int y);

}  // namespace quillmor
