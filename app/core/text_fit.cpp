#include "app/core/text_fit.h"

#include <algorithm>

namespace quillmor {

TextFit FitTextEnd(std::u16string_view text, std::span<const int32_t> extents, int32_t available,
                   int32_t ellipsisWidth) {
  const size_t length = std::min(text.size(), extents.size());
  if (length == 0) return {};
  if (length == text.size() && extents[length - 1] <= available) return {length, false};
  const int32_t room = available - ellipsisWidth;
  // The first unit that no longer fits before the ellipsis.
  size_t units =
      static_cast<size_t>(std::upper_bound(extents.begin(), extents.begin() + length, room) - extents.begin());
  if (units > 0 && units < text.size() && text[units] >= 0xDC00 && text[units] <= 0xDFFF && text[units - 1] >= 0xD800 &&
      text[units - 1] <= 0xDBFF) {
    --units;
  }
  return {units, true};
}

std::vector<TextRange> ClipRanges(const std::vector<TextRange>& ranges, size_t units) {
  std::vector<TextRange> clipped;
  for (const TextRange& r : ranges) {
    if (r.start >= units) continue;
    clipped.push_back({r.start, std::min(r.length, units - r.start)});
  }
  return clipped;
}

}  // namespace quillmor
