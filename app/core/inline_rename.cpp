#include "app/core/inline_rename.h"

#include <algorithm>
#include <string>

#include "app/core/list_geometry.h"
#include "search/query_trim.h"

namespace quillmor {

NameSelection RenameSelection(std::u16string_view name, bool isDirectory) {
  if (isDirectory) return {0, name.size()};
  const size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos || dot == 0) return {0, name.size()};
  return {0, dot};
}

bool ContainsInvalidNameChars(std::u16string_view name) {
  return name.find_first_of(u"\\/:*?\"<>|") != std::u16string_view::npos;
}

std::u16string_view TrimRenameText(std::u16string_view text) { return TrimQueryText(text); }

RenameCommit DecideRenameCommit(std::u16string_view text, std::u16string_view oldName) {
  const std::u16string_view name = TrimRenameText(text);
  if (name.empty()) return RenameCommit::kCancel;
  if (ContainsInvalidNameChars(name)) return RenameCommit::kInvalidChars;
  if (name == oldName) return RenameCommit::kCancel;
  return RenameCommit::kRename;
}

std::u16string CaseRenameTemporaryName(std::u16string_view newName, uint32_t attempt) {
  const std::string number = std::to_string(attempt);
  return std::u16string(newName) + u".rename-" + std::u16string(number.begin(), number.end()) + u".tmp";
}

bool ClickStartsRename(const RenameClick& click) {
  if (click.column != kColumnName || click.row < 0) return false;
  if (click.row != click.focusedRow || click.row != click.lastClickedRow) return false;
  if (click.nowMs < click.lastClickMs) return false;
  const uint64_t elapsed = click.nowMs - click.lastClickMs;
  return elapsed >= 500 && elapsed <= 1200;
}

Rect RenameEditRect(int32_t listAreaLeft, int32_t rowNumberWidth, int32_t nameWidth, int32_t horizontalOffset,
                    int32_t rowTop, int32_t rowHeight) {
  const int32_t x = listAreaLeft + rowNumberWidth + 34 - horizontalOffset;
  return RectAt(x, rowTop + 4, std::max(80, nameWidth - 44), std::max(1, rowHeight - 8));
}

}  // namespace quillmor
