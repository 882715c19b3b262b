// The order in which deleting tries its methods. Each method may fail where
// another succeeds (a non-empty folder defeats the direct delete, a system
// without the file-operation object defeats that one), so every item goes
// down its chain until one method deletes it.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillmor {

enum class DeleteMethod {
  kDirect,         // attributes cleared, then DeleteFileW or RemoveDirectoryW (empty folders only)
  kShell,          // SHFileOperationW FO_DELETE
  kFileOperation,  // the shell's IFileOperation
};

struct DeleteStep {
  DeleteMethod method = DeleteMethod::kDirect;
  bool recycle = false;  // to the Recycle Bin (FOF_ALLOWUNDO)
  bool operator==(const DeleteStep&) const = default;
};

// Delete permanently: the direct delete, the shell and the file operation
// without recycling, then the direct delete once more.
std::span<const DeleteStep> PermanentDeleteSteps();
// Move to the Recycle Bin: the file operation and the shell with recycling,
// then the direct (permanent) delete.
std::span<const DeleteStep> RecycleSteps();

// Tries `steps` in order on `path` until `attempt` succeeds; the index of that
// step, or nothing when every step failed or the path is empty (then nothing
// is tried).
using DeleteAttempt = std::function<bool(const DeleteStep& step, std::u16string_view path)>;
std::optional<size_t> DeleteThroughSteps(std::u16string_view path, std::span<const DeleteStep> steps,
                                         const DeleteAttempt& attempt);

// The outcome of deleting several paths.
struct DeleteOutcome {
  size_t failures = 0;
  std::vector<std::u16string> deleted;  // the paths that went, in order
};
// Every path down its chain; an empty path, or one that defeats every step,
// counts one failure.
DeleteOutcome DeletePaths(std::span<const std::u16string> paths, std::span<const DeleteStep> steps,
                          const DeleteAttempt& attempt);

}  // namespace quillmor
