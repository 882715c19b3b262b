// Folder paths as the user types them, and the test of whether a path lies
// inside a folder. Case is ignored as the Windows C runtime ignores it in the
// "C" locale: 'A'..'Z' only.
#pragma once

#include <string>
#include <string_view>

namespace quillmor {

// A typed folder path made comparable: trimmed of space, tab, CR and LF;
// one pair of enclosing double or single quotes removed; '/' turned into '\';
// trailing backslashes dropped (a root such as "\" or "C:\" keeps its own);
// and a drive root "C:\" shortened to "C:".
std::u16string NormalizeFolderPath(std::u16string_view path);

// True when `path` is `folder` or lies anywhere below it, ignoring ASCII case;
// a sibling whose name merely begins with the folder's name is not below it.
// Both may use '/' and carry trailing backslashes; "C:\" and "C:" are the
// same folder. False when either is empty.
bool IsUnderFolder(std::u16string_view path, std::u16string_view folder);

}  // namespace quillmor
