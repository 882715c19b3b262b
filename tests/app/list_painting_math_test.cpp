// The arithmetic behind the list's drawing: smooth corners, thumbnails
// fitted into their square, names cut before an ellipsis.
#include <gtest/gtest.h>

#include "app/core/rounded_corner.h"
#include "app/core/text_fit.h"
#include "app/core/theme_palette.h"
#include "app/core/thumbnail_image.h"

namespace quillmor {
namespace {

TEST(RoundedCornerTest, CoverageFallsFromInsideToTheCorner) {
  const std::vector<uint8_t> c = RoundedCornerCoverage(8);
  ASSERT_EQ(c.size(), 64u);
  const auto at = [&](int x, int y) { return c[static_cast<size_t>(y) * 8 + x]; };
  EXPECT_EQ(at(0, 0), 0);    // the very corner lies outside the arc
  EXPECT_EQ(at(7, 7), 255);  // next to the straight edges: inside
  EXPECT_EQ(at(7, 0), 255);
  EXPECT_EQ(at(0, 7), 255);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(at(x, y), at(y, x)) << x << "," << y;  // symmetric about the diagonal
      if (x > 0) {
        EXPECT_GE(at(x, y), at(x - 1, y)) << x << "," << y;  // never less inside
      }
    }
  }
  // Some pixels on the arc are partly covered: that is what smooths it.
  EXPECT_GT(at(2, 2), 0);
  EXPECT_LT(at(2, 2), 255);
  EXPECT_TRUE(RoundedCornerCoverage(0).empty());
  EXPECT_EQ(RoundedCornerCoverage(100000).size(), 256u * 256u);
}

TEST(RoundedCornerTest, BlendMixesEachChannel) {
  const uint32_t red = Rgb(255, 0, 0), blue = Rgb(0, 0, 255);
  EXPECT_EQ(BlendColour(red, blue, 255), red);
  EXPECT_EQ(BlendColour(red, blue, 0), blue);
  EXPECT_EQ(BlendColour(red, blue, 128), Rgb(128, 0, 127));
  EXPECT_EQ(BlendColour(Rgb(38, 58, 51), Rgb(18, 20, 28), 51), Rgb(22, 28, 33));
}

TEST(FitInsideTest, KeepsTheProportionsAndCentres) {
  const struct {
    int32_t width, height, box;
    Rect expected;
  } cases[] = {
      {100, 100, 48, {0, 0, 48, 48}},
      {200, 100, 48, {0, 12, 48, 36}},  // wide: bands above and below
      {100, 200, 48, {12, 0, 36, 48}},  // tall: bands left and right
      {1000, 1, 48, {0, 23, 48, 24}},   // never thinner than a pixel
      {16, 16, 48, {0, 0, 48, 48}},     // small pictures grow
      {0, 10, 48, {}},
      {10, 10, 0, {}},  // nothing to place
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitInside(c.width, c.height, c.box), c.expected) << c.width << "x" << c.height << " in " << c.box;
  }
}

TEST(ScaleToSquareTest, AveragesColourWhereAlphaIsAndLeavesMarginsClear) {
  // 4 x 2: the left half opaque red, the right half transparent (its
  // colour must not bleed into the average).
  const uint32_t red = 0xFFFF0000, clearGreen = 0x0000FF00;
  const std::vector<uint32_t> source{red, red, clearGreen, clearGreen, red, red, clearGreen, clearGreen};
  const std::vector<uint32_t> out = ScaleToSquare(source, 4, 2, 2);
  ASSERT_EQ(out.size(), 4u);
  // 4 x 2 fits a 2 px square as 2 x 1: the top row, the margin below.
  EXPECT_EQ(out[0], red);
  EXPECT_EQ(out[1], 0u);  // wholly transparent source: transparent target
  EXPECT_EQ(out[2], 0u);  // the margin row
  EXPECT_EQ(out[3], 0u);
}

TEST(ScaleToSquareTest, HalfTransparentBlocksKeepTheirColourAndHalveTheirAlpha) {
  const std::vector<uint32_t> source{0xFF0000FF, 0x00FFFFFF, 0x00FFFFFF, 0xFF0000FF};
  const std::vector<uint32_t> out = ScaleToSquare(source, 2, 2, 1);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0], 0x800000FFu);
}

TEST(ScaleToSquareTest, PicturesWithoutAlphaAreOpaqueAndSmallOnesGrow) {
  const std::vector<uint32_t> source{0x00102030};  // alpha 0 everywhere: no alpha channel
  const std::vector<uint32_t> out = ScaleToSquare(source, 1, 1, 3);
  ASSERT_EQ(out.size(), 9u);
  for (uint32_t p : out) EXPECT_EQ(p, 0xFF102030u);
}

TEST(ScaleToSquareTest, InconsistentInputGivesNothing) {
  const std::vector<uint32_t> three(3, 0xFFFFFFFF);
  EXPECT_TRUE(ScaleToSquare(three, 2, 2, 8).empty());
  EXPECT_TRUE(ScaleToSquare(three, 3, 1, 0).empty());
  EXPECT_TRUE(ScaleToSquare(three, -3, -1, 8).empty());
  EXPECT_TRUE(ScaleToSquare({}, 0, 0, 8).empty());
  EXPECT_TRUE(ScaleToSquare(three, 3, 1, 100000).empty());
}

TEST(FitTextEndTest, WholeTextOrTheLongestStartBeforeTheEllipsis) {
  const std::u16string_view text = u"abcdef";
  const std::vector<int32_t> extents{10, 20, 30, 40, 50, 60};  // 10 px a letter
  const struct {
    int32_t available;
    TextFit expected;
  } cases[] = {
      {60, {6, false}}, {100, {6, false}}, {59, {4, true}},  // 40 + an ellipsis of 15 fits 59; 50 + 15 does not
      {55, {4, true}},  {54, {3, true}},   {10, {0, true}}, {0, {0, true}}, {-5, {0, true}},
  };
  for (const auto& c : cases) EXPECT_EQ(FitTextEnd(text, extents, c.available, 15), c.expected) << c.available;
  EXPECT_EQ(FitTextEnd(u"", {}, 100, 15), TextFit{});
}

TEST(FitTextEndTest, NeverSplitsASurrogatePair) {
  const std::u16string text = u"a\U0001F600b";  // a, a pair, b
  const std::vector<int32_t> extents{10, 15, 30, 40};
  EXPECT_EQ(FitTextEnd(text, extents, 20, 0), (TextFit{1, true}));  // not between the halves
  EXPECT_EQ(FitTextEnd(text, extents, 35, 0), (TextFit{3, true}));
}

TEST(ClipRangesTest, KeepsWhatLiesBeforeTheCut) {
  const std::vector<TextRange> ranges{{0, 2}, {3, 4}, {9, 1}};
  EXPECT_EQ(ClipRanges(ranges, 5), (std::vector<TextRange>{{0, 2}, {3, 2}}));
  EXPECT_EQ(ClipRanges(ranges, 100), ranges);
  EXPECT_TRUE(ClipRanges(ranges, 0).empty());
}

}  // namespace
}  // namespace quillmor
