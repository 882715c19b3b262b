// Pieces of the window still to come: each is replaced by its own file.
#include "app/main_window_handlers.h"

namespace quillmor {

void RequestVisibleThumbnailHydrationAsync(MainWindow&) {}
void RefreshFilterBar(MainWindow&) {}
void CancelRename(MainWindow&, bool) {}
void FreeIconCache(MainWindow&) {}
bool HandleWindowKey(MainWindow& w, HWND, UINT message, WPARAM key, LPARAM) {
  return HandleCaptureKey(w, message, key);
}
void SetTheme(MainWindow& w, bool dark) {
  w.app.window.darkTheme = dark;
  SaveWindowSettingsNow(w);
}
void SetFilterLayout(MainWindow& w, bool sidebar) {
  w.app.window.sidebarLayout = sidebar;
  SaveWindowSettingsNow(w);
}
void OnLanguageApplied(MainWindow&, bool) {}
void RescaleForDpi(MainWindow& w, uint32_t, uint32_t newDpi) { w.dpi = newDpi; }

}  // namespace quillmor
