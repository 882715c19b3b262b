#include "search/query_groups.h"

#include <gtest/gtest.h>

#include "index/name_pool.h"
#include "platform/utf.h"

namespace quillmor {
namespace {

struct ParseCase {
  const char16_t* query;
  QueryGroups groups;
};

class ParseQueryGroupsTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseQueryGroupsTest, YieldsGroups) {
  EXPECT_EQ(ParseQueryGroups(GetParam().query), GetParam().groups) << Utf16ToUtf8(GetParam().query);
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ParseQueryGroupsTest,
    ::testing::Values(
        // A space that is no keyword stays inside the term.
        ParseCase{u"annual report", {{u"annual report"}}}, ParseCase{u"a\tb", {{u"a\tb"}}},
        // and / or in any ASCII case, with a space or tab on each side.
        ParseCase{u"foo and bar", {{u"foo", u"bar"}}}, ParseCase{u"foo AND bar", {{u"foo", u"bar"}}},
        ParseCase{u"foo aNd bar", {{u"foo", u"bar"}}}, ParseCase{u"foo\tand\tbar", {{u"foo", u"bar"}}},
        ParseCase{u"foo and\tbar", {{u"foo", u"bar"}}}, ParseCase{u"foo\tand bar", {{u"foo", u"bar"}}},
        ParseCase{u"foo or bar", {{u"foo"}, {u"bar"}}}, ParseCase{u"foo OR bar", {{u"foo"}, {u"bar"}}},
        ParseCase{u"foo\tor\tbar", {{u"foo"}, {u"bar"}}}, ParseCase{u"foo or\tbar", {{u"foo"}, {u"bar"}}},
        ParseCase{u"foo\tOr bar", {{u"foo"}, {u"bar"}}},
        // and binds tighter than or.
        ParseCase{u"a and b or c", {{u"a", u"b"}, {u"c"}}}, ParseCase{u"a or b and c", {{u"a"}, {u"b", u"c"}}},
        // Keywords are off inside quotes and after a backslash.
        ParseCase{u"\"a and b\"", {{u"a and b"}}}, ParseCase{u"a\\ and b", {{u"a and b"}}},
        ParseCase{u"\"a or\" b", {{u"a or b"}}}, ParseCase{u"a \"and\" b", {{u"a and b"}}},
        // A keyword at either end lacks whitespace on one side.
        ParseCase{u"x or", {{u"x or"}}}, ParseCase{u"and y", {{u"and y"}}},
        ParseCase{u"a and b and", {{u"a", u"b and"}}}, ParseCase{u"ANDROID and ios", {{u"ANDROID", u"ios"}}},
        // A keyword right after a keyword is a term's text.
        ParseCase{u"a and and b", {{u"a", u"and b"}}}, ParseCase{u"a or or b", {{u"a"}, {u"or b"}}},
        // Terms are trimmed; empty terms and groups vanish.
        ParseCase{u"a  and  b", {{u"a", u"b"}}}, ParseCase{u"a or  or b", {{u"a"}, {u"b"}}},
        ParseCase{u"\r\n a and b \r\n", {{u"a", u"b"}}}, ParseCase{u"\" a \"", {{u"a"}}}, ParseCase{u"\"\"", {}},
        ParseCase{u"", {}}, ParseCase{u" \t ", {}}, ParseCase{u"and", {{u"and"}}},
        // Escapes keep the next unit; a trailing backslash is dropped.
        ParseCase{u"a\\", {{u"a"}}}, ParseCase{u"\\\"quoted\\\"", {{u"\"quoted\""}}},
        ParseCase{u"dir\\\\name", {{u"dir\\name"}}},
        // Wildcards stay in the term as they are; case is folded later.
        ParseCase{u"*.TXT", {{u"*.TXT"}}}, ParseCase{u"a?c", {{u"a?c"}}},
        ParseCase{u"\"annual report*\" and *.pdf", {{u"annual report*", u"*.pdf"}}}));

TEST(FoldQueryGroupsTest, LowersAsciiOnlyTrimsAndDropsEmpties) {
  EXPECT_EQ(FoldQueryGroups({{u"README", u"ÄBc", u"\u0130X"}}), (QueryGroups{{u"readme", u"Äbc", u"\u0130x"}}));
  EXPECT_EQ(FoldQueryGroups({{u"  X \r\n"}, {u" ", u"\t"}, {}, {u"Y", u""}}), (QueryGroups{{u"x"}, {u"y"}}));
  EXPECT_EQ(FoldQueryGroups({}), QueryGroups{});
}

// Matching reads lower-case copies made by the name pool, as the scan does.
class MatchesQueryGroupsTest : public ::testing::Test {
 protected:
  bool Matches(const char16_t* query, std::u16string_view name) {
    const char16_t* stored = pool.Add(name).data();
    return MatchesQueryGroups(FoldQueryGroups(ParseQueryGroups(query)), stored + name.size() + 1);
  }
  NamePool pool;
};

TEST_F(MatchesQueryGroupsTest, TermIsOneContiguousSubstring) {
  EXPECT_TRUE(Matches(u"annual report", u"2024 annual report.pdf"));
  EXPECT_FALSE(Matches(u"annual report", u"annual_report.pdf"));
  EXPECT_TRUE(Matches(u"port", u"Report.pdf"));
  EXPECT_FALSE(Matches(u"reports", u"report"));  // longer than the name
}

TEST_F(MatchesQueryGroupsTest, CaseFoldsForAsciiLettersOnly) {
  EXPECT_TRUE(Matches(u"README", u"readme.md"));
  EXPECT_TRUE(Matches(u"readme", u"README.MD"));
  EXPECT_FALSE(Matches(u"Ä", u"ä.txt"));
  EXPECT_FALSE(Matches(u"ä", u"Ä.txt"));
  EXPECT_FALSE(Matches(u"é", u"RÉSUMÉ.doc"));
}

TEST_F(MatchesQueryGroupsTest, AWildcardTermMatchesTheWholeName) {
  EXPECT_TRUE(Matches(u"*.TXT", u"notes.txt"));
  EXPECT_FALSE(Matches(u"*.txt", u"notes.txt.bak"));
  EXPECT_TRUE(Matches(u"a?c", u"ABC"));
  EXPECT_FALSE(Matches(u"a?c", u"xabc"));
  EXPECT_TRUE(Matches(u"\"annual report*\" and *.pdf", u"Annual report 2024.pdf"));
}

TEST_F(MatchesQueryGroupsTest, AndNeedsEveryTermOrNeedsOneGroup) {
  EXPECT_TRUE(Matches(u"foo and bar", u"bar-foo"));
  EXPECT_FALSE(Matches(u"foo and bar", u"foo"));
  EXPECT_TRUE(Matches(u"foo or bar", u"bar"));
  EXPECT_FALSE(Matches(u"foo or bar", u"baz"));
  EXPECT_TRUE(Matches(u"a and b or c", u"c"));
  EXPECT_FALSE(Matches(u"a and b or c", u"a"));
  EXPECT_TRUE(Matches(u"\"\"", u"anything"));
}

TEST(MatchesQueryGroupsEdgeTest, NullNeverMatchesEmptyGroupsAlwaysDo) {
  EXPECT_FALSE(MatchesQueryGroups({}, nullptr));
  EXPECT_TRUE(MatchesQueryGroups({}, u""));
  EXPECT_TRUE(MatchesQueryGroups({{}}, u"x"));           // an empty group matches
  EXPECT_TRUE(MatchesQueryGroups({{u"", u"x"}}, u"x"));  // empty terms are ignored
  EXPECT_FALSE(MatchesQueryGroups({{u"y"}, {u"z"}}, u"x"));
  // The name ends at its terminator, as wcsstr reads it.
  EXPECT_FALSE(MatchesQueryGroups({{u"b"}}, u"a\0b"));
}

}  // namespace
}  // namespace quillmor
