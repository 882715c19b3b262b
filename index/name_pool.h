// The names of one volume, each stored once followed by its lower-case copy, in
// large chunks that never move.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/page_memory.h"

namespace quillmor {

// The longest name the pool stores: the journal's 16-bit byte length allows
// no more, and a chunk always has room for one.
inline constexpr size_t kMaxNameUnits = 32767;

// Not thread-safe: the owner's recordsLock (or sole ownership during a build)
// guards it.
class NamePool {
 public:
  // 2 Mi code units, 4 MiB: large enough that a chunk holds tens of thousands
  // of names and one allocation serves them all.
  static constexpr size_t kChunkUnits = 0x200000;

  NamePool() = default;
  NamePool(const NamePool&) = delete;
  NamePool& operator=(const NamePool&) = delete;

  // Stores `name` cut to its first kMaxNameUnits units, a 0, its copy with
  // 'A'..'Z' folded to 'a'..'z', and a 0. Returns the stored name (without
  // the terminator), valid until Reset.
  std::u16string_view Add(std::u16string_view name);
  // The same for a name given as `units` UTF-16LE code units at `bytes`, which
  // need not be aligned (a name inside a journal record).
  std::u16string_view AddUtf16Le(const std::byte* bytes, size_t units);

  // Frees every chunk.
  void Reset();

  size_t ChunkCount() const { return chunks_.size(); }
  size_t Used() const { return used_; }
  size_t ReservedBytes() const { return chunks_.size() * kChunkUnits * sizeof(char16_t); }

 private:
  // Room for `units` and both terminators, twice; opens a chunk when needed.
  char16_t* Reserve(size_t units);

  std::vector<PageArray<char16_t>> chunks_;
  // Units used in the newest chunk; a full chunk's worth after construction
  // and Reset so that the first Add opens a chunk.
  size_t used_ = kChunkUnits;
};

// The pool's case folding: 'A'..'Z' only; everything else is kept.
constexpr char16_t FoldAsciiCase(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

}  // namespace quillmor
