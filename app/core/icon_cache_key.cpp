#include "app/core/icon_cache_key.h"

namespace quillmor {

uint64_t IconCacheKey(std::u16string_view path, int32_t size, bool isDirectory, bool thumbnail) {
  constexpr uint64_t kOffset = 0x14650FB0739D0383ull;
  constexpr uint64_t kPrime = 0x100000001B3ull;
  uint64_t hash = kOffset;
  for (char16_t unit : path) {
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
    hash = (hash ^ (unit & 0xFFu)) * kPrime;
    hash = (hash ^ (unit >> 8)) * kPrime;
  }
  hash ^= static_cast<uint64_t>(static_cast<uint32_t>(size)) << 48;
  if (isDirectory) hash ^= uint64_t{1} << 63;
  if (thumbnail) hash ^= uint64_t{1} << 62;
  return hash;
}

}  // namespace quillmor
