#include "app/core/thumbnail_extensions.h"

#include <algorithm>
#include <iterator>

namespace quillmor {

bool IsThumbnailExtension(std::u16string_view extension) {
  static constexpr std::u16string_view kExtensions[] = {
      u".jpg",  u".jpeg", u".jpe",  u".jfif", u".pjpeg", u".png",  u".bmp", u".gif", u".webp", u".tif",
      u".tiff", u".ico",  u".heic", u".heif", u".avif",  u".jxl",  u".jp2", u".j2k", u".jpf",  u".jpx",
      u".raw",  u".dng",  u".cr2",  u".cr3",  u".nef",   u".arw",  u".orf", u".rw2", u".mp4",  u".mkv",
      u".avi",  u".mov",  u".wmv",  u".flv",  u".m4v",   u".mpeg", u".mpg"};
  // No extension of the list is longer.
  constexpr size_t kLongest = 6;
  if (extension.size() > kLongest) return false;
  char16_t folded[kLongest];
  for (size_t i = 0; i < extension.size(); ++i) {
    const char16_t c = extension[i];
    folded[i] = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
  }
  const std::u16string_view lower(folded, extension.size());
  return std::find(std::begin(kExtensions), std::end(kExtensions), lower) != std::end(kExtensions);
}

bool HasThumbnailExtension(std::u16string_view name) {
  const size_t dot = name.rfind(u'.');
  return dot != std::u16string_view::npos && IsThumbnailExtension(name.substr(dot));
}

}  // namespace quillmor
