// The result list's right-click menu as a table: its entries in order, their
// texts and their states for the window's current settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/core/menu_entry.h"

namespace quillmor {

// What the menu reflects.
struct ListMenuState {
  bool hitRow = false;  // the click hit a row: the item commands are enabled
  int32_t viewMode = 0;
  int32_t sortColumn = -1;  // 1 name .. 5 path while sorted, else -1
  bool sidebarLayout = true;
  bool gridLines = false;
  bool initialSearch = true;
};

// Open, Copy, Cut, Open Containing Folder, Copy Full Path, Run as
// Administrator; Rename, Move to Recycle Bin, Delete Permanently; System
// Context Menu, Properties (all greyed without a row); Refresh All Non-NTFS
// Indexes; the View and Sort submenus (the current mode and sort column
// checked); Clear Recent Opens, the two filter layouts, grid lines and
// initial search (checked as they are), Open Filter Config Folder and Reset
// Filter Tags to Defaults.
std::vector<MenuEntry> BuildListContextMenu(const ListMenuState& state);

}  // namespace quillmor
