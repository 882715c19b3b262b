// The rules of renaming a result in place: when a click starts it, where the
// edit goes, what part of the name is selected, and what a committed text
// leads to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/core/rect.h"

namespace quillmor {

// The part of the name selected when the edit opens, [start, end): for a file
// the name up to its last "." when that dot is not the first character, else
// the whole name; for a directory the whole name.
struct NameSelection {
  size_t start = 0;
  size_t end = 0;
  bool operator==(const NameSelection&) const = default;
};
NameSelection RenameSelection(std::u16string_view name, bool isDirectory);

// Whether `name` holds one of \ / : * ? " < > |.
bool ContainsInvalidNameChars(std::u16string_view name);

enum class RenameCommit {
  kCancel,        // empty, or the old name exactly: nothing to do
  kInvalidChars,  // say so and keep the edit open
  kRename,        // move the file to the new name (a change of case only is one)
};
// What committing `text` does to an item named `oldName`; the new name is
// `text` trimmed of spaces, tabs, CR and LF (TrimRenameText).
RenameCommit DecideRenameCommit(std::u16string_view text, std::u16string_view oldName);
std::u16string_view TrimRenameText(std::u16string_view text);

// Some file systems answer a change of case only with success and keep the
// old name (Wine over a case-sensitive disk does); such a rename is finished
// through this temporary name beside the file, which `attempt` varies when
// the name is taken.
std::u16string CaseRenameTemporaryName(std::u16string_view newName, uint32_t attempt);

// A press on the name column of the row that is both focused and the
// last-clicked row starts the rename when it comes 500 to 1200 ms after the
// previous click (a slower second click than a double click, but not a new
// visit). A press before the previous click counts as none.
struct RenameClick {
  int32_t column = -1;  // the column under the press
  int64_t row = -1;     // the row under the press
  int64_t focusedRow = -1;
  int64_t lastClickedRow = -1;
  uint64_t nowMs = 0;
  uint64_t lastClickMs = 0;
};
bool ClickStartsRename(const RenameClick& click);

// Where the rename edit goes, in device pixels (these offsets are not scaled
// with the DPI): x = list-area left + row-number column width + 34 - the
// horizontal offset, y = row top + 4, width = name column width - 44 but at
// least 80, height = row height - 8 (at least 1).
Rect RenameEditRect(int32_t listAreaLeft, int32_t rowNumberWidth, int32_t nameWidth, int32_t horizontalOffset,
                    int32_t rowTop, int32_t rowHeight);

// The rename opens only on a row wholly in view: its top at or below the
// content top, its bottom at or above the list area's bottom.
constexpr bool RowLiesInView(int64_t rowTop, int32_t rowHeight, int32_t contentTop, int32_t areaBottom) {
  return rowTop >= contentTop && rowTop + rowHeight <= areaBottom;
}

}  // namespace quillmor
