#include "search/initials_match.h"

#include <gtest/gtest.h>

#include "platform/utf.h"
#include "tests/search/exact_name_entries.h"
#include "tests/search/map_text_codec.h"

namespace quillmor {
namespace {

TEST(IsInitialsTermTest, TwoToThirtyTwoLowerLettersOrDigits) {
  EXPECT_TRUE(IsInitialsTerm(u"xj"));
  EXPECT_TRUE(IsInitialsTerm(u"a1b2"));
  EXPECT_TRUE(IsInitialsTerm(std::u16string(32, u'z')));
  EXPECT_FALSE(IsInitialsTerm(std::u16string(33, u'z')));
  EXPECT_FALSE(IsInitialsTerm(u"x"));
  EXPECT_FALSE(IsInitialsTerm(u""));
  EXPECT_FALSE(IsInitialsTerm(u"xj wj"));
  EXPECT_FALSE(IsInitialsTerm(u"Xj"));  // folded terms only
  EXPECT_FALSE(IsInitialsTerm(u"x.j"));
  EXPECT_FALSE(IsInitialsTerm(u"新建"));
}

struct InitialsCase {
  const char16_t* name;
  const char16_t* term;
  bool matches;
};

// Each case runs through MatchesInitials and through InitialsMatcher on the
// name as the pool stores it.
class InitialsTest : public ::testing::TestWithParam<InitialsCase> {};

TEST_P(InitialsTest, MatchesKeyOfChineseNames) {
  const InitialsCase& c = GetParam();
  const std::u16string_view name(c.name);
  MapTextCodec& codec = SharedMapCodec();
  EXPECT_EQ(MatchesInitials(name.data(), name.size(), c.term, codec), c.matches)
      << Utf16ToUtf8(name) << " / " << Utf16ToUtf8(c.term);
  ExactNameEntries entries;
  const char16_t* stored = entries.Add(name).name;
  const InitialsMatcher matcher(c.term, PinyinInitialTable::For(codec));
  EXPECT_EQ(matcher.Matches(stored, name.size()), c.matches) << Utf16ToUtf8(name) << " / " << Utf16ToUtf8(c.term);
}

INSTANTIATE_TEST_SUITE_P(
    Names, InitialsTest,
    ::testing::Values(
        // 新建文件夹 has the key xjwjj.
        InitialsCase{u"新建文件夹.txt", u"xjwj", true}, InitialsCase{u"新建文件夹.txt", u"wjj", true},
        InitialsCase{u"新建文件夹.txt", u"jw", true}, InitialsCase{u"新建文件夹", u"xjwjj", true},
        InitialsCase{u"新建文件夹.txt", u"xjwjjt", false},  // the extension is not part of the key
        InitialsCase{u"新建文件夹.txt", u"xw", false},
        // Latin letters and digits join the key, other units are skipped.
        InitialsCase{u"新建_Report 2.txt", u"jreport2", true}, InitialsCase{u"A-B新.txt", u"ab", true},
        InitialsCase{u"年度报告2024.xlsx", u"ndbg2024", true}, InitialsCase{u"年度 报告", u"dbg", true},
        // A CJK unit without an initial marks the name as Chinese but adds nothing.
        InitialsCase{u"a-b丂.doc", u"ab", true}, InitialsCase{u"亍新建", u"xj", true},
        InitialsCase{u"亍齄", u"ab", false}, InitialsCase{u"繞新", u"kx", false},
        // No Chinese before the first dot: never a hit.
        InitialsCase{u"Report_2024.docx", u"t2", false}, InitialsCase{u"a-b.新", u"ab", false},
        InitialsCase{u".新建文件夹", u"xj", false}, InitialsCase{u"..新建", u"xj", false},
        InitialsCase{u"", u"xj", false},
        // A term longer than the key.
        InitialsCase{u"新建", u"xjw", false},
        // Overlapping starts, which a naive restart would miss.
        InitialsCase{u"新新新建", u"xxj", true}, InitialsCase{u"建建新建建新", u"jjxjjx", true}));

TEST(InitialsMatcherTest, LongestTermAgainstLongNames) {
  std::u16string name;
  for (int i = 0; i < 16; ++i) name += u"新建";
  const std::u16string term32 = [] {
    std::u16string t;
    for (int i = 0; i < 16; ++i) t += u"xj";
    return t;
  }();
  ExactNameEntries entries;
  const char16_t* stored = entries.Add(name).name;
  const InitialsMatcher matcher(term32, PinyinInitialTable::For(SharedMapCodec()));
  EXPECT_TRUE(matcher.Matches(stored, name.size()));
  EXPECT_TRUE(MatchesInitials(stored, name.size(), term32, SharedMapCodec()));
  const char16_t* shorter = entries.Add(name.substr(1)).name;
  EXPECT_FALSE(matcher.Matches(shorter, name.size() - 1));
}

}  // namespace
}  // namespace quillmor
