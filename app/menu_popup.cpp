#include "app/menu_popup.h"

namespace quillmor {

HMENU CreateMenuPopup(const std::vector<MenuEntry>& entries) {
  const HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return nullptr;
  for (const MenuEntry& entry : entries) {
    switch (entry.kind) {
      case MenuEntry::Kind::kSeparator:
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        break;
      case MenuEntry::Kind::kSubmenu:
        if (const HMENU submenu = CreateMenuPopup(entry.children)) {
          AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu), W(entry.text));
        }
        break;
      case MenuEntry::Kind::kCommand:
        AppendMenuW(menu,
                    MF_STRING | (entry.grayed ? MF_GRAYED : MF_ENABLED) | (entry.checked ? MF_CHECKED : MF_UNCHECKED),
                    static_cast<UINT_PTR>(entry.id), W(entry.text));
        break;
    }
  }
  return menu;
}

}  // namespace quillmor
