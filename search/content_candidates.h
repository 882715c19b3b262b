// The files a content search reads: files of the scope whose extension the
// query names, narrowed by the size and time presets.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "engine/match_item.h"
#include "search/search_generation.h"
#include "search/search_scope.h"

namespace quillmor {

// The size and time test of one candidate (volume, record index), made for
// one search from the filter settings of its start. Called without any
// volume lock held; it takes what it reads under. Null when neither a size
// nor a time preset is set.
using CandidateFilter = std::function<bool(VolumeIndex& volume, uint32_t recordIndex)>;

// Appends to `out` every live file (not a directory) of the volumes in
// `scope` (available, not being built; with the Desktop scope only files under
// the Desktop folder) whose name's extension, from its last '.' and
// lower-cased ('A'..'Z' only), is one of `extensions` exactly. Volumes in
// snapshot order, records in index order, one volume's recordsLock held
// shared at a time. False, leaving `out` incomplete, when the search is
// cancelled (shutdown tested at every record, the generation every 256).
bool CollectContentCandidates(const std::vector<VolumePtr>& snapshot, const ResolvedScope& scope,
                              std::span<const std::u16string> extensions, Generation generation,
                              std::vector<MatchItem>& out);

// Keeps the candidates `filter` accepts, in order. False when the search is
// cancelled (tested before every candidate).
bool FilterCandidates(std::vector<MatchItem>& candidates, const CandidateFilter& filter, Generation generation);

}  // namespace quillmor
