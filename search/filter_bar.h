// The filter bar: one button per tag, captioned with the tag's name and the
// number of current results it would keep, plus the texts of the preset boxes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/match_item.h"
#include "search/filter_state.h"
#include "search/size_time_filter.h"

namespace quillmor {

struct FilterBarCounts {
  std::vector<uint64_t> counts;  // one per tag
  // Some row was skipped because its attributes are not cached yet: the window
  // should have the visible rows hydrated (scroll-settle timer) and count again.
  bool attributesMissing = false;
};

// Counts, for every tag, the rows of `rows` that selecting it would show,
// from cached attributes only (the disk is never read). Tag 0 counts every row
// that passes the size and time test; a directory counts for each folder tag,
// a file for each other tag listing its extension. While a size or time preset
// is set, directories and rows without cached attributes count nowhere.
// Deleted records, records without a name and indices past a volume's end are
// skipped. Takes each volume's recordsLock shared, briefly.
FilterBarCounts CountFilterBar(const std::vector<MatchItem>& rows, const FilterTagList& tags,
                               const SizeTimeFilter& sizeTime);

// The date pickers as the window read them.
struct PickedDates {
  bool valid = false;  // both pickers answered with a valid date
  int32_t from = 0;    // year * 10000 + month * 100 + day
  int32_t to = 0;
};

struct FilterBar {
  FilterBarCounts counts;
  // TagDisplayName + "\r\n(" + count + ")" per tag, in tag order.
  std::vector<std::u16string> captions;
};

// The whole refresh the window runs when its filter-bar timer fires, after it
// stored the custom size edit's text (FilterState::SetCustomSizeText): counts
// the current (unfiltered) results against the current tags and presets and
// captions every button. `results` may be null (no search yet: all counts 0).
// The window sets each caption that differs from its button's text, and arms
// the scroll-settle timer when counts.attributesMissing.
FilterBar ComputeFilterBar(Clock& clock, const FilterState& state, const Results& results, const PickedDates& dates,
                           bool sortedByCreated);

// A tag button's caption.
std::u16string TagButtonCaption(size_t index, const FilterTag& tag, uint64_t count);

// The items of the preset boxes and the hint beside the custom range, in the
// current language.
std::vector<std::u16string> SizePresetTexts();
std::vector<std::u16string> TimePresetTexts();
std::vector<std::u16string> SizeUnitTexts();
std::u16string TimeRangeHintText();

}  // namespace quillmor
