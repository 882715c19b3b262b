#include "app/core/thumbnail_extensions.h"

#include <algorithm>
#include <array>

namespace quillmor {

bool IsThumbnailExtension(std::u16string_view extension) {
  static constexpr std::array<std::u16string_view, 37> kExtensions = {
      u".jpg",  u".jpeg", u".jpe",  u".jfif", u".pjpeg", u".png",  u".bmp", u".gif", u".webp", u".tif",
      u".tiff", u".ico",  u".heic", u".heif", u".avif",  u".jxl",  u".jp2", u".j2k", u".jpf",  u".jpx",
      u".raw",  u".dng",  u".cr2",  u".cr3",  u".nef",   u".arw",  u".orf", u".rw2", u".mp4",  u".mkv",
      u".avi",  u".mov",  u".wmv",  u".flv",  u".m4v",   u".mpeg", u".mpg"};
  // Longer than any of them: not worth folding.
  constexpr size_t kLongest = 6;
  if (extension.size() > kLongest) return false;
  char16_t folded[kLongest];
  for (size_t i = 0; i < extension.size(); ++i) {
    const char16_t c = extension[i];
    folded[i] = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
  }
  const std::u16string_view lower(folded, extension.size());
  return std::find(kExtensions.begin(), kExtensions.end(), lower) != kExtensions.end();
}

bool HasThumbnailExtension(std::u16string_view name) {
  const size_t dot = name.rfind(u'.');
  return dot != std::u16string_view::npos && IsThumbnailExtension(name.substr(dot));
}

}  // namespace quillmor
