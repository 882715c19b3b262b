#include "app/core/delete_chain.h"

#include <array>

namespace quillmor {
namespace {

constexpr std::array<DeleteStep, 4> kPermanentSteps{{
    {DeleteMethod::kDirect, false},
    {DeleteMethod::kShell, false},
    {DeleteMethod::kFileOperation, false},
    {DeleteMethod::kDirect, false},
}};

constexpr std::array<DeleteStep, 3> kRecycleSteps{{
    {DeleteMethod::kFileOperation, true},
    {DeleteMethod::kShell, true},
    {DeleteMethod::kDirect, false},
}};

}  // namespace

std::span<const DeleteStep> PermanentDeleteSteps() { return kPermanentSteps; }
std::span<const DeleteStep> RecycleSteps() { return kRecycleSteps; }

std::optional<size_t> DeleteThroughSteps(std::u16string_view path, std::span<const DeleteStep> steps,
                                         const DeleteAttempt& attempt) {
  if (path.empty()) return std::nullopt;
  for (size_t i = 0; i < steps.size(); ++i) {
    if (attempt(steps[i], path)) return i;
  }
  return std::nullopt;
}

DeleteOutcome DeletePaths(std::span<const std::u16string> paths, std::span<const DeleteStep> steps,
                          const DeleteAttempt& attempt) {
  DeleteOutcome outcome;
  for (const std::u16string& path : paths) {
    if (DeleteThroughSteps(path, steps, attempt)) {
      outcome.deleted.push_back(path);
    } else {
      ++outcome.failures;
    }
  }
  return outcome;
}

}  // namespace quillmor
