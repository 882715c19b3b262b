#include "app/core/column_layout.h"

#include <algorithm>
#include <cstdlib>

#include "settings/dpi_scale.h"

namespace quillmor {
namespace {

constexpr int32_t kBorderGrip96 = 8;

}  // namespace

std::array<int32_t, kResultColumnCount + 1> ColumnEdges(const ListFrame& frame, int32_t horizontalOffset) {
  std::array<int32_t, kResultColumnCount + 1> edges{};
  int64_t x = static_cast<int64_t>(ListAreaLeft(frame)) - horizontalOffset;
  for (int i = 0; i <= kResultColumnCount; ++i) {
    edges[i] = static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
    if (i < kResultColumnCount) x += std::max(0, frame.columnWidths[i]);
  }
  return edges;
}

int32_t ColumnAt(const ListFrame& frame, int32_t horizontalOffset, int32_t x) {
  if (IsIconView(frame.viewMode)) return kColumnName;
  const auto edges = ColumnEdges(frame, horizontalOffset);
  for (int i = 0; i < kResultColumnCount; ++i) {
    if (x >= edges[i] && x < edges[i + 1]) return i;
  }
  return -1;
}

bool InHeaderBand(const ListFrame& frame, int32_t y) {
  if (IsIconView(frame.viewMode)) return false;
  return y >= frame.listTop && y < ContentTop(frame);
}

int32_t HeaderBorderAt(const ListFrame& frame, int32_t horizontalOffset, int32_t x) {
  if (IsIconView(frame.viewMode)) return -1;
  const auto edges = ColumnEdges(frame, horizontalOffset);
  const int64_t grip = ScaleFrom96(kBorderGrip96, frame.dpi);
  int32_t best = -1;
  int64_t bestDistance = grip + 1;
  for (int i = 0; i < kResultColumnCount; ++i) {
    const int64_t distance = std::llabs(static_cast<int64_t>(x) - edges[i + 1]);
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

int32_t ResizedColumnWidth(int32_t pointerX, int32_t columnLeft, int32_t dpi) {
  const int64_t width = static_cast<int64_t>(pointerX) - columnLeft;
  return static_cast<int32_t>(std::clamp<int64_t>(width, ScaleFrom96(kMinColumnWidth, dpi), INT32_MAX));
}

}  // namespace quillmor
