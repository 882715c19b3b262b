// The files the icon views show a thumbnail for: images and videos, by
// extension.
#pragma once

#include <string_view>

namespace quillmor {

// Whether `extension` (with its dot, any case: ".JPG") is an image or video
// extension the shell can render.
bool IsThumbnailExtension(std::u16string_view extension);

// Whether a file `name` ends in such an extension (the part from the last
// "."; a name without a dot has none).
bool HasThumbnailExtension(std::u16string_view name);

}  // namespace quillmor
