// Copy, Cut and Copy Full Path: what other programs find on the clipboard.
#include <cstring>

#include "app/core/clipboard_formats.h"
#include "app/file_drag_objects.h"
#include "app/file_operations.h"

namespace quillmor {

HGLOBAL GlobalMemoryCopy(const void* data, size_t bytes, UINT flags) {
  const HGLOBAL block = GlobalAlloc(flags, bytes);
  if (block == nullptr) return nullptr;
  void* target = GlobalLock(block);
  if (target == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(target, data, bytes);
  GlobalUnlock(block);
  return block;
}

bool PutFilesOnClipboard(HWND owner, std::span<const std::u16string> paths, uint32_t dropEffect) {
  if (paths.empty() || !OpenClipboard(owner)) return false;
  EmptyClipboard();
  const std::vector<uint8_t> list = DropFilesBlock(paths);
  const HGLOBAL drop = GlobalMemoryCopy(list.data(), list.size(), GMEM_MOVEABLE | GMEM_ZEROINIT);
  // The clipboard owns a block it accepted; one it refused is still ours.
  if (drop == nullptr || SetClipboardData(CF_HDROP, drop) == nullptr) {
    if (drop != nullptr) GlobalFree(drop);
    CloseClipboard();
    return false;
  }
  // Without the effect a paste copies: Cut then only loses its "move".
  const UINT effectFormat = PreferredDropEffectFormat();
  const HGLOBAL effect = GlobalMemoryCopy(&dropEffect, sizeof dropEffect, GMEM_MOVEABLE);
  if (effect != nullptr && (effectFormat == 0 || SetClipboardData(effectFormat, effect) == nullptr)) {
    GlobalFree(effect);
  }
  CloseClipboard();
  return true;
}

void PutPathsOnClipboard(HWND owner, std::span<const std::u16string> paths) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  const std::u16string text = PathListText(paths);
  const HGLOBAL block = GlobalMemoryCopy(text.c_str(), (text.size() + 1) * sizeof(char16_t), GMEM_MOVEABLE);
  if (block != nullptr && SetClipboardData(CF_UNICODETEXT, block) == nullptr) GlobalFree(block);
  CloseClipboard();
}

}  // namespace quillmor
