// Which results an operation acts on, and which of them the shell's context
// menu can take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/list_selection.h"

namespace quillmor {

// The rows an operation acts on: the selected rows in ascending order; with
// none selected, the focused row when it is one of the `rowCount` rows.
std::vector<int64_t> OperationRows(const ListSelection& selection, int64_t rowCount);

// A path's folder: everything up to and including its last "\" (empty when
// it has none).
std::u16string_view FolderOfPath(std::u16string_view path);

// The shell's context menu shows one folder's items: the indices of the paths
// whose folder is the first path's folder ('A'..'Z' case aside), in order.
// Empty for no paths.
std::vector<size_t> ItemsInFirstFolder(std::span<const std::u16string> paths);

}  // namespace quillmor
