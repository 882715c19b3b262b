// Pieces of the window still to come: each is replaced by its own file.
#include "app/main_window_handlers.h"

namespace quillmor {

void RequestVisibleThumbnailHydrationAsync(MainWindow&) {}
void RefreshFilterBar(MainWindow&) {}
void CancelRename(MainWindow&, bool) {}
void FreeIconCache(MainWindow&) {}
void ShowTrayMenu(MainWindow&) {}
bool HandleWindowKey(MainWindow&, HWND, UINT, WPARAM, LPARAM) { return false; }
void RescaleForDpi(MainWindow& w, uint32_t, uint32_t newDpi) { w.dpi = newDpi; }

}  // namespace quillmor
