// The main window's key table: the keys that act on the results, and where
// the focus must not be for each. In a text box (the search box, the custom
// size edit) Enter, Delete and Ctrl+C, X, D edit the text; F2 renames from
// anywhere but the rename edit itself.
#pragma once

#include <cstdint>

namespace quillmor {

// Virtual-key codes of the keys in the table.
inline constexpr uint32_t kKeyEnter = 0x0D;
inline constexpr uint32_t kKeyDelete = 0x2E;
inline constexpr uint32_t kKeyF2 = 0x71;

// Where the key came from.
enum class KeyFocus {
  kList,        // the main window itself: the result list has the focus
  kSearchBox,   // the search box
  kRenameEdit,  // the inline rename's edit
  kOtherEdit,   // another text box of the window (the custom size)
};

enum class CommandKey {
  kNone,  // default processing
  kOpen,
  kRename,
  kRecycle,  // Delete, with or without Shift
  kCopy,
  kCut,
  kDeletePermanently,  // Ctrl+D
};

CommandKey DecideCommandKey(uint32_t virtualKey, bool ctrl, KeyFocus focus);

}  // namespace quillmor
