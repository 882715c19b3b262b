// The title and status texts the main window shows when a posted message
// reports: search results (final, re-sorted or a partial batch), filtered
// results, and the refresh of the non-NTFS volumes. All localised.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window_messages.h"

namespace quillmor {

// The window title: "Quillmor - %lld+ results..." for a partial batch,
// "Quillmor - %lld results found" otherwise, at most 127 characters (the
// 128-character buffer and its terminator).
std::u16string SearchResultsTitle(int64_t lParam, uint64_t displayedCount);

// The status line. Empty without results (no snapshot, or an empty one);
// a partial batch "Searching... showing n results"; with a tag other than 0
// selected "Filter: <tag> | Applying filter..."; else
// "Filter: <tag> | Hits: n". `resultCount` is the snapshot's size.
struct SearchStatusInput {
  int64_t lParam = kResultsFinal;
  bool hasSnapshot = false;
  uint64_t resultCount = 0;
  int32_t selectedTag = 0;
  std::u16string_view tagName;
};
std::u16string SearchResultsStatus(const SearchStatusInput& input);

// WMU_FILTER_RESULTS's title: "Quillmor - Filter: <tag> | Hits: n". A label
// that ends in a colon (the language tables write "Quillmor - Filter:") gets
// a space before what follows it, unless that brings its own space: without a
// tag name the title reads "Quillmor - Filter: | Hits: n".
std::u16string FilterResultsTitle(std::u16string_view tagName, uint64_t count);

// WMU_NONNTFS_REFRESHED: none refreshed (ok < 1) reports the failure; else
// "Refreshed <ok>" and either " non-NTFS volumes; <failed> failed; ..." or
// " non-NTFS volume indexes; ...".
std::u16string NonNtfsRefreshStatus(int64_t refreshed, int64_t failed);

// A tag's name as titles show it: its button caption up to the first CR LF.
std::u16string_view TagNameFromCaption(std::u16string_view caption);
// The count a tag button shows: what follows the caption's first CR LF,
// without its parentheses; empty when there is no line break.
std::u16string_view CountFromCaption(std::u16string_view caption);

}  // namespace quillmor
