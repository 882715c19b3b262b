#include "app/core/command_keys.h"

namespace quillmor {

CommandKey DecideCommandKey(uint32_t virtualKey, bool ctrl, KeyFocus focus) {
  if (virtualKey == kKeyF2) return focus == KeyFocus::kRenameEdit ? CommandKey::kNone : CommandKey::kRename;
  // The other keys edit text wherever text is typed.
  if (focus != KeyFocus::kList) return CommandKey::kNone;
  switch (virtualKey) {
    case kKeyEnter:
      return CommandKey::kOpen;
    case kKeyDelete:
      return CommandKey::kRecycle;
    case 'C':
      return ctrl ? CommandKey::kCopy : CommandKey::kNone;
    case 'X':
      return ctrl ? CommandKey::kCut : CommandKey::kNone;
    case 'D':
      return ctrl ? CommandKey::kDeletePermanently : CommandKey::kNone;
    default:
      return CommandKey::kNone;
  }
}

}  // namespace quillmor
