// A Win32 popup menu from the portable menu data, for both of the window's
// menus.
#pragma once

#include <vector>

#include "app/core/menu_entry.h"
#include "app/win32_app.h"

namespace quillmor {

// The popup (the caller destroys it), or null when the system would not make
// one; a submenu the system would not make is left out.
HMENU CreateMenuPopup(const std::vector<MenuEntry>& entries);

}  // namespace quillmor
