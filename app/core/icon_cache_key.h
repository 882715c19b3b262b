// The icon cache's key for one icon: the path's hash with the size and the
// kind of image mixed in, so that one file's 16 px icon, 48 px icon and
// thumbnail are three entries.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillmor {

// FNV-1a 64 (offset 0x14650FB0739D0383, prime 0x100000001B3) over each UTF-16
// unit of `path` as two bytes, low then high, with A-Z lower-cased first;
// then `size` XORed into the top 16 bits (size << 48), bit 63 flipped for a
// directory and bit 62 for a thumbnail.
uint64_t IconCacheKey(std::u16string_view path, int32_t size, bool isDirectory, bool thumbnail);

}  // namespace quillmor
