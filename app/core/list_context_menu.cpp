#include "app/core/list_context_menu.h"

#include "app/core/command_ids.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

ListMenuEntry Command(int32_t id, std::u16string text, bool grayed = false, bool checked = false) {
  ListMenuEntry entry;
  entry.id = id;
  entry.text = std::move(text);
  entry.grayed = grayed;
  entry.checked = checked;
  return entry;
}

ListMenuEntry Separator() {
  ListMenuEntry entry;
  entry.kind = ListMenuEntry::Kind::kSeparator;
  return entry;
}

ListMenuEntry Submenu(std::u16string text, std::vector<ListMenuEntry> children) {
  ListMenuEntry entry;
  entry.kind = ListMenuEntry::Kind::kSubmenu;
  entry.text = std::move(text);
  entry.children = std::move(children);
  return entry;
}

}  // namespace

std::vector<ListMenuEntry> BuildListContextMenu(const ListMenuState& state) {
  const bool noRow = !state.hitRow;
  const int32_t view = state.viewMode;
  const int32_t sort = state.sortColumn;
  return {
      Command(kCommandOpen, Translate(u"Menu_Open", u"打开", u"Open"), noRow),
      Command(kCommandCopy, Translate(u"Menu_Copy", u"复制", u"Copy"), noRow),
      Command(kCommandCut, Translate(u"Menu_Cut", u"剪切", u"Cut"), noRow),
      Command(kCommandOpenContainingFolder,
              Translate(u"Menu_OpenContainingFolder", u"打开所在文件夹", u"Open Containing Folder"), noRow),
      Command(kCommandCopyFullPath, Translate(u"Menu_CopyFullPath", u"复制完整路径", u"Copy Full Path"), noRow),
      Command(kCommandRunAsAdministrator, Translate(u"Menu_RunAsAdmin", u"以管理员身份运行", u"Run as Administrator"),
              noRow),
      Separator(),
      Command(kCommandRename, Translate(u"Menu_RenameF2", u"重命名\tF2", u"Rename\tF2"), noRow),
      Command(kCommandRecycle,
              Translate(u"Menu_MoveToRecycleDelete", u"移到回收站\tDelete", u"Move to Recycle Bin\tDelete"), noRow),
      Command(
          kCommandDeletePermanently,
          Translate(u"Menu_DeletePermanentShiftDelete", u"永久删除\tShift+Delete", u"Delete Permanently\tShift+Delete"),
          noRow),
      Separator(),
      Command(kCommandSystemContextMenu,
              Translate(u"Menu_SystemContext", u"系统右键菜单...", u"System Context Menu..."), noRow),
      Command(kCommandProperties, Translate(u"Menu_Properties", u"属性", u"Properties"), noRow),
      Separator(),
      Command(kCommandRefreshNonNtfs,
              Translate(u"Menu_RefreshNonNtfs", u"刷新所有非 NTFS 索引", u"Refresh All Non-NTFS Indexes")),
      Separator(),
      Submenu(Translate(u"Menu_View", u"视图", u"View"),
              {
                  Command(kCommandViewList, Translate(u"Menu_ViewList", u"列表", u"List"), false, view == 0),
                  Command(kCommandViewSmallIcons, Translate(u"Menu_ViewSmallIcons", u"小图标", u"Small Icons"), false,
                          view == 1),
                  Command(kCommandViewLargeIcons, Translate(u"Menu_ViewLargeIcons", u"大图标", u"Large Icons"), false,
                          view == 2),
              }),
      Submenu(Translate(u"Menu_Sort", u"排序", u"Sort"),
              {
                  Command(kCommandSortByName, Translate(u"Menu_SortByName", u"按名称", u"By Name"), false, sort == 1),
                  Command(kCommandSortBySize, Translate(u"Menu_SortBySize", u"按大小", u"By Size"), false, sort == 2),
                  Command(kCommandSortByModified, Translate(u"Menu_SortByModified", u"按修改时间", u"By Modified Time"),
                          false, sort == 3),
                  Command(kCommandSortByCreated, Translate(u"Menu_SortByCreated", u"按创建时间", u"By Created Time"),
                          false, sort == 4),
                  Command(kCommandSortByPath, Translate(u"Menu_SortByPath", u"按路径", u"By Path"), false, sort == 5),
              }),
      Separator(),
      Command(kCommandClearRecent, Translate(u"Menu_ClearRecent", u"清除最近打开记录", u"Clear Recent Opens")),
      Command(kCommandLayoutSidebar,
              Translate(u"Menu_FilterLayoutSidebar", u"筛选布局：侧边栏", u"Filter Layout: Sidebar"), false,
              state.sidebarLayout),
      Command(kCommandLayoutTopBar, Translate(u"Menu_FilterLayoutTopbar", u"筛选布局：顶栏", u"Filter Layout: Top Bar"),
              false, !state.sidebarLayout),
      Command(kCommandGridLines,
              Translate(u"Menu_ResultGridLinesToggle", u"结果网格线（开/关）", u"Result Grid Lines (toggle)"), false,
              state.gridLines),
      Command(kCommandInitialSearch,
              Translate(u"Menu_InitialSearchToggle", u"拼音首字母搜索（开/关）", u"Initial search (on/off)"), false,
              state.initialSearch),
      Command(kCommandOpenFilterConfig,
              Translate(u"Menu_OpenFilterConfig", u"打开筛选配置文件夹", u"Open Filter Config Folder")),
      Command(kCommandResetFilterTags,
              Translate(u"Menu_ResetFilterTags", u"将筛选标签恢复为默认", u"Reset Filter Tags to Defaults")),
  };
}

}  // namespace quillmor
