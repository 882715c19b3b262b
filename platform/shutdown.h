// The process-wide shutdown flag: set once when the main window is destroyed,
// polled by every background loop so that it ends promptly.
#pragma once

#include <atomic>

namespace quillmor {

inline std::atomic<bool> g_shutdown{false};

inline bool ShuttingDown() { return g_shutdown.load(std::memory_order_acquire); }
inline void BeginShutdown() { g_shutdown.store(true, std::memory_order_release); }

}  // namespace quillmor
