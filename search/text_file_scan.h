// Reading one plain candidate file and testing its bytes against a content
// query.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/file_system.h"
#include "search/compiled_group.h"
#include "search/search_generation.h"

namespace quillmor {

// Files up to this size are mapped and searched whole.
inline constexpr uint64_t kWholeFileScanLimit = 52428800;  // 50 MiB
// Larger files are read in blocks of this size...
inline constexpr size_t kScanBlockBytes = 4194304;  // 4 MiB
// ...each searched together with at most this many bytes of the block before
// it, so that a term cut by a block boundary is still found.
inline constexpr size_t kMaxCarriedBytes = 1048576;  // 1 MiB

// True when the file at `path` holds the terms of some group (see
// BufferMatchesGroups). False for a network path (starting with two
// backslashes), a file that cannot be opened, mapped or read, an empty file,
// and when the search is cancelled: before opening, before each group and
// term, and before each block of a large file. Adds the bytes it read to
// `bytesRead` when given. Thread-safe for distinct calls.
bool ScanTextFile(FileSystem& files, std::u16string_view path, std::span<const CompiledGroup> groups,
                  Generation generation, uint64_t* bytesRead = nullptr);

}  // namespace quillmor
