// Switching the theme, the filter layout, the grid lines and initial search
// while the window runs (from the list's menu and the notification menu).
#include "app/main_window_handlers.h"
#include "app/themed_controls.h"
#include "settings/localisation.h"

namespace quillmor {

void SetTheme(MainWindow& w, bool dark) {
  if (w.theme.Dark() == dark && w.app.window.darkTheme == dark) return;
  w.app.window.darkTheme = dark;
  // CreateTheme deletes the brushes of the old theme: the controls ask for
  // the new ones as they repaint below.
  CreateTheme(w.theme, dark);
  ApplyControlThemes(w);
  SaveWindowSettingsNow(w);
}

void SetFilterLayout(MainWindow& w, bool sidebar) {
  if (w.app.window.sidebarLayout == sidebar) return;
  w.app.window.sidebarLayout = sidebar;
  w.sidebarScroll = 0;
  RelayoutAtCurrentSize(w);
  RefreshFilterBar(w);
  for (HWND button : w.controls.tagButtons) InvalidateRect(button, nullptr, FALSE);
  SaveWindowSettingsNow(w);
}

bool ToggleGridLines(MainWindow& w) {
  bool& on = w.app.window.tableGridLines;
  on = !on;
  SaveWindowSettingsNow(w);
  InvalidateListArea(w);
  return on;
}

void ToggleInitialSearch(MainWindow& w) {
  bool& enabled = w.app.window.initialSearchEnabled;
  enabled = !enabled;
  w.session.initialSearch = enabled;
  SaveWindowSettingsNow(w);
  SetStatus(w, enabled ? Translate(u"Status_InitialSearchOn", u"已开启拼音首字母搜索。", u"Initial search enabled.")
                       : Translate(u"Status_InitialSearchOff", u"已关闭拼音首字母搜索。", u"Initial search disabled."));
}

}  // namespace quillmor
