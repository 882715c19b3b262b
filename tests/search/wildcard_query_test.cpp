// Wildcard terms through the whole road of a query: parsed, folded, compiled
// and tested against names, by the scan's compiled query and by the plain
// rules alike.
#include <gtest/gtest.h>

#include <string>

#include "platform/utf.h"
#include "search/compiled_name_query.h"
#include "search/name_pattern.h"
#include "tests/search/exact_name_entries.h"
#include "tests/search/map_text_codec.h"

namespace quillmor {
namespace {

struct WildcardCase {
  const char16_t* query;
  const char16_t* name;
  bool hit;
};

class WildcardQueryTest : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardQueryTest, CompiledQueryAndPlainRulesAgree) {
  const WildcardCase& c = GetParam();
  ExactNameEntries entries;
  const FileRecord record = entries.Add(c.name);
  const QueryGroups folded = FoldQueryGroups(ParseQueryGroups(c.query));
  const CompiledNameQuery compiled(folded, /*initialSearch=*/true, SharedMapCodec());
  const std::string label = Utf16ToUtf8(c.query) + " against " + Utf16ToUtf8(c.name);
  EXPECT_EQ(compiled.Matches(record), c.hit) << label;
  EXPECT_EQ(MatchesQueryGroups(folded, record.lowerName()), c.hit) << label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WildcardQueryTest,
    ::testing::Values(
        // Anchored at both ends: the whole name must match.
        WildcardCase{u"*.pdf", u"Invoice.PDF", true}, WildcardCase{u"*.pdf", u"invoice.pdf.txt", false},
        WildcardCase{u"*.pdf", u".pdf", true}, WildcardCase{u"IMG*.jpg", u"img_2041.JPG", true},
        WildcardCase{u"IMG*.jpg", u"old img_2041.jpg", false}, WildcardCase{u"IMG*", u"IMG", true},
        WildcardCase{u"report", u"2024 report.pdf", true},  // no wildcard: still a substring
        WildcardCase{u"a*", u"ba", false}, WildcardCase{u"*a", u"ab", false},
        // '?' is exactly one UTF-16 unit.
        WildcardCase{u"report_20??.xlsx", u"Report_2024.xlsx", true},
        WildcardCase{u"report_20??.xlsx", u"report_202.xlsx", false},
        WildcardCase{u"report_20??.xlsx", u"report_20245.xlsx", false}, WildcardCase{u"?", u"é", true},
        WildcardCase{u"?.txt", u"\U0001F600.txt", false},  // an emoji is two units
        WildcardCase{u"??.txt", u"\U0001F600.txt", true}, WildcardCase{u"a?c", u"abc", true},
        WildcardCase{u"a?c", u"ac", false},
        // Runs of stars count as one; a star also matches nothing.
        WildcardCase{u"a**b", u"ab", true}, WildcardCase{u"***.txt", u"x.txt", true},
        WildcardCase{u"a*?*c", u"ac", false}, WildcardCase{u"a*?*c", u"abc", true},
        WildcardCase{u"*", u"anything.at all", true}, WildcardCase{u"*report*", u"Q3 REPORT final", true},
        WildcardCase{u"*rep*t*.do?x", u"My report final.docx", true},
        WildcardCase{u"rep*t*.do?x", u"report.docx", true}, WildcardCase{u"rep*t*.do?x", u"rep.docx", false},
        // The middle pieces in order, each after the one before.
        WildcardCase{u"*b*a*", u"ab", false}, WildcardCase{u"*ab*ab*", u"abab", true},
        WildcardCase{u"*ab*ab*", u"aba", false}, WildcardCase{u"x*aab*aab", u"xaabaabaab", true},
        // With and / or and a substring term.
        WildcardCase{u"invoice and *.pdf", u"Invoice 2024.pdf", true},
        WildcardCase{u"invoice and *.pdf", u"Invoice 2024.docx", false},
        WildcardCase{u"invoice and *.pdf", u"receipt.pdf", false},
        WildcardCase{u"*.pdf or *.docx", u"notes.docx", true}, WildcardCase{u"*.pdf or *.docx", u"notes.doc", false},
        // Quotes keep the space (and the keyword) inside one pattern.
        WildcardCase{u"\"annual report*\"", u"Annual Report 2024.pdf", true},
        WildcardCase{u"\"annual report*\"", u"2024 annual report.pdf", false},
        WildcardCase{u"\"* and *\"", u"salt and pepper", true}, WildcardCase{u"\"* and *\"", u"salt & pepper", false},
        // Patterns that match nothing here.
        WildcardCase{u"*.pdf", u"notes.txt", false}, WildcardCase{u"?", u"ab", false},
        WildcardCase{u"??????????", u"short", false}, WildcardCase{u"*zzz*", u"abc", false},
        // Only ASCII letters fold, as for every term.
        WildcardCase{u"\u00C4*", u"\u00E4rger", false}, WildcardCase{u"\u00C4*", u"\u00C4rger", true}));

TEST(WildcardQueryTest, APatternIsNeverAnInitialsTerm) {
  ExactNameEntries entries;
  // "xj?" and "xj*" would be initials of 新建 were they letters only.
  for (const char16_t* query : {u"xj*", u"*xj", u"x?", u"?j"}) {
    const CompiledNameQuery compiled(FoldQueryGroups(ParseQueryGroups(query)), true, SharedMapCodec());
    EXPECT_FALSE(compiled.Matches(entries.Add(u"新建.txt"))) << Utf16ToUtf8(query);
  }
}

TEST(WildcardQueryTest, OnlyStarsMatchEveryName) {
  const CompiledNameQuery stars(FoldQueryGroups(ParseQueryGroups(u"**")), true, SharedMapCodec());
  EXPECT_TRUE(stars.MatchesAll());
  const CompiledNameQuery anded(FoldQueryGroups(ParseQueryGroups(u"* and x")), true, SharedMapCodec());
  EXPECT_FALSE(anded.MatchesAll());
}

// A backtracking matcher takes time exponential in the number of stars here;
// the leftmost placement reads the name a few times at most. The test ends
// at once with the right answer, or it hangs until ctest's timeout.
TEST(WildcardQueryTest, HostilePatternOverALongNameEndsQuickly) {
  ExactNameEntries entries;
  const std::u16string as(20000, u'a');
  const FileRecord allAs = entries.Add(as);
  const FileRecord endsInB = entries.Add(as + u"b");
  const FileRecord bInside = entries.Add(as + u"b" + as);
  for (int round = 0; round < 100; ++round) {
    for (const char16_t* query : {u"*a*a*a*a*a*b", u"*a*a*a*a*a*b*", u"a*a*a*a*a*a*?b", u"*a?a?a?a?a*b*a"}) {
      const CompiledNameQuery compiled(FoldQueryGroups(ParseQueryGroups(query)), true, SharedMapCodec());
      ASSERT_FALSE(compiled.Matches(allAs)) << Utf16ToUtf8(query);
    }
    ASSERT_TRUE(NamePattern(u"*a*a*a*a*a*b").Matches(endsInB.lowerName(), endsInB.nameLength));
    ASSERT_TRUE(NamePattern(u"*a*a*a*a*a*b*").Matches(bInside.lowerName(), bInside.nameLength));
    ASSERT_FALSE(NamePattern(u"*a*a*a*a*a*b").Matches(bInside.lowerName(), bInside.nameLength));
  }
}

TEST(NamePatternTest, AsSubstringOnlyForOneLiteralPieceBetweenStars) {
  EXPECT_EQ(NamePattern(u"*report*").AsSubstring(), u"report");
  EXPECT_EQ(NamePattern(u"**report***").AsSubstring(), u"report");
  for (const char16_t* other : {u"report*", u"*report", u"*rep?rt*", u"*a*b*", u"*", u"report"}) {
    EXPECT_TRUE(NamePattern(other).AsSubstring().empty()) << Utf16ToUtf8(other);
  }
}

TEST(NamePatternTest, LiteralPiecesAreWhereThePatternMatched) {
  using Pieces = std::vector<std::pair<size_t, size_t>>;
  const auto pieces = [](const char16_t* pattern, std::u16string_view name) {
    Pieces out = {{99, 1}};  // kept in front; a failed match leaves it alone
    const bool matched = NamePattern(pattern).LiteralPieces(name, out);
    out.erase(out.begin());
    return matched ? out : Pieces{{0, 0}};
  };
  EXPECT_EQ(pieces(u"*.pdf", u"a.b.pdf"), (Pieces{{3, 4}}));
  EXPECT_EQ(pieces(u"rep*t*.do?x", u"report.docx"), (Pieces{{0, 3}, {5, 1}, {6, 3}, {10, 1}}));
  EXPECT_EQ(pieces(u"?a?", u"bac"), (Pieces{{1, 1}}));
  EXPECT_EQ(pieces(u"*", u"abc"), Pieces{});
  EXPECT_EQ(pieces(u"*ab*", u"xxabab"), (Pieces{{2, 2}}));  // the leftmost place
  EXPECT_EQ(pieces(u"*.pdf", u"a.txt"), (Pieces{{0, 0}}));
}

}  // namespace
}  // namespace quillmor
