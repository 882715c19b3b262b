#include <sys/mman.h>

#include <cstdint>

#include "platform/page_memory.h"

namespace quillmor {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;

}  // namespace

void* AllocatePages(size_t bytes) {
  if (bytes == 0) return nullptr;
  if (bytes < kHugePage) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
  }
  // Transparent huge pages need 2 MiB alignment: map a little more, keep an
  // aligned window and give the slack back.
  const size_t mapped = bytes + kHugePage;
  void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kHugePage - 1) & ~(uintptr_t{kHugePage} - 1);
  if (aligned > start) munmap(raw, aligned - start);
  const uintptr_t end = start + mapped;
  const uintptr_t used = aligned + bytes;
  if (end > used) munmap(reinterpret_cast<void*>(used), end - used);
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);  // a hint; failure is harmless
  return reinterpret_cast<void*>(aligned);
}

void FreePages(void* region, size_t bytes) {
  if (region != nullptr) munmap(region, bytes);
}

}  // namespace quillmor
