// Vector scans over names as the name pool stores them: the name, 0, its
// lower-case copy, 0. The scans use that layout to read whole 8-unit blocks
// without running off the entry: a block may reach into the neighbouring copy,
// and what it finds there is masked off or means the same thing.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUILLMOR_NAME_SCAN_SSE2 1
#endif

#include "search/pinyin_initial.h"

namespace quillmor {

// True when one of the `nameLength` units at `name` lies in U+4E00..U+9FFF.
// `name` is a pool entry: the 2 * nameLength + 2 units from it are readable.
inline bool ContainsCjkUnit(const char16_t* name, size_t nameLength) {
  const size_t readable = 2 * nameLength + 2;
#ifdef QUILLMOR_NAME_SCAN_SSE2
  if (readable >= 8) {
    // x - 0x4E00 <= 0x11FF, unsigned, for x in U+4E00..U+9FFF; the lower-case
    // copy read past the name holds the same CJK units as the name.
    const __m128i base = _mm_set1_epi16(static_cast<short>(kFirstCjkUnit));
    const __m128i span = _mm_set1_epi16(static_cast<short>(kLastCjkUnit - kFirstCjkUnit));
    const __m128i zero = _mm_setzero_si128();
    for (size_t i = 0; i < nameLength; i += 8) {
      const size_t start = i + 8 <= readable ? i : readable - 8;
      const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(name + start));
      const __m128i above = _mm_subs_epu16(_mm_sub_epi16(units, base), span);
      if (_mm_movemask_epi8(_mm_cmpeq_epi16(above, zero)) != 0) return true;
    }
    return false;
  }
#endif
  for (size_t i = 0; i < nameLength; ++i) {
    if (IsCjkUnit(name[i])) return true;
  }
  return false;
}

// A term prepared for searching many lower-case names: two of its units, the
// rarest in file names, filter eight positions at a time, and only positions
// that pass both are compared in full.
class NameNeedle {
 public:
  explicit NameNeedle(std::u16string_view term);

  size_t size() const { return text_.size(); }
  std::u16string_view text() const { return text_; }

  // True when the needle occurs in the `n` units at `lower` (an empty needle
  // always does). `lower` is the lower-case copy of a pool entry, so its name
  // and that name's terminator, n + 1 units, precede it and its own
  // terminator follows.
  bool FoundIn(const char16_t* lower, size_t n) const {
    const size_t m = text_.size();
    if (m > n) return false;
    if (m == 0) return true;
    const size_t count = n - m + 1;  // candidate positions
#ifdef QUILLMOR_NAME_SCAN_SSE2
    const __m128i first = _mm_set1_epi16(static_cast<short>(firstUnit_));
    const __m128i second = _mm_set1_epi16(static_cast<short>(secondUnit_));
    // Two mask bits for each position start..start+7 that passes the filter.
    auto filter = [&](ptrdiff_t start) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + start + firstOffset_));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + start + secondOffset_));
      return static_cast<unsigned>(
          _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(a, first), _mm_cmpeq_epi16(b, second))));
    };
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
      const ptrdiff_t at = static_cast<ptrdiff_t>(i);
      if (const unsigned mask = filter(at); mask != 0 && Verify(lower, at, mask)) return true;
    }
    if (i == count) return false;
    // The last positions: a block that ends at the last one and overlaps
    // those already tested, or, for a short name, starts before the copy, in
    // the name itself. Lanes outside the untested positions are masked off.
    const ptrdiff_t start = static_cast<ptrdiff_t>(count) - 8;
    if (start + static_cast<ptrdiff_t>(firstOffset_) >= -static_cast<ptrdiff_t>(n + 1)) {
      const unsigned mask = filter(start) & (0xFFFFu << (2 * (static_cast<ptrdiff_t>(i) - start)));
      return mask != 0 && Verify(lower, start, mask);
    }
#else
    size_t i = 0;
#endif
    for (; i < count; ++i) {
      if (lower[i + firstOffset_] == firstUnit_ && lower[i + secondOffset_] == secondUnit_ &&
          (filterIsExact_ || std::memcmp(lower + i, text_.data(), m * sizeof(char16_t)) == 0)) {
        return true;
      }
    }
    return false;
  }

 private:
  // Whether a position of `mask` (two bits per position from `start`) holds
  // the whole needle.
  bool Verify(const char16_t* lower, ptrdiff_t start, unsigned mask) const {
    if (filterIsExact_) return true;
    const size_t bytes = text_.size() * sizeof(char16_t);
    while (mask != 0) {
      const int bit = std::countr_zero(mask);
      if (std::memcmp(lower + start + bit / 2, text_.data(), bytes) == 0) return true;
      mask &= ~(3u << bit);
    }
    return false;
  }

  std::u16string text_;
  // The filter units and their offsets in the needle, firstOffset_ <=
  // secondOffset_ (equal for a one-unit needle).
  size_t firstOffset_ = 0, secondOffset_ = 0;
  char16_t firstUnit_ = 0, secondUnit_ = 0;
  // The filter tests every unit of the needle (one or two units).
  bool filterIsExact_ = false;
};

}  // namespace quillmor
