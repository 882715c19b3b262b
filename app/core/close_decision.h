// What WM_CLOSE does: destroy the window (ending the program), or hide it to
// the notification area, resetting the view first when the user closed it
// from the title bar.
#pragma once

namespace quillmor {

enum class CloseAction {
  kDestroy,
  kHideWithViewReset,  // scope "ALL" if it was the desktop, empty search, no selection, top, initial view
  kHide,
};

struct CloseInput {
  bool exitRequested = false;  // the tray menu's exit
  bool trayIconPresent = false;
  bool engineReady = false;
  bool closeFromSystemCommand = false;  // SC_CLOSE: the title bar or Alt+F4
  bool startedHidden = false;
  bool windowsShuttingDown = false;  // SM_SHUTTINGDOWN
};

// Exit requested: destroy. With the icon present and the engine ready: hide,
// with the view reset when the close came from the system command. Else a
// hidden start hides unless Windows is shutting down. Else destroy. Every
// way but the first clears the system-command flag, and both hides trim the
// working set first.
CloseAction DecideClose(const CloseInput& input);

}  // namespace quillmor
