// A background thread that notices drive letters appearing and disappearing
// and tells the main window.
#pragma once

#include "platform/env.h"

namespace quillmor {

// Polls the drive letters every 2 seconds until shutdown: posts
// WMU_INDEX_READY (1, 0) when a letter became usable and WMU_VOLUME_LOST
// (0, 0) when one stopped being usable. At most one poller runs at a time;
// a second call while one runs does nothing. Throws std::system_error when the
// thread cannot be started.
void StartDrivePoller(Env& env, WindowHandle window);

// Whether a poller thread is running.
bool DrivePollerRunning();

}  // namespace quillmor
