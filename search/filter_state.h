// The filters the user has set: the tag list with the selected tag, the size
// and time presets with their custom ranges. The program keeps one FilterState
// for its main window; tests and the command line own their own.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "search/filter_tag.h"
#include "settings/window_settings.h"

namespace quillmor {

enum SizePreset : int32_t {
  kSizeAll = 0,
  kSizeUnder1MB = 1,   // "< 1MB"
  kSize1To100MB = 2,   // "1~100MB"
  kSizeOver100MB = 3,  // "> 100MB"
  kSizeCustom = 4,
};

enum TimePreset : int32_t {
  kTimeAll = 0,
  kTimeToday = 1,
  kTime7Days = 2,
  kTime30Days = 3,
  kTimeCustom = 4,
};

enum SizeUnit : int32_t { kUnitBytes = 0, kUnitKB = 1, kUnitMB = 2, kUnitGB = 3 };

// What the custom size edit shows while nothing was typed yet.
inline constexpr std::u16string_view kDefaultCustomSizeText = u"1-100";

// The preset values a filter pass or a count works with, copied from the user
// interface's controls at its start.
struct FilterSettings {
  int32_t selectedTag = 0;
  int32_t sizePreset = kSizeAll;
  int32_t timePreset = kTimeAll;
  int32_t sizeUnit = kUnitMB;
  std::u16string customSizeText{kDefaultCustomSizeText};  // at most kMaxSizeRangeChars
  // year * 10000 + month * 100 + day, as last read from the date pickers.
  int32_t customDateFrom = 0;
  int32_t customDateTo = 0;

  bool SizeOrTimeActive() const { return sizePreset != kSizeAll || timePreset != kTimeAll; }
  bool AnyActive() const { return selectedTag != 0 || SizeOrTimeActive(); }
};

// Locking: the tag list is published as an immutable snapshot behind `mutex_`,
// held only to copy or swap the pointer, so a filter pass or a content search
// on another thread keeps reading the list it started with while the
// user-interface thread installs a new one (reset, language switch).
// `selectedTag` and `customSizeHash` are atomics because jobs compare them with
// the values they started with. `presets` belongs to the user-interface thread
// alone; jobs get copies (Settings()).
class FilterState {
 public:
  FilterState();
  FilterState(const FilterState&) = delete;
  FilterState& operator=(const FilterState&) = delete;

  // The current tag list; never null. Any thread.
  FilterTagsSnapshot Tags() const;
  // Installs a new tag list; the selected tag falls back to 0 when the list
  // no longer has it. User-interface thread.
  void SetTags(FilterTagList tags);

  // Selects a tag; false (and nothing changes) for an index outside the list.
  // User-interface thread.
  bool SelectTag(int32_t index);

  // The selected tag with a copy of the presets. User-interface thread.
  FilterSettings Settings() const;

  // Stores the custom size edit's text (cut to kMaxSizeRangeChars) and its
  // hash. User-interface thread.
  void SetCustomSizeText(std::u16string_view text);

  // The presets saved in window.ini, and back.
  void LoadPresets(const WindowSettings& window);
  void StorePresets(WindowSettings& window) const;

  std::atomic<int32_t> selectedTag{0};
  // CustomSizeTextHash of presets.customSizeText.
  std::atomic<uint32_t> customSizeHash{0};
  // User-interface thread only; selectedTag there is unused (see above).
  FilterSettings presets;

 private:
  mutable std::mutex mutex_;
  FilterTagsSnapshot tags_;  // Guarded by mutex_. Never null.
};

// 32-bit FNV-1a over the UTF-16 units of the custom size text, one unit per
// step: a job started for one text can tell that the text changed.
uint32_t CustomSizeTextHash(std::u16string_view text);

}  // namespace quillmor
