// The size and time test of one result row, prepared once per pass. Three
// callers prepare it from their own sources of the custom date range:
// - the filter pass: the date pickers read at its start; pickers without a
//   valid date, or dates that cannot be converted, fail every row;
// - content-search candidates: the stored date numbers; a missing, invalid or
//   unconvertible date restricts nothing;
// - the filter-bar counts: the date pickers; pickers without a valid date
//   restrict nothing, dates that cannot be converted count no row.
#pragma once

#include <cstdint>
#include <functional>

#include "index/attr_entry.h"
#include "index/volume_index.h"
#include "search/custom_size.h"
#include "search/filter_state.h"
#include "search/time_range.h"

namespace quillmor {

// Reads a record's attributes from the disk into the volume's cache and
// returns them: true when `out` then holds known attributes. The program
// passes the attribute cache's hydration; tests pass a fake.
using AttributeHydrator = std::function<bool(VolumeIndex& volume, uint32_t recordIndex, AttrEntry& out)>;

struct SizeTimeFilter {
  int32_t sizePreset = kSizeAll;
  CustomSizeRange customSize;  // with kSizeCustom
  TimeFilter time;
  // The time presets test creation times (the result list is sorted by
  // "Created") instead of last-write times.
  bool testCreationTime = false;
  // Called for rows whose attributes are not cached; empty: such rows fail.
  AttributeHydrator hydrate;

  bool Active() const { return sizePreset != kSizeAll || time.preset != kTimeAll; }
};

// For the filter pass. `datesValid`: both pickers answered with a valid date,
// and `from` and `to` are their dates.
SizeTimeFilter MakeFilterPassSizeTime(Clock& clock, const FilterSettings& settings, bool datesValid, int32_t from,
                                      int32_t to, bool testCreationTime, AttributeHydrator hydrate);

// For content-search candidates: the custom range comes from
// settings.customDateFrom and customDateTo.
SizeTimeFilter MakeContentSearchSizeTime(Clock& clock, const FilterSettings& settings, bool testCreationTime,
                                         AttributeHydrator hydrate);

// For the filter-bar counts, which never read the disk.
SizeTimeFilter MakeFilterBarSizeTime(Clock& clock, const FilterSettings& settings, bool datesValid, int32_t from,
                                     int32_t to, bool testCreationTime);

// The size and time test of known attributes.
bool PassesSizeAndTime(const SizeTimeFilter& filter, const AttrEntry& attributes);

// The size and time test of one record whose file reference the caller has
// read (under recordsLock, released since). Reads nothing while no size or
// time preset is set; takes the attributes from the volume's cache, else
// from `filter.hydrate`; a row without attributes fails. Any thread; takes no
// records lock itself.
bool PassesSizeAndTime(const SizeTimeFilter& filter, VolumeIndex& volume, uint32_t recordIndex, uint64_t fileRef);

// The same for a caller that has not read the record: reads its file
// reference under a shared recordsLock first. A record past the volume's end
// or deleted fails.
bool PassesSizeAndTime(const SizeTimeFilter& filter, VolumeIndex& volume, uint32_t recordIndex);

}  // namespace quillmor
