#include "search/pinyin_initial.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/thread.h"
#include "tests/search/map_text_codec.h"

#if defined(__linux__)
#include "platform/sim/iconv_text_codec.h"
#endif

namespace quillmor {
namespace {

TEST(PinyinInitialOfGbCodeTest, RangeBoundaries) {
  const struct {
    uint16_t code;
    char16_t letter;
  } cases[] = {
      {0x0000, 0},    {0xB0A0, 0},    {0xB0A1, u'a'}, {0xB0C4, u'a'}, {0xB0C5, u'b'}, {0xB2C0, u'b'}, {0xB2C1, u'c'},
      {0xB4ED, u'c'}, {0xB4EE, u'd'}, {0xB6E9, u'd'}, {0xB6EA, u'e'}, {0xB7A1, u'e'}, {0xB7A2, u'f'}, {0xB8C0, u'f'},
      {0xB8C1, u'g'}, {0xB9FD, u'g'}, {0xB9FE, u'h'}, {0xBBF6, u'h'}, {0xBBF7, u'j'}, {0xBFA5, u'j'}, {0xBFA6, u'k'},
      {0xC0AB, u'k'}, {0xC0AC, u'l'}, {0xC2E7, u'l'}, {0xC2E8, u'm'}, {0xC4C2, u'm'}, {0xC4C3, u'n'}, {0xC5B5, u'n'},
      {0xC5B6, u'o'}, {0xC5BD, u'o'}, {0xC5BE, u'p'}, {0xC6D9, u'p'}, {0xC6DA, u'q'}, {0xC8BA, u'q'}, {0xC8BB, u'r'},
      {0xC8F5, u'r'}, {0xC8F6, u's'}, {0xCBFA, u's'}, {0xCBFB, u't'}, {0xCDD9, u't'}, {0xCDDA, u'w'}, {0xCEF3, u'w'},
      {0xCEF4, u'x'}, {0xD1B8, u'x'}, {0xD1B9, u'y'}, {0xD4D0, u'y'}, {0xD4D1, u'z'}, {0xD7F9, u'z'}, {0xD7FA, 0},
      {0xD8A1, 0},    {0xFFFF, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PinyinInitialOfGbCode(c.code), c.letter) << std::hex << c.code;
  }
}

TEST(PinyinInitialTest, ConvertsThroughCodePage936) {
  MapTextCodec codec;
  const struct {
    char16_t unit;
    char16_t letter;
  } cases[] = {
      {u'啊', u'a'}, {u'澳', u'a'},  {u'芭', u'b'},  {u'怖', u'b'},  {u'擦', u'c'}, {u'哦', u'o'}, {u'沤', u'o'},
      {u'塌', u's'}, {u'他', u't'},  {u'孕', u'y'},  {u'匝', u'z'},  {u'座', u'z'}, {u'新', u'x'}, {u'建', u'j'},
      {u'文', u'w'}, {u'件', u'j'},  {u'夹', u'j'},  {u'亍', 0},  // second level of GB2312: no initial
      {u'齄', 0},    {u'丂', 0},                                  // GBK extension
      {u'繞', 0},  // GBK addition whose code, 0xC040, lies inside the range of k
      {u'A', 0},     {u'\u4DFF', 0}, {u'\uA000', 0}, {u'\u3042', 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PinyinInitial(c.unit, codec), c.letter) << std::hex << static_cast<int>(c.unit);
  }
}

TEST(PinyinInitialTest, FallsBackToAnsiCodePageWhen936GivesNoTwoByteCode) {
  MapTextCodec codec;
  codec.ansiCodePage = 950;
  codec.Map(950, u'\u9FCC', 0xB0A1);  // lacking in 936, present in the ANSI code page
  EXPECT_EQ(PinyinInitial(u'\u9FCC', codec), u'a');
  EXPECT_EQ(PinyinInitial(u'\u9FCD', codec), 0);  // lacking in both: one '?' byte each

  codec.unavailableCodePage = 936;  // 936 refused: everything goes through the ANSI code page
  EXPECT_EQ(PinyinInitial(u'新', codec), 0);
  codec.Map(950, u'新', 0xD0C2);
  EXPECT_EQ(PinyinInitial(u'新', codec), u'x');

  codec.ansiCodePage = 936;  // no other code page to fall back on
  EXPECT_EQ(PinyinInitial(u'新', codec), 0);
}

TEST(PinyinInitialTableTest, AgreesWithPinyinInitialForEveryUnit) {
  MapTextCodec codec;
  codec.ansiCodePage = 950;
  codec.Map(950, u'\u9FCC', 0xB0A1);
  const PinyinInitialTable table(codec);
  for (uint32_t u = 0; u <= 0xFFFF; ++u) {
    const auto unit = static_cast<char16_t>(u);
    ASSERT_EQ(table.Initial(unit), PinyinInitial(unit, codec)) << std::hex << u;
  }
  EXPECT_EQ(table.Initial(u'新'), u'x');
  EXPECT_EQ(table.Initial(u'\u9FCC'), u'a');
}

TEST(PinyinInitialTableTest, BuildsUnitByUnitWhen936IsRefused) {
  MapTextCodec codec;
  codec.unavailableCodePage = 936;
  codec.ansiCodePage = 936 + 1;
  codec.Map(937, u'建', 0xBDA8);
  const PinyinInitialTable table(codec);
  EXPECT_EQ(table.Initial(u'建'), u'j');
  EXPECT_EQ(table.Initial(u'新'), 0);
}

TEST(PinyinInitialTableTest, ForKeepsOneTablePerCodec) {
  MapTextCodec& codec = SharedMapCodec();
  const PinyinInitialTable& first = PinyinInitialTable::For(codec);
  EXPECT_EQ(&PinyinInitialTable::For(codec), &first);
  static MapTextCodec other;
  other.Map(936, u'新', 0xB0A1);
  EXPECT_NE(&PinyinInitialTable::For(other), &first);
  EXPECT_EQ(PinyinInitialTable::For(other).Initial(u'新'), u'a');
  EXPECT_EQ(first.Initial(u'新'), u'x');
}

TEST(PinyinInitialTableTest, ConcurrentFirstCallersShareOneTable) {
  static MapTextCodec codec;  // a codec no other test has asked for
  const PinyinInitialTable* seen[4] = {};
  std::vector<Thread> threads;
  for (auto& slot : seen) {
    threads.emplace_back([&slot] { slot = &PinyinInitialTable::For(codec); });
  }
  for (auto& thread : threads) thread.join();
  for (const PinyinInitialTable* table : seen) EXPECT_EQ(table, seen[0]);
  EXPECT_EQ(seen[0]->Initial(u'新'), u'x');
}

#if defined(__linux__)
// The real code page 936, from glibc.
TEST(PinyinInitialTableTest, AgreesWithPinyinInitialThroughRealCodePage936) {
  IconvTextCodec codec;
  std::string probe;
  if (!codec.FromUtf16(936, u"新", probe) || probe != "\xD0\xC2") GTEST_SKIP() << "no CP936 in iconv";

  codec.conversions = 0;
  const PinyinInitialTable table(codec);
  // One conversion of the whole range, then one or two per unit GBK lacks
  // (the 90 units after U+9FA5): not one per unit.
  EXPECT_LT(codec.conversions, 1000);

  int withInitial = 0, perLetter[26] = {};
  for (char16_t u = kFirstCjkUnit;; ++u) {
    const char16_t letter = table.Initial(u);
    ASSERT_EQ(letter, PinyinInitial(u, codec)) << std::hex << static_cast<int>(u);
    if (letter != 0) {
      ++withInitial;
      ++perLetter[letter - u'a'];
    }
    if (u == kLastCjkUnit) break;
  }
  // The first level of GB2312 holds 3,755 characters; 'a' owns 0xB0A1..0xB0C4.
  EXPECT_EQ(withInitial, 3755);
  EXPECT_EQ(perLetter[0], 0xC4 - 0xA1 + 1);
  EXPECT_EQ(perLetter['i' - 'a'] + perLetter['u' - 'a'] + perLetter['v' - 'a'], 0);
}
#endif

}  // namespace
}  // namespace quillmor
