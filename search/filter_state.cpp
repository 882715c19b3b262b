#include "search/filter_state.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace quillmor {
namespace {

// At most `limit` units, never ending in half of a surrogate pair.
std::u16string_view CutTo(std::u16string_view text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t size = limit;
  if (text[size - 1] >= 0xD800 && text[size - 1] <= 0xDBFF) --size;
  return text.substr(0, size);
}

}  // namespace

FilterState::FilterState() : tags_(std::make_shared<const FilterTagList>()) {
  customSizeHash.store(CustomSizeTextHash(presets.customSizeText));
}

FilterTagsSnapshot FilterState::Tags() const {
  std::lock_guard lock(mutex_);
  return tags_;
}

void FilterState::SetTags(FilterTagList tags) {
  auto next = std::make_shared<const FilterTagList>(std::move(tags));
  const int32_t count = static_cast<int32_t>(std::min<size_t>(next->size(), INT32_MAX));
  FilterTagsSnapshot old;
  {
    std::lock_guard lock(mutex_);
    old = std::exchange(tags_, std::move(next));
  }
  if (selectedTag.load() >= count) selectedTag.store(0);
}

bool FilterState::SelectTag(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= Tags()->size()) return false;
  selectedTag.store(index);
  return true;
}

FilterSettings FilterState::Settings() const {
  FilterSettings settings = presets;
  settings.selectedTag = selectedTag.load();
  return settings;
}

void FilterState::SetCustomSizeText(std::u16string_view text) {
  presets.customSizeText = CutTo(text, kMaxSizeRangeChars);
  customSizeHash.store(CustomSizeTextHash(presets.customSizeText));
}

void FilterState::LoadPresets(const WindowSettings& window) {
  presets.sizePreset = window.sizePreset;
  presets.timePreset = window.timePreset;
  presets.sizeUnit = window.sizeUnit;
  presets.customDateFrom = window.timeStart;
  presets.customDateTo = window.timeEnd;
  SetCustomSizeText(window.sizeRange.empty() ? kDefaultCustomSizeText : std::u16string_view(window.sizeRange));
}

void FilterState::StorePresets(WindowSettings& window) const {
  window.sizePreset = presets.sizePreset;
  window.timePreset = presets.timePreset;
  window.sizeUnit = presets.sizeUnit;
  window.sizeRange = presets.customSizeText;
  window.timeStart = presets.customDateFrom;
  window.timeEnd = presets.customDateTo;
}

uint32_t CustomSizeTextHash(std::u16string_view text) {
  uint32_t hash = 2166136261u;
  for (char16_t unit : text) hash = (hash ^ unit) * 16777619u;
  return hash;
}

}  // namespace quillmor
