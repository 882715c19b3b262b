#include "app/core/icon_cache_key.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

TEST(IconCacheKeyTest, KnownValues) {
  // The empty path is the FNV offset itself.
  EXPECT_EQ(IconCacheKey(u"", 0, false, false), 0x14650FB0739D0383ull);
  // 'a' hashes as the bytes 61 00; a unit with a high byte (U+0141) as 41 01.
  EXPECT_EQ(IconCacheKey(u"a", 0, false, false), 0x9BABED00C65B0532ull);
  EXPECT_EQ(IconCacheKey(u"\u0141", 0, false, false), 0x9B3F2E00C5FEA1C5ull);
  EXPECT_EQ(IconCacheKey(u"C:\\Windows", 16, false, false), 0x19B82875E58CACD1ull);
  EXPECT_EQ(IconCacheKey(u"C:\\x.jpg", 48, false, true), 0x7EC0A78FDCFA3AE5ull);
}

TEST(IconCacheKeyTest, OnlyAsciiLettersAreFolded) {
  EXPECT_EQ(IconCacheKey(u"C:\\DATA\\Report.PDF", 16, false, false),
            IconCacheKey(u"c:\\data\\report.pdf", 16, false, false));
  EXPECT_NE(IconCacheKey(u"\u00C4", 16, false, false), IconCacheKey(u"\u00E4", 16, false, false));
  EXPECT_NE(IconCacheKey(u"A", 16, false, false), IconCacheKey(u"\u0141", 16, false, false));
}

TEST(IconCacheKeyTest, SizeAndKindAreMixedIntoTheTopBits) {
  const uint64_t base = IconCacheKey(u"C:\\x", 0, false, false);
  EXPECT_EQ(IconCacheKey(u"C:\\x", 16, false, false) ^ base, uint64_t{16} << 48);
  EXPECT_EQ(IconCacheKey(u"C:\\x", 0, true, false) ^ base, uint64_t{1} << 63);
  EXPECT_EQ(IconCacheKey(u"C:\\x", 0, false, true) ^ base, uint64_t{1} << 62);
  EXPECT_EQ(IconCacheKey(u"C:\\x", 48, true, true) ^ base, (uint64_t{48} << 48) ^ (uint64_t{3} << 62));
}

}  // namespace
}  // namespace quillmor
