// Visiting result rows a stretch at a time: consecutive rows of one volume,
// so that a job takes that volume's lock once per stretch instead of once per
// row. Results come grouped by volume, so stretches are long.
#pragma once

#include <cstddef>
#include <span>

#include "engine/match_item.h"

namespace quillmor {

// Rows a stretch holds at most, so that a writer waiting for the volume's
// lock (the journal monitor) is never kept out for long.
inline constexpr size_t kVolumeRunRows = 4096;

// Calls visit(volume, begin, end) for each stretch [begin, end) of `rows`
// whose rows all name `volume` (possibly null), in order.
template <typename Visit>
void ForEachVolumeRun(std::span<const MatchItem> rows, Visit&& visit) {
  size_t begin = 0;
  while (begin < rows.size()) {
    VolumeIndex* volume = rows[begin].volume;
    size_t end = begin + 1;
    while (end < rows.size() && end - begin < kVolumeRunRows && rows[end].volume == volume) ++end;
    visit(volume, begin, end);
    begin = end;
  }
}

}  // namespace quillmor
