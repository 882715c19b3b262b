#include "app/core/command_ids.h"

namespace quillmor {

std::optional<FileAction> FileActionOfCommand(int32_t id) {
  switch (id) {
    case kCommandOpen:
      return FileAction::kOpen;
    case kCommandOpenContainingFolder:
      return FileAction::kOpenContainingFolder;
    case kCommandDeletePermanently:
      return FileAction::kDeletePermanently;
    case kCommandRunAsAdministrator:
      return FileAction::kRunAsAdministrator;
    case kCommandCopyFullPath:
      return FileAction::kCopyFullPath;
    case kCommandProperties:
      return FileAction::kProperties;
    case kCommandCopy:
      return FileAction::kCopyFiles;
    case kCommandCut:
      return FileAction::kCutFiles;
    case kCommandRecycle:
      return FileAction::kRecycle;
    default:
      return std::nullopt;
  }
}

std::optional<int32_t> ViewModeOfCommand(int32_t id) {
  if (id < kCommandViewList || id > kCommandViewLargeIcons) return std::nullopt;
  return id - kCommandViewList;
}

std::optional<int32_t> SortColumnOfCommand(int32_t id) {
  if (id < kCommandSortByName || id > kCommandSortByPath) return std::nullopt;
  return id - kCommandSortByName + 1;
}

}  // namespace quillmor
