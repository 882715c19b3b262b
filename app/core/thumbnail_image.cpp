#include "app/core/thumbnail_image.h"

#include <algorithm>

namespace quillmor {
namespace {

// Thumbnails are at most a few hundred pixels; this bounds the work of a
// hostile size.
constexpr int32_t kMaxSide = 4096;

}  // namespace

Rect FitInside(int32_t width, int32_t height, int32_t box) {
  if (width < 1 || height < 1 || box < 1) return {};
  int32_t w = box;
  int32_t h = box;
  if (width >= height) {
    h = static_cast<int32_t>(std::max<int64_t>(1, (static_cast<int64_t>(box) * height + width / 2) / width));
  } else {
    w = static_cast<int32_t>(std::max<int64_t>(1, (static_cast<int64_t>(box) * width + height / 2) / height));
  }
  return RectAt((box - w) / 2, (box - h) / 2, w, h);
}

std::vector<uint32_t> ScaleToSquare(std::span<const uint32_t> pixels, int32_t width, int32_t height, int32_t box) {
  if (width < 1 || height < 1 || box < 1 || width > kMaxSide || height > kMaxSide || box > kMaxSide) return {};
  if (pixels.size() != static_cast<size_t>(width) * height) return {};
  const bool hasAlpha = std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return (p >> 24) != 0; });
  const Rect fit = FitInside(width, height, box);
  std::vector<uint32_t> out(static_cast<size_t>(box) * box, 0);
  for (int32_t ty = 0; ty < fit.Height(); ++ty) {
    // The source rows under this target row: [y0, y1), at least one.
    const int32_t y0 = static_cast<int32_t>(static_cast<int64_t>(ty) * height / fit.Height());
    const int32_t y1 = std::max(y0 + 1, static_cast<int32_t>(static_cast<int64_t>(ty + 1) * height / fit.Height()));
    for (int32_t tx = 0; tx < fit.Width(); ++tx) {
      const int32_t x0 = static_cast<int32_t>(static_cast<int64_t>(tx) * width / fit.Width());
      const int32_t x1 = std::max(x0 + 1, static_cast<int32_t>(static_cast<int64_t>(tx + 1) * width / fit.Width()));
      uint64_t alphaSum = 0;
      uint64_t red = 0, green = 0, blue = 0;
      for (int32_t y = y0; y < y1; ++y) {
        for (int32_t x = x0; x < x1; ++x) {
          const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
          const uint32_t a = hasAlpha ? p >> 24 : 255;
          alphaSum += a;
          red += a * ((p >> 16) & 0xFF);
          green += a * ((p >> 8) & 0xFF);
          blue += a * (p & 0xFF);
        }
      }
      const uint64_t count = static_cast<uint64_t>(y1 - y0) * (x1 - x0);
      uint32_t value = 0;
      if (alphaSum > 0) {
        const uint32_t a = static_cast<uint32_t>((alphaSum + count / 2) / count);
        const auto channel = [&](uint64_t sum) { return static_cast<uint32_t>((sum + alphaSum / 2) / alphaSum); };
        value = (a << 24) | (channel(red) << 16) | (channel(green) << 8) | channel(blue);
      }
      out[static_cast<size_t>(fit.top + ty) * box + (fit.left + tx)] = value;
    }
  }
  return out;
}

}  // namespace quillmor
