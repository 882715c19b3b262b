#include "app/core/highlight.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

TEST(HighlightTextTest, TakesTheQueryAsNamesAreMatched) {
  const struct {
    const char16_t* query;
    const char16_t* text;
  } cases[] = {
      {u"Report", u"report"},
      {u" \t Report 2024\r\n", u"report 2024"},
      {u"s:Invoice|pdf,docx", u"invoice"},  // a content query: the terms before "|"
      {u"  s:  Invoice  | pdf", u"invoice"},
      {u"s:alpha beta", u"alpha beta"},
      {u"s:", u""},
      {u"s:|txt", u""},
      {u"S:Word|x", u"s:word|x"},      // only a lower-case s starts a content query
      {u"a|b", u"a|b"},                // "|" means nothing outside a content query
      {u"\u00C4RGER", u"\u00C4rger"},  // A-Z only, as the names' folded copies
      {u"", u""},
      {u" IMG*.JPG ", u"img*.jpg"},
      {u"s:*.txt|md", u""},  // content terms are literal: no name holds '*'
      {u"s:a?b", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HighlightText(c.query), c.text) << std::u16string_view(c.query).size();
  }
}

TEST(HighlightRangesTest, EveryOccurrenceLeftToRightWithoutOverlap) {
  using Ranges = std::vector<TextRange>;
  EXPECT_EQ(HighlightRanges(u"report_rep.txt", u"rep"), (Ranges{{0, 3}, {7, 3}}));
  EXPECT_EQ(HighlightRanges(u"aaaa", u"aa"), (Ranges{{0, 2}, {2, 2}}));
  EXPECT_EQ(HighlightRanges(u"aaa", u"aa"), (Ranges{{0, 2}}));
  EXPECT_EQ(HighlightRanges(u"notes.txt", u"txt"), (Ranges{{6, 3}}));
  EXPECT_EQ(HighlightRanges(u"notes.txt", u"pdf"), Ranges{});
  EXPECT_EQ(HighlightRanges(u"ab", u"abc"), Ranges{});
  EXPECT_EQ(HighlightRanges(u"anything", u""), Ranges{});
  EXPECT_EQ(HighlightRanges(u"", u"a"), Ranges{});
}

// The list marks the literal pieces of a wildcard term where they matched.
TEST(HighlightRangesTest, APatternMarksItsLiteralPieces) {
  using Ranges = std::vector<TextRange>;
  const auto ranges = [](const char16_t* query, std::u16string_view lowerName) {
    return HighlightRanges(lowerName, HighlightText(query));
  };
  EXPECT_EQ(ranges(u"*.PDF", u"report.pdf.pdf"), (Ranges{{10, 4}}));  // tied to the end
  EXPECT_EQ(ranges(u"IMG_20??.jpg", u"img_2024.jpg"), (Ranges{{0, 6}, {8, 4}}));
  // "t" and ".do" touch: one mark.
  EXPECT_EQ(ranges(u"rep*t*.do?x", u"report.docx"), (Ranges{{0, 3}, {5, 4}, {10, 1}}));
  EXPECT_EQ(ranges(u"*", u"abc"), Ranges{});
  EXPECT_EQ(ranges(u"*.pdf", u"notes.txt"), Ranges{});  // no match, no marks
  // Quotes group as in the search; a space is part of the piece.
  EXPECT_EQ(ranges(u"\"annual report*\"", u"annual report 2024.pdf"), (Ranges{{0, 13}}));
  // With a substring term, every occurrence of it too, in groups the name
  // satisfies; overlapping marks merge.
  EXPECT_EQ(ranges(u"invoice and *.pdf", u"invoice 7 invoice.pdf"), (Ranges{{0, 7}, {10, 11}}));
  EXPECT_EQ(ranges(u"*.pdf or notes", u"notes.txt"), (Ranges{{0, 5}}));
  EXPECT_EQ(ranges(u"zzz and *.pdf", u"a.pdf"), Ranges{});
}

TEST(HighlightRangesTest, AContentQueryHighlightsOnlyItsFirstWord) {
  const std::u16string needle = HighlightText(u"s:alpha|beta");
  EXPECT_EQ(HighlightRanges(u"alpha and beta.txt", needle), (std::vector<TextRange>{{0, 5}}));
  EXPECT_TRUE(HighlightRanges(u"beta.txt", needle).empty());
}

}  // namespace
}  // namespace quillmor
