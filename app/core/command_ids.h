// The commands of the result list's context menu, which also reach the main
// window as WM_COMMAND with the same ids, and the file actions they run.
#pragma once

#include <cstdint>
#include <optional>

namespace quillmor {

// The file actions, numbered as the window runs them.
enum class FileAction : int32_t {
  kOpenContainingFolder = 0,
  kOpen = 1,
  kDeletePermanently = 2,
  kCopyFullPath = 3,
  kCopyFiles = 4,
  kCutFiles = 5,
  kRunAsAdministrator = 6,
  kProperties = 7,
  kRecycle = 8,
};
inline constexpr int32_t kFileActionCount = 9;

enum ListCommand : int32_t {
  kCommandOpen = 10001,
  kCommandOpenContainingFolder = 10002,
  kCommandDeletePermanently = 10003,
  kCommandRunAsAdministrator = 10004,
  kCommandCopyFullPath = 10005,
  kCommandProperties = 10006,
  kCommandOpenFilterConfig = 10007,
  kCommandResetFilterTags = 10008,
  kCommandCopy = 10009,
  kCommandCut = 10010,
  kCommandClearRecent = 10011,
  kCommandRecycle = 10013,
  kCommandRename = 10014,
  kCommandRefreshNonNtfs = 10015,
  kCommandLayoutSidebar = 10016,
  kCommandLayoutTopBar = 10017,
  kCommandViewList = 10018,
  kCommandViewSmallIcons = 10019,
  kCommandViewLargeIcons = 10020,
  kCommandSortByName = 10021,
  kCommandSortBySize = 10022,
  kCommandSortByModified = 10023,
  kCommandSortByCreated = 10024,
  kCommandSortByPath = 10025,
  kCommandSystemContextMenu = 10026,
  kCommandGridLines = 10027,
  kCommandInitialSearch = 10028,
};

// The file action a command runs (10001 to 10006, 10009, 10010, 10013).
std::optional<FileAction> FileActionOfCommand(int32_t id);
// The view mode (0 list, 1 small icons, 2 large icons) of 10018 to 10020.
std::optional<int32_t> ViewModeOfCommand(int32_t id);
// The sort column (1 name to 5 path) of 10021 to 10025.
std::optional<int32_t> SortColumnOfCommand(int32_t id);

}  // namespace quillmor
