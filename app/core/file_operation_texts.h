// What the file operations say in their message boxes, localised.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quillmor {

// Delete permanently asks first ("Confirm Delete"): for one item
// "Permanently delete this file?\n\n" and its path, for several
// "Permanently delete the selected <n> items?".
std::u16string ConfirmDeleteTitle();
std::u16string ConfirmDeleteText(std::span<const std::u16string> paths);

// "Failed to delete <n> selected items."
std::u16string DeleteFailedText(size_t failures);
// Recycling reports no count: "Could not move to the Recycle Bin. Fallback
// deletion also failed."
std::u16string RecycleFailedText();

// "Failed to copy to the clipboard."
std::u16string CopyFailedText();

// "The name contains invalid characters and cannot be used."
std::u16string RenameInvalidCharsText();
// "Rename failed.\nError code: <code>"
std::u16string RenameFailedText(uint32_t errorCode);

}  // namespace quillmor
