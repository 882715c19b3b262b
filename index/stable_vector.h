// A sequence whose elements never move: appending adds to fixed-size blocks, so
// an element's index and address stay valid until Clear. Blocks are page
// memory: T must be valid when zero-filled and need no destructor.
#pragma once

#include <cstddef>
#include <type_traits>
#include <vector>

#include "platform/page_memory.h"

namespace quillmor {

// Not thread-safe; the owner's lock guards it.
template <typename T, size_t kBlockShift = 16>
class StableVector {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  static constexpr size_t kBlockSize = size_t{1} << kBlockShift;

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  T& operator[](size_t i) { return blocks_[i >> kBlockShift][i & (kBlockSize - 1)]; }
  const T& operator[](size_t i) const { return blocks_[i >> kBlockShift][i & (kBlockSize - 1)]; }

  T& push_back(const T& value) {
    if ((size_ & (kBlockSize - 1)) == 0 && (size_ >> kBlockShift) == blocks_.size()) {
      blocks_.emplace_back(kBlockSize);
    }
    T& slot = (*this)[size_];
    slot = value;
    ++size_;
    return slot;
  }

  void clear() {
    blocks_.clear();
    blocks_.shrink_to_fit();
    size_ = 0;
  }

  // Contiguous runs for loops over many elements: block b holds indices
  // [b * kBlockSize, min(size(), (b + 1) * kBlockSize)).
  size_t BlockCount() const { return blocks_.size(); }
  const T* BlockData(size_t b) const { return blocks_[b].data(); }

  size_t ReservedBytes() const { return blocks_.size() * kBlockSize * sizeof(T); }

 private:
  std::vector<PageArray<T>> blocks_;
  size_t size_ = 0;
};

}  // namespace quillmor
