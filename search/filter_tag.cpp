#include "search/filter_tag.h"

#include <algorithm>

#include "index/ascii_case.h"

namespace quillmor {

bool IsFolderTag(const FilterTag& tag) {
  return std::any_of(tag.extensions.begin(), tag.extensions.end(), [](const std::u16string& extension) {
    return EqualIgnoringAsciiCase(extension, u".dir") || EqualIgnoringAsciiCase(extension, u".folder");
  });
}

std::u16string_view ExtensionOf(std::u16string_view fileName) {
  const size_t dot = fileName.rfind(u'.');
  return dot == std::u16string_view::npos ? std::u16string_view() : fileName.substr(dot);
}

bool TagHasExtension(const FilterTag& tag, std::u16string_view foldedExtension) {
  if (foldedExtension.empty()) return false;
  return std::find(tag.extensions.begin(), tag.extensions.end(), foldedExtension) != tag.extensions.end();
}

bool ExtensionInTag(const FilterTagList& tags, int32_t tagIndex, std::u16string_view fileName) {
  if (tagIndex == 0) return true;
  if (tagIndex < 0 || static_cast<size_t>(tagIndex) >= tags.size()) return false;
  std::u16string extension(ExtensionOf(fileName));
  for (char16_t& c : extension) c = FoldAsciiCase(c);
  return TagHasExtension(tags[tagIndex], extension);
}

bool PassesTagFilter(const FilterTagList& tags, int32_t tagIndex, bool isDirectory, std::u16string_view foldedName,
                     bool sizeOrTimeActive) {
  return TagFilter(tags, tagIndex, sizeOrTimeActive).Passes(isDirectory, foldedName);
}

TagFilter::TagFilter(const FilterTagList& tags, int32_t tagIndex, bool sizeOrTimeActive) {
  if (tagIndex == 0) {
    keeps_ = Keeps::kFiles;
  } else if (tagIndex > 0 && static_cast<size_t>(tagIndex) < tags.size()) {
    tag_ = &tags[tagIndex];
    if (!IsFolderTag(*tag_)) {
      keeps_ = Keeps::kExtensions;
    } else if (!sizeOrTimeActive) {
      keeps_ = Keeps::kDirectories;
    }
  }
}

bool TagFilter::Passes(bool isDirectory, std::u16string_view foldedName) const {
  switch (keeps_) {
    case Keeps::kFiles:
      return !isDirectory;
    case Keeps::kDirectories:
      return isDirectory;
    case Keeps::kExtensions:
      return !isDirectory && TagHasExtension(*tag_, ExtensionOf(foldedName));
    case Keeps::kNothing:
      break;
  }
  return false;
}

}  // namespace quillmor
