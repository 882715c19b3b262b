// Fitting a line of text into a cell: how much of it shows before an
// ellipsis, from the widths the font measured.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "app/core/highlight.h"

namespace quillmor {

struct TextFit {
  size_t units = 0;       // the units drawn
  bool ellipsis = false;  // "..." follows them
  bool operator==(const TextFit&) const = default;
};

// `extents[i]` is the width of the first i + 1 units of `text` (what
// GetTextExtentExPointW gives). The whole text when it fits `available`;
// otherwise the longest start that leaves room for an ellipsis of
// `ellipsisWidth`, never ending between the two halves of a surrogate pair.
TextFit FitTextEnd(std::u16string_view text, std::span<const int32_t> extents, int32_t available,
                   int32_t ellipsisWidth);

// The parts of `ranges` that lie in the first `units` units.
std::vector<TextRange> ClipRanges(const std::vector<TextRange>& ranges, size_t units);

}  // namespace quillmor
