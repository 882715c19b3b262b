// An allocator for the large scratch arrays of one job (a sort's keys and
// rows): blocks of a megabyte and more come from AllocatePages, which maps
// them in huge pages where the system offers them. Touching a fresh 4 KiB
// page costs a fault each; a million-row sort touches tens of thousands of
// them, and on some virtual machines the faults take longer than the sort.
// Smaller blocks come from the heap as usual.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "platform/page_memory.h"

namespace quillmor {

template <typename T>
class PageAllocator {
 public:
  using value_type = T;
  // Heap blocks carry the default new alignment; pages more.
  static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
  // Blocks from this size on bypass the heap.
  static constexpr size_t kPageBlockBytes = size_t{1} << 20;

  PageAllocator() = default;
  template <typename U>
  PageAllocator(const PageAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
    const size_t bytes = n * sizeof(T);
    if (bytes < kPageBlockBytes) return static_cast<T*>(::operator new(bytes));
    void* block = AllocatePages(bytes);
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<T*>(block);
  }

  void deallocate(T* p, size_t n) noexcept {
    const size_t bytes = n * sizeof(T);
    if (bytes < kPageBlockBytes) {
      ::operator delete(p);
    } else {
      FreePages(p, bytes);
    }
  }

  template <typename U>
  bool operator==(const PageAllocator<U>&) const noexcept {
    return true;
  }
};

// A vector whose large buffers come from AllocatePages.
template <typename T>
using PageVector = std::vector<T, PageAllocator<T>>;

}  // namespace quillmor
