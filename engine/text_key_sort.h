// Ordering rows by a text key (a folded name or path), fast enough for a
// million rows: a most-significant-digit radix sort taking four code units at
// a time as one 64-bit digit, so that rows are compared by whole integers and
// each key is read once per digit rather than once per comparison; runs that
// share a prefix skip it, and two threads may each sort one side of a split.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/page_allocator.h"

namespace quillmor {

// The keys of the rows to order. Row i's key is a head followed by a tail,
// both in `units`, so that rows can share a head (the path of their
// directory) instead of each holding a copy.
struct TextSortKeys {
  struct Key {
    size_t head = 0;
    size_t tail = 0;
    uint32_t headLength = 0;
    uint32_t tailLength = 0;
  };
  PageVector<char16_t> units;
  PageVector<Key> keys;

  size_t size() const { return keys.size(); }
};

// The row numbers in key order: units compare as unsigned numbers and a key
// that is the start of another comes first; descending when !ascending. Rows
// with equal keys keep their order, in both directions. `threads` above 1
// first splits the rows near the middle of the order, by their first digits
// that tell them apart, and sorts the two sides on two threads (the same
// order); it falls back to one thread when no thread can be started. At most
// 2^32 - 1 rows.
PageVector<uint32_t> SortedTextOrder(const TextSortKeys& keys, bool ascending, unsigned threads);

}  // namespace quillmor
