// The eight built-in filter tags, the folder tag added to lists without one,
// and the names tags are shown under in the current language.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "search/filter_tag.h"

namespace quillmor {

// "All Files", "Folders", "Documents", "Images", "Archives", "Applications",
// "Videos", "Audio".
inline constexpr size_t kDefaultTagCount = 8;

// The first default's built-in Chinese name. A tag file starting with it holds
// Chinese defaults.
inline constexpr std::u16string_view kChineseAllFilesName = u"所有文件";

// The defaults with their built-in names: the Chinese ones when `chinese`,
// else the English ones.
FilterTagList BuildDefaultTags(bool chinese);

// The defaults named in the current language: for each, the active table's
// "Filter.<i>" text, else its text for the built-in name, else the built-in
// name (Chinese or English by the current language's Chinese flag). Names are
// made fit for the filters file (FilterFileSafeName).
FilterTagList LocalisedDefaultTags();

// When no tag of the list is a folder tag, inserts one (named by the localised
// "Filter_Folders", extension ".dir") at position 1, or appends it to an empty
// list, and returns true.
bool EnsureFolderTag(FilterTagList& tags);

// The caption of the tag at `index`: the active table's text under a key equal
// to the tag's name when there is one; else, for a default position whose tag
// still has the default's extensions (same order, any case), the localised
// "Filter.<index>"; else the tag's own name.
std::u16string TagDisplayName(size_t index, const FilterTag& tag);

// A name as a filters file line can carry it: line feeds and '=' become
// spaces, blanks are trimmed and leading '#' removed. Names from language files
// may hold any of these; names read from a filters file never change here.
std::u16string FilterFileSafeName(std::u16string_view name);

}  // namespace quillmor
