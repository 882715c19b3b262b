// The periodic save of the attribute cache while the program runs.
#pragma once

#include <cstdint>

#include "engine/search_engine.h"

namespace quillmor {

// The window's autosave timer: repeating, armed when start-up reports ready.
inline constexpr uint32_t kAttrCacheAutosaveIntervalMs = 20000;

// One tick of the autosave timer (user-interface thread). Starts the task
// "cache_autosave" when shutdown has not begun, the cache changed since it
// was last loaded or saved, and no other background save runs. The task
// saves, marks the cache clean up to the change count read here when the
// save succeeded, and logs an exception to the message log. True when the
// task was started.
bool AttrCacheAutosaveTick(SearchEngine& engine);

}  // namespace quillmor
