#include "index/ref_map.h"

#include <algorithm>
#include <cassert>

namespace quillmor {
namespace {

// splitmix64's finaliser: file references are mostly consecutive numbers, and
// every bit of the result depends on every bit of the key.
inline uint64_t Mix(uint64_t x) {
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBull;
  x ^= x >> 31;
  return x;
}

// The high bits of the hash choose the slot (without a power-of-two table);
// the low 32 bits are the tag.
inline size_t HomeSlot(uint64_t hash, size_t capacity) {
  return static_cast<size_t>((static_cast<unsigned __int128>(hash) * capacity) >> 64);
}

inline void Prefetch(const void* p) {
#if defined(__GNUC__)
  __builtin_prefetch(p, 1);
#else
  (void)p;
#endif
}

// Linear probing stays short below this load.
constexpr double kMaxLoad = 0.8;

size_t CapacityFor(size_t count) {
  return std::max<size_t>(16, static_cast<size_t>(static_cast<double>(count) / kMaxLoad) + 1);
}

}  // namespace

size_t RefMap::Probe(uint64_t ref, uint64_t hash, bool& found) const {
  const size_t capacity = slots_.size();
  const auto tag = static_cast<uint32_t>(hash);
  size_t i = HomeSlot(hash, capacity);
  for (;;) {
    const Slot& s = slots_[i];
    if (s.indexPlusOne == 0) {
      found = false;
      return i;
    }
    if (s.tag == tag && (*records_)[s.indexPlusOne - 1].fileRef == ref) {
      found = true;
      return i;
    }
    if (++i == capacity) i = 0;
  }
}

bool RefMap::Find(uint64_t ref, uint64_t& index) const {
  if (!noRecordKeys_.empty() && std::find(noRecordKeys_.begin(), noRecordKeys_.end(), ref) != noRecordKeys_.end()) {
    index = kNoRecord;
    return true;
  }
  if (count_ == 0) return false;
  bool found = false;
  const size_t at = Probe(ref, Mix(ref), found);
  if (found) index = slots_[at].indexPlusOne - 1;
  return found;
}

void RefMap::InsertNew(uint64_t hash, uint32_t indexPlusOne, size_t at) {
  slots_[at] = Slot{indexPlusOne, static_cast<uint32_t>(hash)};
  ++count_;
}

void RefMap::Assign(uint64_t ref, uint64_t index) {
  assert(index < 0xFFFFFFFFull);
  EraseNoRecord(ref);
  if (static_cast<double>(count_ + 1) > static_cast<double>(slots_.size()) * kMaxLoad) {
    Rehash(std::max(CapacityFor(count_ + 1), slots_.size() * 2));
  }
  const uint64_t hash = Mix(ref);
  bool found = false;
  const size_t at = Probe(ref, hash, found);
  if (found) {
    slots_[at].indexPlusOne = static_cast<uint32_t>(index + 1);
  } else {
    InsertNew(hash, static_cast<uint32_t>(index + 1), at);
  }
}

void RefMap::AssignNoRecord(uint64_t ref) {
  EraseNoRecord(ref);
  if (count_ != 0) {
    bool found = false;
    const size_t at = Probe(ref, Mix(ref), found);
    if (found) {
      // Removing from a linear-probing table: rebuild the cluster behind the hole.
      slots_[at].indexPlusOne = 0;
      --count_;
      Rehash(slots_.size());
    }
  }
  noRecordKeys_.push_back(ref);
}

void RefMap::EraseNoRecord(uint64_t ref) { std::erase(noRecordKeys_, ref); }

void RefMap::AssignAll() {
  const size_t n = records_->size();
  if (static_cast<double>(count_ + n) > static_cast<double>(slots_.size()) * kMaxLoad) {
    Rehash(CapacityFor(count_ + n));
  }
  // Each insert lands on a random slot of a table far larger than the cache:
  // hash a few records ahead and prefetch their slots so that the misses
  // overlap instead of queuing one behind the other.
  constexpr size_t kAhead = 16;
  uint64_t hashes[kAhead];
  const size_t capacity = slots_.size();
  for (size_t i = 0; i < n && i < kAhead; ++i) {
    hashes[i] = Mix((*records_)[i].fileRef);
    Prefetch(&slots_[HomeSlot(hashes[i], capacity)]);
  }
  for (size_t i = 0; i < n; ++i) {
    const uint64_t ref = (*records_)[i].fileRef;
    const uint64_t hash = hashes[i % kAhead];
    if (i + kAhead < n) {
      const uint64_t ahead = Mix((*records_)[i + kAhead].fileRef);
      hashes[i % kAhead] = ahead;
      Prefetch(&slots_[HomeSlot(ahead, capacity)]);
    }
    if (!noRecordKeys_.empty()) EraseNoRecord(ref);
    bool found = false;
    const size_t at = Probe(ref, hash, found);
    if (found) {
      slots_[at].indexPlusOne = static_cast<uint32_t>(i + 1);
    } else {
      InsertNew(hash, static_cast<uint32_t>(i + 1), at);
    }
  }
}

void RefMap::Rehash(size_t capacity) {
  PageArray<Slot> old = std::move(slots_);
  slots_ = PageArray<Slot>(capacity);
  count_ = 0;
  for (size_t k = 0; k < old.size(); ++k) {
    const Slot& s = old[k];
    if (s.indexPlusOne == 0) continue;
    const uint64_t hash = Mix((*records_)[s.indexPlusOne - 1].fileRef);
    size_t i = HomeSlot(hash, capacity);
    while (slots_[i].indexPlusOne != 0) {
      if (++i == capacity) i = 0;
    }
    InsertNew(hash, s.indexPlusOne, i);
  }
}

void RefMap::Clear() {
  slots_ = PageArray<Slot>();
  count_ = 0;
  noRecordKeys_.clear();
}

}  // namespace quillmor
