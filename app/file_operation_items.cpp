// The results an operation acts on, with their paths resolved at the moment
// of the operation (a rename or a move since the rows were drawn counts).
#include "app/core/operation_items.h"
#include "app/file_operations.h"

namespace quillmor {

std::vector<std::u16string> OperationItems::Paths() const {
  std::vector<std::u16string> paths;
  paths.reserve(items.size());
  for (const OperationItem& item : items) paths.push_back(item.path);
  return paths;
}

OperationItems CollectOperationItems(MainWindow& w) {
  OperationItems out;
  const Results shown = w.list.shown;
  if (!shown) return out;
  for (const int64_t row : OperationRows(w.list.selection, w.list.count)) {
    if (static_cast<size_t>(row) >= shown->size()) continue;
    const MatchItem& item = (*shown)[static_cast<size_t>(row)];
    std::u16string path = item.volume != nullptr ? item.volume->GetFullPath(item.recordIndex) : std::u16string();
    if (path.empty()) {
      ++out.dropped;
      continue;
    }
    out.items.push_back({item, std::move(path)});
  }
  return out;
}

}  // namespace quillmor
