// Filter tags: named lists of file extensions that narrow the results
// ("Documents", "Images"), and the folder tag, which selects directories.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillmor {

struct FilterTag {
  std::u16string name;
  // Each lower-case ('A' to 'Z' folded) and starting with '.', such as ".docx".
  std::vector<std::u16string> extensions;
  bool operator==(const FilterTag&) const = default;
};

// The tags in button order. Index 0 always means "no tag filtering", whatever
// its name and extensions.
using FilterTagList = std::vector<FilterTag>;

// A tag list as background jobs see it: replaced whole, never changed after it
// is published, kept alive by whoever still reads it.
using FilterTagsSnapshot = std::shared_ptr<const FilterTagList>;

// One of the extensions is ".dir" or ".folder" (any case): the tag selects
// directories instead of files.
bool IsFolderTag(const FilterTag& tag);

// The extension of a file name: from the last '.' to the end (".gz" for
// "archive.tar.gz"); empty without a '.'.
std::u16string_view ExtensionOf(std::u16string_view fileName);

// `foldedExtension` ('A' to 'Z' already folded) is one of the tag's. An empty
// extension is in no tag.
bool TagHasExtension(const FilterTag& tag, std::u16string_view foldedExtension);

// Whether a file of that name belongs to the tag at `tagIndex`: always for
// index 0; never for an index outside the list.
bool ExtensionInTag(const FilterTagList& tags, int32_t tagIndex, std::u16string_view fileName);

// The tag test of the filter pass for one live record, given the folded copy
// of its name (FileRecord::lowerName), so that no row needs folding. With tag 0 only files
// stay (the pass runs only while some filter is active); a folder tag keeps
// only directories, and only while no size or time preset is set; any other
// tag keeps the files whose extension it lists. An index outside the list
// keeps nothing.
bool PassesTagFilter(const FilterTagList& tags, int32_t tagIndex, bool isDirectory, std::u16string_view foldedName,
                     bool sizeOrTimeActive);

// PassesTagFilter for the many records of one pass, with what the tag is
// (none, the folder tag, a list of extensions) worked out once. `tags` must
// outlive it.
class TagFilter {
 public:
  TagFilter(const FilterTagList& tags, int32_t tagIndex, bool sizeOrTimeActive);
  bool Passes(bool isDirectory, std::u16string_view foldedName) const;

 private:
  enum class Keeps { kFiles, kDirectories, kExtensions, kNothing };
  Keeps keeps_ = Keeps::kNothing;
  const FilterTag* tag_ = nullptr;
};

}  // namespace quillmor
