// Switching the theme and the filter layout while the window runs.
#include "app/main_window_handlers.h"
#include "app/themed_controls.h"

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

}  // namespace quillmor
