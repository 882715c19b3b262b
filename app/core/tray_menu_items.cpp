#include "app/core/tray_menu_items.h"

#include <algorithm>

#include "settings/localisation.h"

namespace quillmor {
namespace {

std::vector<MenuEntry> LanguageItems(const TrayMenuState& state) {
  std::vector<MenuEntry> items;
  const size_t count = std::min(state.languageNames.size(), kMaxMenuLanguages);
  for (size_t i = 0; i < count; ++i) {
    items.push_back(MenuCommand(kTrayFirstLanguage + static_cast<int32_t>(i), LiteralMenuText(state.languageNames[i])));
  }
  items.push_back(MenuSeparator());
  items.push_back(MenuCommand(kTrayOpenLanguageFolder,
                              Translate(u"Menu_OpenLanguageFolder", u"打开语言文件夹", u"Open Language Folder")));
  return items;
}

std::vector<MenuEntry> FeatureItems(const TrayMenuState& state) {
  return {
      MenuCommand(kTrayInitialSearch,
                  Translate(u"Menu_InitialSearchToggle", u"拼音首字母搜索（开/关）", u"Initial search (on/off)"),
                  state.initialSearch),
      MenuSeparator(),
      MenuCommand(kTrayLayoutSidebar,
                  Translate(u"Menu_FilterLayoutSidebar", u"筛选布局：侧边栏", u"Filter Layout: Sidebar"),
                  state.sidebarLayout),
      MenuCommand(kTrayLayoutTopBar,
                  Translate(u"Menu_FilterLayoutTopbar", u"筛选布局：顶栏", u"Filter Layout: Top Bar"),
                  !state.sidebarLayout),
      MenuCommand(kTrayGridLines,
                  Translate(u"Menu_ResultGridLinesToggle", u"结果网格线（开/关）", u"Result Grid Lines (toggle)"),
                  state.gridLines),
      MenuCommand(kTrayTheme, Translate(u"Menu_ThemeToggle", u"主题：暗色/亮色", u"Theme: Dark/Light"),
                  state.darkTheme),
      MenuSeparator(),
      MenuCommand(kTraySetHotkey, Translate(u"Menu_SetHotkey", u"设置显示/隐藏快捷键", u"Set Show/Hide Hotkey")),
      MenuCommand(kTraySetForegroundHotkey,
                  Translate(u"Menu_SetHotkeyForegroundExe", u"设置快捷键：在资源管理器中定位前台程序",
                            u"Set hotkey: foreground app in Explorer")),
  };
}

}  // namespace

std::vector<MenuEntry> BuildTrayMenu(const TrayMenuState& state) {
  return {
      MenuCommand(kTrayHomepage, Translate(u"Menu_Homepage", u"主页", u"Homepage")),
      MenuSubmenu(Translate(u"Menu_Language", u"语言", u"Language"), LanguageItems(state)),
      MenuSubmenu(Translate(u"Menu_Features", u"功能", u"Features"), FeatureItems(state)),
      MenuCommand(kTrayAutostart, Translate(u"Menu_AutoStart", u"开机启动", u"Run on Startup"), state.autostart),
      MenuCommand(kTrayClearRecent, Translate(u"Menu_ClearRecent", u"清除最近打开记录", u"Clear Recent Opens")),
      MenuCommand(kTrayShowWindow, Translate(u"Menu_ShowMainWindow", u"显示窗口", u"Show Window")),
      MenuCommand(kTrayGlobalTrim,
                  Translate(u"Menu_GlobalTrimToggle", u"全局内存整理（开/关）", u"Global Memory Trim (toggle)"),
                  state.globalTrim),
      MenuSeparator(),
      MenuCommand(kTrayExit, Translate(u"Menu_Exit", u"退出", u"Exit")),
  };
}

std::optional<size_t> LanguageIndexOfCommand(int32_t id, size_t languageCount) {
  if (id < kTrayFirstLanguage) return std::nullopt;
  const auto index = static_cast<size_t>(id - kTrayFirstLanguage);
  if (index >= std::min(languageCount, kMaxMenuLanguages)) return std::nullopt;
  return index;
}

bool IsTrayCommand(int32_t id) {
  switch (id) {
    case kTrayShowWindow:
    case kTrayExit:
    case kTrayHomepage:
    case kTrayAutostart:
    case kTrayClearRecent:
    case kTraySetHotkey:
    case kTrayLayoutSidebar:
    case kTrayLayoutTopBar:
    case kTrayInitialSearch:
    case kTrayOpenLanguageFolder:
    case kTrayGlobalTrim:
    case kTrayGridLines:
    case kTraySetForegroundHotkey:
    case kTrayTheme:
      return true;
    default:
      return LanguageIndexOfCommand(id, kMaxMenuLanguages).has_value();
  }
}

std::u16string ThemeStatusText(bool dark) { return dark ? u"主题：暗色" : u"主题：亮色"; }

}  // namespace quillmor
