// Pieces of the window still to come: each is replaced by its own file.
#include "app/main_window_handlers.h"

namespace quillmor {

void RefreshFilterBar(MainWindow&) {}
void CancelRename(MainWindow&, bool) {}
void ShowTrayMenu(MainWindow&) {}
void RescaleForDpi(MainWindow& w, uint32_t, uint32_t newDpi) { w.dpi = newDpi; }

// Hooks the result list calls.
void RunFileAction(MainWindow&, int) {}
void StartFileDrag(MainWindow&) {}
void BeginRename(MainWindow&) {}
void PaintFilterSidebar(MainWindow&, HDC) {}
void ScrollFilterSidebarByWheel(MainWindow&, int) {}
void OnSidebarScrollBar(MainWindow&, WPARAM) {}
bool HandleCaptureKey(MainWindow&, UINT, WPARAM) { return false; }
bool HandleCommandKey(MainWindow&, HWND, UINT, WPARAM, LPARAM) { return false; }

}  // namespace quillmor
