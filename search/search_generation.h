// A search's generation against the current one: a newer search (or Escape
// during a content search) makes it stale, and stale work gives up.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/shutdown.h"

namespace quillmor {

struct Generation {
  const std::atomic<uint64_t>* current = nullptr;  // null: never stale
  uint64_t mine = 0;
  bool Stale() const { return current != nullptr && current->load(std::memory_order_relaxed) != mine; }
  // Stale, or the program is shutting down: either way the work is wasted.
  bool Cancelled() const { return Stale() || ShuttingDown(); }
};

}  // namespace quillmor
