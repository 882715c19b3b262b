// Large zero-filled regions straight from the system, for the arenas of an
// index (name chunks, record blocks, the reference table): tens of megabytes
// that are written once, front to back. They bypass the heap, so they come
// zeroed without a memset and go back to the system when freed, and where the
// system offers huge pages they use them, which spares hundreds of thousands
// of page faults when millions of records are indexed.
#pragma once

#include <cstddef>

namespace quillmor {

// At least `bytes` of zeroed, writable memory, or nullptr when the system
// refuses. Thread-safe.
void* AllocatePages(size_t bytes);
// Frees a region from AllocatePages; `bytes` is the size that was asked for.
void FreePages(void* region, size_t bytes);

}  // namespace quillmor

#include <new>
#include <utility>

namespace quillmor {

// An owned array of `size` zero-filled elements in AllocatePages memory. For
// types that are valid when all their bytes are zero and need no destructor
// (records, slots, code units).
template <typename T>
class PageArray {
 public:
  PageArray() = default;
  explicit PageArray(size_t size) : size_(size) {
    if (size == 0) return;
    data_ = static_cast<T*>(AllocatePages(size * sizeof(T)));
    if (data_ == nullptr) throw std::bad_alloc();
  }
  ~PageArray() { FreePages(data_, size_ * sizeof(T)); }
  PageArray(PageArray&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
  PageArray& operator=(PageArray&& other) noexcept {
    if (this != &other) {
      FreePages(data_, size_ * sizeof(T));
      data_ = std::exchange(other.data_, nullptr);
      size_ = std::exchange(other.size_, 0);
    }
    return *this;
  }
  PageArray(const PageArray&) = delete;
  PageArray& operator=(const PageArray&) = delete;

  T* data() const { return data_; }
  size_t size() const { return size_; }
  T& operator[](size_t i) const { return data_[i]; }

 private:
  T* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace quillmor
