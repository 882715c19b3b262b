// File names as bytes, the way POSIX file systems store them, and back,
// without loss. A name need not be valid UTF-8: each byte that is not part of
// a valid UTF-8 sequence becomes the lone surrogate U+DC80 + byte (U+DC80 to
// U+DCFF), which valid UTF-8 never produces, and turns back into that byte.
// So every name maps to its own UTF-16 text and that text reaches the same
// file again; names that are valid UTF-8 convert as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace quillmor {

std::u16string FileNameFromBytes(std::string_view bytes);

// The inverse of FileNameFromBytes. Surrogates it cannot have produced (a
// lone one outside U+DC80 to U+DCFF) become U+FFFD, as in Utf16ToUtf8.
std::string FileNameToBytes(std::u16string_view name);

}  // namespace quillmor
