#include <windows.h>

#include "platform/page_memory.h"

namespace quillmor {

// Committed pages from VirtualAlloc are zero-filled on first touch. Large
// pages would need the lock-memory privilege, which an ordinary
// administrator process does not hold, so plain pages it is.
void* AllocatePages(size_t bytes) {
  if (bytes == 0) return nullptr;
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void FreePages(void* region, size_t) {
  if (region != nullptr) VirtualFree(region, 0, MEM_RELEASE);
}

}  // namespace quillmor
