#include "app/core/list_context_menu.h"

#include "app/core/command_ids.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

// A command on the rows: greyed when the click hit none.
MenuEntry RowCommand(int32_t id, std::u16string text, bool hitRow) {
  MenuEntry entry = MenuCommand(id, std::move(text));
  entry.grayed = !hitRow;
  return entry;
}

}  // namespace

std::vector<MenuEntry> BuildListContextMenu(const ListMenuState& state) {
  const int32_t view = state.viewMode;
  const int32_t sort = state.sortColumn;
  return {
      RowCommand(kCommandOpen, Translate(u"Menu_Open", u"打开", u"Open"), state.hitRow),
      RowCommand(kCommandCopy, Translate(u"Menu_Copy", u"复制", u"Copy"), state.hitRow),
      RowCommand(kCommandCut, Translate(u"Menu_Cut", u"剪切", u"Cut"), state.hitRow),
      RowCommand(kCommandOpenContainingFolder,
                 Translate(u"Menu_OpenContainingFolder", u"打开所在文件夹", u"Open Containing Folder"), state.hitRow),
      RowCommand(kCommandCopyFullPath, Translate(u"Menu_CopyFullPath", u"复制完整路径", u"Copy Full Path"),
                 state.hitRow),
      RowCommand(kCommandRunAsAdministrator,
                 Translate(u"Menu_RunAsAdmin", u"以管理员身份运行", u"Run as Administrator"), state.hitRow),
      MenuSeparator(),
      RowCommand(kCommandRename, Translate(u"Menu_RenameF2", u"重命名\tF2", u"Rename\tF2"), state.hitRow),
      RowCommand(kCommandRecycle,
                 Translate(u"Menu_MoveToRecycleDelete", u"移到回收站\tDelete", u"Move to Recycle Bin\tDelete"),
                 state.hitRow),
      RowCommand(
          kCommandDeletePermanently,
          Translate(u"Menu_DeletePermanentShiftDelete", u"永久删除\tShift+Delete", u"Delete Permanently\tShift+Delete"),
          state.hitRow),
      MenuSeparator(),
      RowCommand(kCommandSystemContextMenu,
                 Translate(u"Menu_SystemContext", u"系统右键菜单...", u"System Context Menu..."), state.hitRow),
      RowCommand(kCommandProperties, Translate(u"Menu_Properties", u"属性", u"Properties"), state.hitRow),
      MenuSeparator(),
      MenuCommand(kCommandRefreshNonNtfs,
                  Translate(u"Menu_RefreshNonNtfs", u"刷新所有非 NTFS 索引", u"Refresh All Non-NTFS Indexes")),
      MenuSeparator(),
      MenuSubmenu(Translate(u"Menu_View", u"视图", u"View"),
                  {
                      MenuCommand(kCommandViewList, Translate(u"Menu_ViewList", u"列表", u"List"), view == 0),
                      MenuCommand(kCommandViewSmallIcons, Translate(u"Menu_ViewSmallIcons", u"小图标", u"Small Icons"),
                                  view == 1),
                      MenuCommand(kCommandViewLargeIcons, Translate(u"Menu_ViewLargeIcons", u"大图标", u"Large Icons"),
                                  view == 2),
                  }),
      MenuSubmenu(Translate(u"Menu_Sort", u"排序", u"Sort"),
                  {
                      MenuCommand(kCommandSortByName, Translate(u"Menu_SortByName", u"按名称", u"By Name"), sort == 1),
                      MenuCommand(kCommandSortBySize, Translate(u"Menu_SortBySize", u"按大小", u"By Size"), sort == 2),
                      MenuCommand(kCommandSortByModified,
                                  Translate(u"Menu_SortByModified", u"按修改时间", u"By Modified Time"), sort == 3),
                      MenuCommand(kCommandSortByCreated,
                                  Translate(u"Menu_SortByCreated", u"按创建时间", u"By Created Time"), sort == 4),
                      MenuCommand(kCommandSortByPath, Translate(u"Menu_SortByPath", u"按路径", u"By Path"), sort == 5),
                  }),
      MenuSeparator(),
      MenuCommand(kCommandClearRecent, Translate(u"Menu_ClearRecent", u"清除最近打开记录", u"Clear Recent Opens")),
      MenuCommand(kCommandLayoutSidebar,
                  Translate(u"Menu_FilterLayoutSidebar", u"筛选布局：侧边栏", u"Filter Layout: Sidebar"),
                  state.sidebarLayout),
      MenuCommand(kCommandLayoutTopBar,
                  Translate(u"Menu_FilterLayoutTopbar", u"筛选布局：顶栏", u"Filter Layout: Top Bar"),
                  !state.sidebarLayout),
      MenuCommand(kCommandGridLines,
                  Translate(u"Menu_ResultGridLinesToggle", u"结果网格线（开/关）", u"Result Grid Lines (toggle)"),
                  state.gridLines),
      MenuCommand(kCommandInitialSearch,
                  Translate(u"Menu_InitialSearchToggle", u"拼音首字母搜索（开/关）", u"Initial search (on/off)"),
                  state.initialSearch),
      MenuCommand(kCommandOpenFilterConfig,
                  Translate(u"Menu_OpenFilterConfig", u"打开筛选配置文件夹", u"Open Filter Config Folder")),
      MenuCommand(kCommandResetFilterTags,
                  Translate(u"Menu_ResetFilterTags", u"将筛选标签恢复为默认", u"Reset Filter Tags to Defaults")),
  };
}

}  // namespace quillmor
