#include "search/name_scan.h"

#include <algorithm>

namespace quillmor {
namespace {

// How common a unit is in lower-case file names, higher for more common;
// units not listed (other punctuation, non-ASCII) are rare. A rough order of
// the letters, digits and separators of typical names: it only has to pick
// filter units that seldom occur.
int Commonness(char16_t c) {
  constexpr std::u16string_view kByFrequency = u"zqjxkywvfb7685432 -9ugh1pmdc0l_snroiat.e";
  const size_t at = kByFrequency.find(c);
  return at == std::u16string_view::npos ? 0 : static_cast<int>(at) + 1;
}

}  // namespace

NameNeedle::NameNeedle(std::u16string_view term) : text_(term) {
  const size_t m = text_.size();
  if (m == 0) return;
  // The rarest unit (leftmost on a tie), then the rarest of the others
  // (rightmost on a tie, so that the two lie apart: neighbours in a name are
  // more alike).
  size_t rarest = 0;
  for (size_t k = 1; k < m; ++k) {
    if (Commonness(text_[k]) < Commonness(text_[rarest])) rarest = k;
  }
  size_t other = rarest;
  for (size_t k = 0; k < m; ++k) {
    if (k == rarest) continue;
    if (other == rarest || Commonness(text_[k]) <= Commonness(text_[other])) other = k;
  }
  firstOffset_ = std::min(rarest, other);
  secondOffset_ = std::max(rarest, other);
  firstUnit_ = text_[firstOffset_];
  secondUnit_ = text_[secondOffset_];
  filterIsExact_ = m <= 2;
}

}  // namespace quillmor
