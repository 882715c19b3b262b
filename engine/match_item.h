// One result row, and result vectors that keep their volumes alive.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/search_engine.h"

namespace quillmor {

// A file as a result row names it: its volume and its record index. The
// volume pointer is valid as long as the result vector holding the row (see
// MakeResults) or a volume snapshot of the search holds the volume.
struct MatchItem {
  VolumeIndex* volume = nullptr;
  uint32_t recordIndex = 0;
  bool operator==(const MatchItem&) const = default;
};

// Results are published whole and never changed afterwards.
using Results = std::shared_ptr<const std::vector<MatchItem>>;

// Wraps `items` for publication. The returned pointer also owns `volumes`
// (the snapshot the items came from), so every row's volume outlives the
// vector even when the engine drops it from its set meanwhile.
Results MakeResults(std::vector<MatchItem> items, std::vector<VolumePtr> volumes);

// Wraps `items`, drawn from the rows of `source` (reordered, filtered or
// pruned), so that they keep the same volumes alive as `source` does, without
// keeping `source`'s own vector alive.
Results DeriveResults(const Results& source, std::vector<MatchItem> items);

}  // namespace quillmor
