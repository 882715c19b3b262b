#include "app/core/dpi_rescale.h"

#include <algorithm>

#include "settings/dpi_scale.h"

namespace quillmor {
namespace {

// MulDiv's rounding (half away from zero) in 64 bits, saturated to the
// 32-bit range instead of MulDiv's -1 on overflow.
int32_t Rescale(int32_t value, int32_t from, int32_t to) {
  const int64_t product = static_cast<int64_t>(value) * to;
  const int64_t result = product >= 0 ? (product + from / 2) / from : (product - from / 2) / from;
  return static_cast<int32_t>(std::clamp<int64_t>(result, -INT32_MAX, INT32_MAX));
}

}  // namespace

StoredMetrics RescaleStoredMetrics(const StoredMetrics& metrics, int32_t oldDpi, int32_t newDpi) {
  if (!DpiChangeRescales(oldDpi, newDpi)) return metrics;
  const int32_t from = EffectiveDpi(oldDpi);
  const int32_t to = EffectiveDpi(newDpi);
  StoredMetrics out = metrics;
  for (int32_t& w : out.columnWidths) w = std::max(ScaleFrom96(kMinColumnWidth, to), Rescale(w, from, to));
  out.sidebarWidth = Rescale(metrics.sidebarWidth, from, to);
  out.listTop = Rescale(metrics.listTop, from, to);
  out.horizontalOffset = Rescale(metrics.horizontalOffset, from, to);
  out.sidebarScrollOffset = Rescale(metrics.sidebarScrollOffset, from, to);
  // The vertical offset may pass 32 bits on a long list.
  const int64_t v = std::max<int64_t>(0, metrics.verticalOffset);
  out.verticalOffset = v / from * to + ((v % from) * to + from / 2) / from;
  return out;
}

}  // namespace quillmor
