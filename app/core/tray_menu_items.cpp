#include "app/core/tray_menu_items.h"

#include <algorithm>

#include "settings/localisation.h"

namespace quillmor {
namespace {

TrayMenuItem Command(int32_t id, std::u16string label, bool checked = false) {
  TrayMenuItem item;
  item.id = id;
  item.label = std::move(label);
  item.checked = checked;
  return item;
}

TrayMenuItem Separator() {
  TrayMenuItem item;
  item.kind = TrayMenuItem::Kind::kSeparator;
  return item;
}

TrayMenuItem Submenu(std::u16string label, std::vector<TrayMenuItem> children) {
  TrayMenuItem item;
  item.kind = TrayMenuItem::Kind::kSubmenu;
  item.label = std::move(label);
  item.children = std::move(children);
  return item;
}

std::vector<TrayMenuItem> LanguageItems(const TrayMenuState& state) {
  std::vector<TrayMenuItem> items;
  const size_t count = std::min(state.languageNames.size(), kMaxMenuLanguages);
  for (size_t i = 0; i < count; ++i) {
    items.push_back(Command(kTrayFirstLanguage + static_cast<int32_t>(i), state.languageNames[i]));
  }
  items.push_back(Separator());
  items.push_back(Command(kTrayOpenLanguageFolder,
                          Translate(u"Menu_OpenLanguageFolder", u"打开语言文件夹", u"Open Language Folder")));
  return items;
}

std::vector<TrayMenuItem> FeatureItems(const TrayMenuState& state) {
  return {
      Command(kTrayInitialSearch,
              Translate(u"Menu_InitialSearchToggle", u"拼音首字母搜索（开/关）", u"Initial search (on/off)"),
              state.initialSearch),
      Separator(),
      Command(kTrayLayoutSidebar,
              Translate(u"Menu_FilterLayoutSidebar", u"筛选布局：侧边栏", u"Filter Layout: Sidebar"),
              state.sidebarLayout),
      Command(kTrayLayoutTopBar, Translate(u"Menu_FilterLayoutTopbar", u"筛选布局：顶栏", u"Filter Layout: Top Bar"),
              !state.sidebarLayout),
      Command(kTrayGridLines,
              Translate(u"Menu_ResultGridLinesToggle", u"结果网格线（开/关）", u"Result Grid Lines (toggle)"),
              state.gridLines),
      Command(kTrayTheme, Translate(u"Menu_ThemeToggle", u"主题：暗色/亮色", u"Theme: Dark/Light"), state.darkTheme),
      Separator(),
      Command(kTraySetHotkey, Translate(u"Menu_SetHotkey", u"设置显示/隐藏快捷键", u"Set Show/Hide Hotkey")),
      Command(kTraySetForegroundHotkey,
              Translate(u"Menu_SetHotkeyForegroundExe", u"设置快捷键：在资源管理器中定位前台程序",
                        u"Set hotkey: foreground app in Explorer")),
  };
}

}  // namespace

std::vector<TrayMenuItem> BuildTrayMenu(const TrayMenuState& state) {
  return {
      Command(kTrayHomepage, Translate(u"Menu_Homepage", u"主页", u"Homepage")),
      Submenu(Translate(u"Menu_Language", u"语言", u"Language"), LanguageItems(state)),
      Submenu(Translate(u"Menu_Features", u"功能", u"Features"), FeatureItems(state)),
      Command(kTrayAutostart, Translate(u"Menu_AutoStart", u"开机启动", u"Run on Startup"), state.autostart),
      Command(kTrayClearRecent, Translate(u"Menu_ClearRecent", u"清除最近打开记录", u"Clear Recent Opens")),
      Command(kTrayShowWindow, Translate(u"Menu_ShowMainWindow", u"显示窗口", u"Show Window")),
      Command(kTrayGlobalTrim,
              Translate(u"Menu_GlobalTrimToggle", u"全局内存整理（开/关）", u"Global Memory Trim (toggle)"),
              state.globalTrim),
      Separator(),
      Command(kTrayExit, Translate(u"Menu_Exit", u"退出", u"Exit")),
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
