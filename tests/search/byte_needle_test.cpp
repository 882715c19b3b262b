#include "search/byte_needle.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace quillmor {
namespace {

bool Naive(std::string_view haystack, std::string_view needle) {
  return !needle.empty() && haystack.find(needle) != std::string_view::npos;
}

TEST(ByteNeedleTest, EmptyOrLongerNeedlesNeverOccur) {
  EXPECT_FALSE(ByteNeedle("").FoundIn("abc"));
  EXPECT_FALSE(ByteNeedle("").FoundIn(""));
  EXPECT_FALSE(ByteNeedle("abcd").FoundIn("abc"));
  EXPECT_TRUE(ByteNeedle("abc").FoundIn("abc"));
  EXPECT_TRUE(ByteNeedle("c").FoundIn("abc"));
}

TEST(ByteNeedleTest, BytesAreExactAndAnyValue) {
  EXPECT_FALSE(ByteNeedle("Foo").FoundIn("a foo b"));
  EXPECT_TRUE(ByteNeedle(std::string("a\0b", 3)).FoundIn(std::string("xxa\0byy", 7)));
  EXPECT_FALSE(ByteNeedle(std::string("a\0b", 3)).FoundIn("xxa byy"));
  EXPECT_TRUE(ByteNeedle("\xFF\xFE\x80").FoundIn("..\xFF\xFE\x80.."));
}

// Every needle at every offset of haystacks around the 16- and 32-byte
// steps of the vector loop, against std::string_view::find.
TEST(ByteNeedleTest, FindsEveryPlacementAcrossBlockEdges) {
  const std::string needles[] = {"ab",
                                 "ba",
                                 "zq",
                                 "aaaa",
                                 "abcabd",
                                 "periwinkle",
                                 std::string("t\0e\0s\0t\0", 8),
                                 std::string(33, 'x') + "y",
                                 std::string("\0\x01", 2)};
  for (const std::string& needle : needles) {
    const ByteNeedle compiled(needle);
    for (size_t length = needle.size(); length <= 160; ++length) {
      // Filler made of the needle's own bytes, shifted, so that partial
      // matches are everywhere.
      std::string filler(length, '.');
      for (size_t i = 0; i < length; ++i) filler[i] = needle[(i * 7 + 1) % needle.size()] ^ ((i % 3 == 0) ? 1 : 0);
      EXPECT_EQ(compiled.FoundIn(filler), Naive(filler, needle)) << needle << " in filler of " << length;
      for (size_t at = 0; at + needle.size() <= length; ++at) {
        std::string haystack = filler;
        haystack.replace(at, needle.size(), needle);
        ASSERT_TRUE(compiled.FoundIn(haystack)) << needle.size() << "-byte needle at " << at << " of " << length;
      }
    }
  }
}

TEST(ByteNeedleTest, AgreesWithFindOnRandomText) {
  std::mt19937 random(7);
  // A small alphabet makes near misses and real matches common.
  const auto text = [&](size_t n) {
    std::string s(n, 'a');
    for (char& c : s) c = "ab \0\xE9"[random() % 5];
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::string needle = text(1 + random() % 6);
    const std::string haystack = text(random() % 300);
    ASSERT_EQ(ByteNeedle(needle).FoundIn(haystack), Naive(haystack, needle)) << round;
  }
}

}  // namespace
}  // namespace quillmor
