// Pixel measures are kept at 96 DPI and scaled to the monitor's DPI the way
// Windows' MulDiv does it.
#pragma once

#include <cstdint>

namespace quillmor {

// MulDiv: a * b / c over a 64-bit product, rounded half away from zero. -1
// when c is 0 or the result does not fit in 32 bits (MulDiv's own answer).
constexpr int32_t MulDivRound(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t product = static_cast<int64_t>(a) * b;
  int64_t divisor = c;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  const int64_t half = divisor / 2;
  const int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
  if (result > INT32_MAX || result < -INT32_MAX) return -1;
  return static_cast<int32_t>(result);
}

// The DPI to scale with: an unknown (0) or nonsensical DPI counts as 96.
constexpr int32_t EffectiveDpi(int32_t dpi) { return dpi > 0 ? dpi : 96; }

// 96-DPI units to pixels at `dpi`, and back.
constexpr int32_t ScaleFrom96(int32_t value, int32_t dpi) { return MulDivRound(value, EffectiveDpi(dpi), 96); }
constexpr int32_t ScaleTo96(int32_t value, int32_t dpi) { return MulDivRound(value, 96, EffectiveDpi(dpi)); }

}  // namespace quillmor
