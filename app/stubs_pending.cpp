// Pieces of the window still to come: each is replaced by its own file.
#include "app/main_window_handlers.h"

namespace quillmor {

void RequestVisibleThumbnailHydrationAsync(MainWindow&) {}
void CancelRename(MainWindow&, bool) {}
void FreeIconCache(MainWindow&) {}
void ShowTrayMenu(MainWindow&) {}
bool HandleWindowKey(MainWindow&, HWND, UINT, WPARAM, LPARAM) { return false; }
void LayOutList(MainWindow& w) { SetListScrollRange(w); }
void OnListVScroll(MainWindow& w, WPARAM wParam, HWND bar) {
  if (bar != nullptr && bar == w.controls.sidebarScroll) OnSidebarScrollBar(w, wParam);
}
void ForgetListHover(MainWindow& w) { w.list.hovered = -1; }

}  // namespace quillmor
