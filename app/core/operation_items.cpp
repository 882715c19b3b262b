#include "app/core/operation_items.h"

#include "index/ascii_case.h"

namespace quillmor {

std::vector<int64_t> OperationRows(const ListSelection& selection, int64_t rowCount) {
  std::vector<int64_t> rows;
  for (const int64_t row : selection.SelectedRows()) {
    if (row >= 0 && row < rowCount) rows.push_back(row);
  }
  if (rows.empty() && selection.Empty()) {
    const int64_t focused = selection.Focused();
    if (focused >= 0 && focused < rowCount) rows.push_back(focused);
  }
  return rows;
}

std::u16string_view FolderOfPath(std::u16string_view path) {
  const size_t slash = path.rfind(u'\\');
  return slash == std::u16string_view::npos ? std::u16string_view{} : path.substr(0, slash + 1);
}

std::vector<size_t> ItemsInFirstFolder(std::span<const std::u16string> paths) {
  std::vector<size_t> items;
  if (paths.empty()) return items;
  const std::u16string_view folder = FolderOfPath(paths.front());
  for (size_t i = 0; i < paths.size(); ++i) {
    if (EqualIgnoringAsciiCase(FolderOfPath(paths[i]), folder)) items.push_back(i);
  }
  return items;
}

}  // namespace quillmor
