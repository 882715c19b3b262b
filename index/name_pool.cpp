#include "index/name_pool.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/usn_layout.h"

namespace quillmor {
namespace {

// Writes the terminator, the folded copy and its terminator after the n units
// already at dst.
void FinishEntry(char16_t* dst, size_t n) {
  char16_t* lower = dst + n + 1;
  for (size_t i = 0; i < n; ++i) lower[i] = FoldAsciiCase(dst[i]);
  dst[n] = 0;
  lower[n] = 0;
}

}  // namespace

char16_t* NamePool::Reserve(size_t units) {
  const size_t need = 2 * (units + 1);
  if (used_ + need > kChunkUnits) {
    // The tail of the previous chunk stays unused.
    chunks_.emplace_back(kChunkUnits);
    used_ = 0;
  }
  char16_t* dst = chunks_.back().data() + used_;
  used_ += need;
  return dst;
}

std::u16string_view NamePool::Add(std::u16string_view name) {
  name = name.substr(0, kMaxNameUnits);
  char16_t* dst = Reserve(name.size());
  std::copy(name.begin(), name.end(), dst);
  FinishEntry(dst, name.size());
  return {dst, name.size()};
}

std::u16string_view NamePool::AddUtf16Le(const std::byte* bytes, size_t units) {
  units = std::min(units, kMaxNameUnits);
  char16_t* dst = Reserve(units);
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(dst, bytes, units * sizeof(char16_t));
  } else {
    for (size_t i = 0; i < units; ++i) dst[i] = static_cast<char16_t>(usn::Load16(bytes + 2 * i));
  }
  FinishEntry(dst, units);
  return {dst, units};
}

void NamePool::Reset() {
  chunks_.clear();
  chunks_.shrink_to_fit();
  used_ = kChunkUnits;
}

}  // namespace quillmor
