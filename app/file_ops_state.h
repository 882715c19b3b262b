// What the file operations keep between messages: the inline rename and the
// shell's context-menu handler while its menu is open.
#pragma once

#include "app/win32_app.h"
#include "engine/match_item.h"

// The shell's interfaces (<shobjidl.h>), named only by pointer here.
struct IContextMenu2;
struct IContextMenu3;

namespace quillmor {

struct RenameState {
  HWND edit = nullptr;  // at most one rename edit
  MatchItem item;       // the item under rename
  // Set while the rename moves the file and while its own error message may
  // take the focus away, so that the edit's focus loss does not commit again.
  bool committing = false;
};

struct FileOpsState {
  RenameState rename;
  // The shell context menu's handler, held while its menu is open so that the
  // window can hand it the menu messages (the richer interface when it has
  // one). Null otherwise.
  IContextMenu3* shellMenu3 = nullptr;
  IContextMenu2* shellMenu2 = nullptr;
};

}  // namespace quillmor
