#include "search/filter_bar.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>

#include "search/default_filter_tags.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

// Rows of one volume counted under one hold of its records lock; a bound keeps
// the journal monitor from waiting long behind a big result set.
constexpr size_t kRowsPerLockHold = 1024;

// Extension to the tags (index 1 on, folder tags left out) that list it, so a
// row costs one lookup however many tags there are.
using ExtensionTags = std::unordered_map<std::u16string, std::vector<uint32_t>, TextHash, std::equal_to<>>;

ExtensionTags IndexExtensions(const FilterTagList& tags) {
  ExtensionTags byExtension;
  for (size_t i = 1; i < tags.size(); ++i) {
    if (IsFolderTag(tags[i])) continue;
    for (const std::u16string& extension : tags[i].extensions) {
      std::vector<uint32_t>& listing = byExtension[extension];
      if (listing.empty() || listing.back() != i) listing.push_back(static_cast<uint32_t>(i));
    }
  }
  return byExtension;
}

}  // namespace

FilterBarCounts CountFilterBar(const std::vector<MatchItem>& rows, const FilterTagList& tags,
                               const SizeTimeFilter& sizeTime) {
  FilterBarCounts result;
  result.counts.assign(tags.size(), 0);
  if (tags.empty()) return result;
  const ExtensionTags byExtension = IndexExtensions(tags);
  std::vector<uint32_t> folderTags;
  for (size_t i = 1; i < tags.size(); ++i) {
    if (IsFolderTag(tags[i])) folderTags.push_back(static_cast<uint32_t>(i));
  }
  const bool sizeOrTime = sizeTime.Active();

  size_t next = 0;
  while (next < rows.size()) {
    VolumeIndex* volume = rows[next].volume;
    if (volume == nullptr) {
      ++next;
      continue;
    }
    std::shared_lock lock(volume->recordsLock);
    const size_t recordCount = volume->records.size();
    const size_t stop = std::min(rows.size(), next + kRowsPerLockHold);
    for (; next < stop && rows[next].volume == volume; ++next) {
      const uint32_t index = rows[next].recordIndex;
      if (index >= recordCount) continue;
      const FileRecord& record = volume->records[index];
      if (record.deleted || record.name == nullptr) continue;
      if (sizeOrTime) {
        if (record.isDirectory) continue;
        AttrEntry attributes;
        if (!volume->LookupAttributes(record.fileRef, attributes)) {
          result.attributesMissing = true;
          continue;
        }
        if (!PassesSizeAndTime(sizeTime, attributes)) continue;
      }
      ++result.counts[0];
      if (record.isDirectory) {
        for (uint32_t tag : folderTags) ++result.counts[tag];
        continue;
      }
      const std::u16string_view name(record.lowerName(), record.nameLength);
      const std::u16string_view extension = ExtensionOf(name);
      if (extension.empty()) continue;
      if (const auto found = byExtension.find(extension); found != byExtension.end()) {
        for (uint32_t tag : found->second) ++result.counts[tag];
      }
    }
  }
  return result;
}

FilterBar ComputeFilterBar(Clock& clock, const FilterState& state, const Results& results, const PickedDates& dates,
                           bool sortedByCreated) {
  const FilterTagsSnapshot tags = state.Tags();
  const SizeTimeFilter sizeTime =
      MakeFilterBarSizeTime(clock, state.Settings(), dates.valid, dates.from, dates.to, sortedByCreated);
  FilterBar bar;
  if (results) {
    bar.counts = CountFilterBar(*results, *tags, sizeTime);
  } else {
    bar.counts.counts.assign(tags->size(), 0);
  }
  bar.captions.reserve(tags->size());
  for (size_t i = 0; i < tags->size(); ++i)
    bar.captions.push_back(TagButtonCaption(i, (*tags)[i], bar.counts.counts[i]));
  return bar;
}

std::u16string TagButtonCaption(size_t index, const FilterTag& tag, uint64_t count) {
  std::u16string caption = TagDisplayName(index, tag);
  caption += u"\r\n(";
  for (char c : std::to_string(count)) caption.push_back(static_cast<char16_t>(c));
  caption += u')';
  return caption;
}

std::vector<std::u16string> SizePresetTexts() {
  return {Translate(u"Common_All", u"全部", u"All"), u"< 1MB", u"1~100MB", u"> 100MB",
          Translate(u"Common_Custom", u"自定义", u"Custom")};
}

std::vector<std::u16string> TimePresetTexts() {
  return {Translate(u"Common_All", u"全部", u"All"), Translate(u"Time_Today", u"今天", u"Today"),
          Translate(u"Time_7Days", u"7 天内", u"7 days"), Translate(u"Time_30Days", u"30 天内", u"30 days"),
          Translate(u"Common_Custom", u"自定义", u"Custom")};
}

std::vector<std::u16string> SizeUnitTexts() { return {u"B", u"KB", u"MB", u"GB"}; }

std::u16string TimeRangeHintText() { return Translate(u"Time_RangeDefault", u"0-7（天前）", u"0-7(days ago)"); }

}  // namespace quillmor
