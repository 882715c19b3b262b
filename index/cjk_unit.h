// The CJK unified ideographs U+4E00..U+9FFF: the units whose readings the
// initials rule uses, and a quick test for names that hold none.
#pragma once

#include <algorithm>
#include <cstddef>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUILLMOR_CJK_UNIT_SSE2 1
#endif

namespace quillmor {

inline constexpr char16_t kFirstCjkUnit = 0x4E00;
inline constexpr char16_t kLastCjkUnit = 0x9FFF;

constexpr bool IsCjkUnit(char16_t unit) { return unit >= kFirstCjkUnit && unit <= kLastCjkUnit; }

// True when one of the `nameLength` units at `name` lies in U+4E00..U+9FFF.
// `name` is a name pool entry: the 2 * nameLength + 2 units from it (the
// name, its terminator, its lower-case copy and that copy's terminator) are
// readable.
inline bool ContainsCjkUnit(const char16_t* name, size_t nameLength) {
#ifdef QUILLMOR_CJK_UNIT_SSE2
  const size_t readable = 2 * nameLength + 2;
  if (readable >= 8) {
    // x - 0x4E00 <= 0x51FF (unsigned) for x in U+4E00..U+9FFF. Blocks that
    // reach past the name read its lower-case copy, which holds the same CJK
    // units, and the terminators.
    const __m128i base = _mm_set1_epi16(static_cast<short>(kFirstCjkUnit));
    const __m128i span = _mm_set1_epi16(static_cast<short>(kLastCjkUnit - kFirstCjkUnit));
    auto cjkLanes = [&](size_t start) {
      const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(name + std::min(start, readable - 8)));
      return _mm_cmpeq_epi16(_mm_subs_epu16(_mm_sub_epi16(units, base), span), _mm_setzero_si128());
    };
    if (nameLength <= 32) {
      const __m128i any =
          _mm_or_si128(_mm_or_si128(cjkLanes(0), cjkLanes(8)), _mm_or_si128(cjkLanes(16), cjkLanes(24)));
      return _mm_movemask_epi8(any) != 0;
    }
    for (size_t i = 0; i < nameLength; i += 8) {
      if (_mm_movemask_epi8(cjkLanes(i)) != 0) return true;
    }
    return false;
  }
#endif
  for (size_t i = 0; i < nameLength; ++i) {
    if (IsCjkUnit(name[i])) return true;
  }
  return false;
}

}  // namespace quillmor
