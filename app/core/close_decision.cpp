#include "app/core/close_decision.h"

namespace quillmor {

CloseAction DecideClose(const CloseInput& input) {
  if (input.exitRequested) return CloseAction::kDestroy;
  if (input.trayIconPresent && input.engineReady) {
    return input.closeFromSystemCommand ? CloseAction::kHideWithViewReset : CloseAction::kHide;
  }
  if (input.startedHidden && !input.windowsShuttingDown) return CloseAction::kHide;
  return CloseAction::kDestroy;
}

}  // namespace quillmor
