// Pieces of the window still to come: each is replaced by its own file.
#include "app/main_window_handlers.h"

namespace quillmor {

void ShowTrayMenu(MainWindow&) {}

// Hooks the result list calls.
bool HandleCaptureKey(MainWindow&, UINT, WPARAM) { return false; }

}  // namespace quillmor
