#include "app/core/message_texts.h"

#include <gtest/gtest.h>

#include "tests/app/language_fixture.h"

namespace quillmor {
namespace {

using MessageTextsTest = LanguageTest;

TEST_F(MessageTextsTest, SearchTitlesForFinalResortedAndPartialResults) {
  EXPECT_EQ(SearchResultsTitle(kResultsFinal, 1234), u"Quillmor - 1234 results found");
  EXPECT_EQ(SearchResultsTitle(kResultsResorted, 0), u"Quillmor - 0 results found");
  EXPECT_EQ(SearchResultsTitle(kResultsPartial, 3000), u"Quillmor - 3000+ results...");
  EXPECT_EQ(SearchResultsTitle(kResultsFinal, UINT64_MAX), u"Quillmor - 9223372036854775807 results found");
  Install(u"zh-cn", true);
  EXPECT_EQ(SearchResultsTitle(kResultsFinal, 5), u"Quillmor - 找到 5 个结果");
}

TEST_F(MessageTextsTest, ALongTranslatedTitleIsCutTo127Characters) {
  InstallTable({{u"Title_SearchFinalFmt", std::u16string(200, u'x') + u" %lld"}});
  EXPECT_EQ(SearchResultsTitle(kResultsFinal, 5), std::u16string(127, u'x'));
  // Never half of a surrogate pair at the cut.
  InstallTable({{u"Title_SearchFinalFmt", std::u16string(126, u'x') + u"\U0001F600 %lld"}});
  EXPECT_EQ(SearchResultsTitle(kResultsFinal, 5), std::u16string(126, u'x'));
  // A translation that does not take the count is not used.
  InstallTable({{u"Title_SearchFinalFmt", u"%s found"}});
  EXPECT_EQ(SearchResultsTitle(kResultsFinal, 5), u"Quillmor - 5 results found");
}

TEST_F(MessageTextsTest, StatusLineOfSearchResults) {
  const struct {
    SearchStatusInput input;
    const char16_t* text;
  } cases[] = {
      {{kResultsFinal, false, 0, 0, u"All Files"}, u""},
      {{kResultsFinal, true, 0, 0, u"All Files"}, u""},
      {{kResultsPartial, true, 3000, 2, u"Documents"}, u"Searching... showing 3000 results"},
      {{kResultsFinal, true, 42, 2, u"Documents"}, u"Filter: Documents | Applying filter..."},
      {{kResultsResorted, true, 42, 0, u"All Files"}, u"Filter: All Files | Hits: 42"},
  };
  for (const auto& c : cases) EXPECT_EQ(SearchResultsStatus(c.input), c.text) << c.input.lParam;
}

TEST_F(MessageTextsTest, FilterTitleSpacesTheTablesColons) {
  EXPECT_EQ(FilterResultsTitle(u"Documents", 12), u"Quillmor - Filter: Documents | Hits: 12");
  EXPECT_EQ(FilterResultsTitle(u"All Files", 7), u"Quillmor - Filter: All Files | Hits: 7");
  // Without a tag name, never two spaces in a row.
  EXPECT_EQ(FilterResultsTitle(u"", 0), u"Quillmor - Filter: | Hits: 0");
  Install(u"zh-cn", true);  // a full-width colon needs no space
  EXPECT_EQ(FilterResultsTitle(u"文档", 3), u"Quillmor - 筛选：文档 | 命中：3");
  InstallTable({{u"App_FilterTitlePrefix", u"F> "}, {u"App_FilterTitleHitsSeparator", u" = "}});
  EXPECT_EQ(FilterResultsTitle(u"Docs", 1), u"F> Docs = 1");
}

TEST_F(MessageTextsTest, NonNtfsRefreshReport) {
  EXPECT_EQ(NonNtfsRefreshStatus(0, 2), u"Failed to refresh non-NTFS volume indexes; see debug output for details.");
  EXPECT_EQ(NonNtfsRefreshStatus(-1, 0), u"Failed to refresh non-NTFS volume indexes; see debug output for details.");
  EXPECT_EQ(NonNtfsRefreshStatus(3, 0), u"Refreshed 3 non-NTFS volume indexes; see debug output for details.");
  EXPECT_EQ(NonNtfsRefreshStatus(2, 1), u"Refreshed 2 non-NTFS volumes; 1 failed; see debug output for details.");
}

TEST(TagNameFromCaptionTest, TheCaptionUpToItsFirstLineBreak) {
  EXPECT_EQ(TagNameFromCaption(u"Documents\r\n(12)"), u"Documents");
  EXPECT_EQ(TagNameFromCaption(u"Plain"), u"Plain");
  EXPECT_EQ(TagNameFromCaption(u"A\nB\r\n(1)"), u"A\nB");
  EXPECT_EQ(TagNameFromCaption(u""), u"");
}

TEST(CountFromCaptionTest, WhatFollowsTheFirstLineBreakWithoutItsParentheses) {
  const struct {
    std::u16string_view caption;
    std::u16string_view count;
  } cases[] = {
      {u"Documents\r\n(12)", u"12"},
      {u"Documents\r\n12", u"12"},
      {u"Plain", u""},
      {u"", u""},
      {u"Empty\r\n", u""},
      {u"Empty\r\n()", u""},
      {u"Half\r\n(3", u"(3"},
      {u"One\r\n)", u")"},
      {u"A\r\nB\r\n(1)", u"B\r\n(1)"},
      {u"A\nB\r\n(7)", u"7"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CountFromCaption(c.caption), c.count) << testing::PrintToString(std::u16string(c.caption));
  }
}

}  // namespace
}  // namespace quillmor
