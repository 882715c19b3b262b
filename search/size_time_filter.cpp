#include "search/size_time_filter.h"

#include <mutex>
#include <shared_mutex>
#include <utility>

namespace quillmor {
namespace {

SizeTimeFilter PrepareCommon(Clock& clock, const FilterSettings& settings, bool testCreationTime) {
  SizeTimeFilter filter;
  filter.sizePreset = settings.sizePreset;
  if (settings.sizePreset == kSizeCustom) {
    filter.customSize = ParseCustomSize(settings.customSizeText, settings.sizeUnit);
  }
  filter.time.preset = settings.timePreset;
  if (settings.timePreset == kTimeToday) filter.time.todayMidnightUtc = TodayMidnightUtc(clock);
  if (settings.timePreset == kTime7Days || settings.timePreset == kTime30Days) filter.time.now = clock.UtcNowFileTime();
  filter.testCreationTime = testCreationTime;
  return filter;
}

}  // namespace

SizeTimeFilter MakeFilterPassSizeTime(Clock& clock, const FilterSettings& settings, bool datesValid, int32_t from,
                                      int32_t to, bool testCreationTime, AttributeHydrator hydrate) {
  SizeTimeFilter filter = PrepareCommon(clock, settings, testCreationTime);
  if (settings.timePreset == kTimeCustom) {
    filter.time.custom.state = CustomTimeRange::State::kFailsAll;
    if (datesValid) filter.time.custom = MakeCustomTimeRange(clock, from, to, CustomTimeRange::State::kFailsAll);
  }
  filter.hydrate = std::move(hydrate);
  return filter;
}

SizeTimeFilter MakeContentSearchSizeTime(Clock& clock, const FilterSettings& settings, bool testCreationTime,
                                         AttributeHydrator hydrate) {
  SizeTimeFilter filter = PrepareCommon(clock, settings, testCreationTime);
  if (settings.timePreset == kTimeCustom) {
    filter.time.custom = MakeCustomTimeRange(clock, settings.customDateFrom, settings.customDateTo,
                                             CustomTimeRange::State::kNoRestriction);
  }
  filter.hydrate = std::move(hydrate);
  return filter;
}

SizeTimeFilter MakeFilterBarSizeTime(Clock& clock, const FilterSettings& settings, bool datesValid, int32_t from,
                                     int32_t to, bool testCreationTime) {
  SizeTimeFilter filter = PrepareCommon(clock, settings, testCreationTime);
  if (settings.timePreset == kTimeCustom && datesValid) {
    filter.time.custom = MakeCustomTimeRange(clock, from, to, CustomTimeRange::State::kFailsAll);
  }
  return filter;
}

bool PassesSizeAndTime(const SizeTimeFilter& filter, const AttrEntry& attributes) {
  if (!PassesSizePreset(filter.sizePreset, filter.customSize, attributes.size)) return false;
  return PassesTimeFilter(filter.time, filter.testCreationTime ? attributes.creationTime : attributes.lastWriteTime);
}

bool PassesSizeAndTime(const SizeTimeFilter& filter, VolumeIndex& volume, uint32_t recordIndex, uint64_t fileRef) {
  if (!filter.Active()) return true;
  AttrEntry attributes;
  if (!volume.LookupAttributes(fileRef, attributes)) {
    attributes = AttrEntry{};
    if (!filter.hydrate || !filter.hydrate(volume, recordIndex, attributes) || !attributes.known) return false;
  }
  return PassesSizeAndTime(filter, attributes);
}

bool PassesSizeAndTime(const SizeTimeFilter& filter, VolumeIndex& volume, uint32_t recordIndex) {
  uint64_t fileRef = 0;
  {
    std::shared_lock lock(volume.recordsLock);
    if (recordIndex >= volume.records.size() || volume.records[recordIndex].deleted) return false;
    fileRef = volume.records[recordIndex].fileRef;
  }
  return PassesSizeAndTime(filter, volume, recordIndex, fileRef);
}

}  // namespace quillmor
