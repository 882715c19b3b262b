#include "app/core/rounded_corner.h"

#include <cstddef>

namespace quillmor {
namespace {

// Samples per pixel along each axis: 16 samples give coverage steps of 1/16,
// finer than the eye sees at the radii the list uses.
constexpr int kSamples = 4;

}  // namespace

std::vector<uint8_t> RoundedCornerCoverage(int32_t radius) {
  if (radius < 1) return {};
  // Far beyond any radius a list draws; keeps the table small.
  if (radius > 256) radius = 256;
  std::vector<uint8_t> coverage(static_cast<size_t>(radius) * radius);
  const double r = radius;
  for (int32_t y = 0; y < radius; ++y) {
    for (int32_t x = 0; x < radius; ++x) {
      int inside = 0;
      for (int j = 0; j < kSamples; ++j) {
        for (int i = 0; i < kSamples; ++i) {
          const double dx = x + (i + 0.5) / kSamples - r;
          const double dy = y + (j + 0.5) / kSamples - r;
          if (dx * dx + dy * dy <= r * r) ++inside;
        }
      }
      coverage[static_cast<size_t>(y) * radius + x] =
          static_cast<uint8_t>((inside * 255 + kSamples * kSamples / 2) / (kSamples * kSamples));
    }
  }
  return coverage;
}

uint32_t BlendColour(uint32_t over, uint32_t under, uint8_t alpha) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t a = (over >> shift) & 0xFF;
    const uint32_t b = (under >> shift) & 0xFF;
    const uint32_t mixed = (a * alpha + b * (255 - alpha) + 127) / 255;
    out |= mixed << shift;
  }
  return out;
}

}  // namespace quillmor
