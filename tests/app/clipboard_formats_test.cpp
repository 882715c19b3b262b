#include "app/core/clipboard_formats.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

uint32_t Load32(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

std::u16string UnitsAt(const std::vector<uint8_t>& bytes, size_t at, size_t count) {
  std::u16string text;
  for (size_t i = 0; i < count; ++i) {
    text.push_back(static_cast<char16_t>(bytes[at + 2 * i] | bytes[at + 2 * i + 1] << 8));
  }
  return text;
}

TEST(DropFilesBlockTest, HeaderThenEachPathWithItsZeroThenOneMoreZero) {
  const std::vector<std::u16string> paths{u"C:\\a\\report.txt", u"D:\\中文\\é.pdf"};
  const std::vector<uint8_t> block = DropFilesBlock(paths);
  // 20 + 2 x (sum of path lengths + 2) + 2 for two files.
  ASSERT_EQ(block.size(), 20 + 2 * (paths[0].size() + paths[1].size() + 2) + 2);
  EXPECT_EQ(Load32(block, 0), 20u);  // pFiles
  EXPECT_EQ(Load32(block, 4), 0u);   // pt.x
  EXPECT_EQ(Load32(block, 8), 0u);   // pt.y
  EXPECT_EQ(Load32(block, 12), 0u);  // fNC
  EXPECT_EQ(Load32(block, 16), 1u);  // fWide
  const size_t second = 20 + 2 * (paths[0].size() + 1);
  EXPECT_EQ(UnitsAt(block, 20, paths[0].size() + 1), paths[0] + u'\0');
  EXPECT_EQ(UnitsAt(block, second, paths[1].size() + 2), paths[1] + u'\0' + u'\0');
}

TEST(DropFilesBlockTest, NoPathsIsTheHeaderAndTheClosingZero) {
  const std::vector<uint8_t> block = DropFilesBlock({});
  ASSERT_EQ(block.size(), 22u);
  EXPECT_EQ(Load32(block, 0), 20u);
  EXPECT_EQ(block[20] | block[21], 0);
}

TEST(PathListTextTest, CrLfBetweenPathsAndNothingAfterTheLast) {
  const std::vector<std::u16string> three{u"C:\\a.txt", u"C:\\b\\c.txt", u"E:\\d"};
  EXPECT_EQ(PathListText(three), u"C:\\a.txt\r\nC:\\b\\c.txt\r\nE:\\d");
  EXPECT_EQ(PathListText(std::vector<std::u16string>{u"C:\\only"}), u"C:\\only");
  EXPECT_EQ(PathListText({}), u"");
}

}  // namespace
}  // namespace quillmor
