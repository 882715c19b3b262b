// Pieces of the window still to come: each is replaced by its own file.
#include "app/main_window_handlers.h"

namespace quillmor {

void CancelRename(MainWindow&, bool) {}

// Hooks the result list calls.
void RunFileAction(MainWindow&, int) {}
void StartFileDrag(MainWindow&) {}
void BeginRename(MainWindow&) {}
bool HandleCommandKey(MainWindow&, HWND, UINT, WPARAM, LPARAM) { return false; }

}  // namespace quillmor
