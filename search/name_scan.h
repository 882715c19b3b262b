// Vector scans over names as the name pool stores them: the name, 0, its
// lower-case copy, 0. The scans use that layout to read whole 8-unit blocks
// without running off the entry: a block may reach into the neighbouring copy,
// and what it finds there is masked off or means the same thing.
//
// Names average about 20 units, so a scan is two or three blocks. Names up to
// 32 positions get a fixed four blocks with one branch at the end: a block
// count that varies from name to name costs a mispredicted loop exit per name,
// which is more than the blocks a short name does not need.
#pragma once

#include <algorithm>
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

// The per-name steps of the scan are inlined into its loop whatever the
// compiler's size heuristics say: a call per name, with its register saves,
// costs as much as the test.
#if defined(__GNUC__)
#define QUILLMOR_SCAN_INLINE [[gnu::always_inline]] inline
#else
#define QUILLMOR_SCAN_INLINE inline
#endif

namespace quillmor {

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
  QUILLMOR_SCAN_INLINE bool FoundIn(const char16_t* lower, size_t n) const {
    const size_t m = text_.size();
    if (m > n) return false;
    if (m == 0) return true;
#ifdef QUILLMOR_NAME_SCAN_SSE2
    // From six units on, the name before the copy leaves room for a block
    // that starts up to seven positions early.
    if (n >= 6) return FoundInBlocks(lower, n);
#endif
    return FoundInUnits(lower, n - m + 1);
  }

 private:
  bool FoundInUnits(const char16_t* lower, size_t count) const {
    for (size_t i = 0; i < count; ++i) {
      if (lower[i + firstOffset_] == firstUnit_ && lower[i + secondOffset_] == secondUnit_ &&
          (filterIsExact_ || std::memcmp(lower + i, text_.data(), text_.size() * sizeof(char16_t)) == 0)) {
        return true;
      }
    }
    return false;
  }

#ifdef QUILLMOR_NAME_SCAN_SSE2
  // Lanes of the positions start..start+7 that pass the filter.
  QUILLMOR_SCAN_INLINE __m128i FilterLanes(const char16_t* lower, ptrdiff_t start) const {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + start + firstOffset_));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + start + secondOffset_));
    return _mm_and_si128(_mm_cmpeq_epi16(a, _mm_set1_epi16(static_cast<short>(firstUnit_))),
                         _mm_cmpeq_epi16(b, _mm_set1_epi16(static_cast<short>(secondUnit_))));
  }

  // Two mask bits for each of the positions start..start+7 that passes the
  // filter.
  unsigned Filter(const char16_t* lower, ptrdiff_t start) const {
    return static_cast<unsigned>(_mm_movemask_epi8(FilterLanes(lower, start)));
  }

  QUILLMOR_SCAN_INLINE bool FoundInBlocks(const char16_t* lower, size_t n) const {
    const auto count = static_cast<ptrdiff_t>(n - text_.size() + 1);  // candidate positions
    if (count > 32) return FoundInLongName(lower, count);
    // Four blocks back from the last position; a short name's later blocks
    // test positions already tested. No block starts before the name in
    // front of the copy, and lanes of positions below 0 are masked off
    // without a branch (starts lie between -31 and 24).
    const ptrdiff_t earliest = -static_cast<ptrdiff_t>(n + 1 + firstOffset_);
    const __m128i laneIndex = _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7);
    auto block = [&](ptrdiff_t start) {
      const __m128i position = _mm_add_epi16(_mm_set1_epi16(static_cast<short>(start)), laneIndex);
      return _mm_andnot_si128(_mm_cmplt_epi16(position, _mm_setzero_si128()), FilterLanes(lower, start));
    };
    const ptrdiff_t s0 = count - 8;  // never before `earliest` from six units on
    const ptrdiff_t s1 = std::max(count - 16, earliest);
    const ptrdiff_t s2 = std::max(count - 24, earliest);
    const ptrdiff_t s3 = std::max(count - 32, earliest);
    const __m128i b0 = block(s0), b1 = block(s1), b2 = block(s2), b3 = block(s3);
    const int any = _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(b0, b1), _mm_or_si128(b2, b3)));
    if (filterIsExact_ || any == 0) return any != 0;
    return Verify(lower, s0, _mm_movemask_epi8(b0)) || Verify(lower, s1, _mm_movemask_epi8(b1)) ||
           Verify(lower, s2, _mm_movemask_epi8(b2)) || Verify(lower, s3, _mm_movemask_epi8(b3));
  }

  bool FoundInLongName(const char16_t* lower, ptrdiff_t count) const {
    ptrdiff_t i = 0;
    for (; i + 8 <= count; i += 8) {
      if (const unsigned mask = Filter(lower, i); mask != 0 && Verify(lower, i, mask)) return true;
    }
    if (i == count) return false;
    // A last block that ends at the last position; lanes tested already are
    // masked off.
    const ptrdiff_t start = count - 8;
    const unsigned mask = Filter(lower, start) & (0xFFFFu << (2 * (i - start)));
    return mask != 0 && Verify(lower, start, mask);
  }

  // Whether a position of `mask` (two bits per position from `start`) holds
  // the whole needle.
  bool Verify(const char16_t* lower, ptrdiff_t start, unsigned mask) const {
    if (mask == 0) return false;
    if (filterIsExact_) return true;
    const size_t bytes = text_.size() * sizeof(char16_t);
    while (mask != 0) {
      const int bit = std::countr_zero(mask);
      if (std::memcmp(lower + start + bit / 2, text_.data(), bytes) == 0) return true;
      mask &= ~(3u << bit);
    }
    return false;
  }
#endif

  std::u16string text_;
  // The filter units and their offsets in the needle, firstOffset_ <=
  // secondOffset_ (equal for a one-unit needle).
  size_t firstOffset_ = 0, secondOffset_ = 0;
  char16_t firstUnit_ = 0, secondUnit_ = 0;
  // The filter tests every unit of the needle (one or two units).
  bool filterIsExact_ = false;
};

}  // namespace quillmor
