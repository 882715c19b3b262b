#include "app/core/search_box_rules.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

TEST(SearchBoxRulesTest, ContentQueriesWaitForEnterOthersSearchAfter260Ms) {
  const struct {
    const char16_t* text;
    bool waitsForEnter;
  } cases[] = {
      {u"report", false},   {u"", false},           {u"s", false},    {u"s:", true},
      {u"S:invoice", true}, {u"  s:invoice", true}, {u"s :x", false}, {u"xs:foo", false},
      {u"ss:", false},      {u"\u017F:x", false},  // a long s is not an s
  };
  for (const auto& c : cases) {
    const std::optional<uint32_t> delay = SearchDelayAfterEdit(c.text);
    EXPECT_EQ(!delay.has_value(), c.waitsForEnter) << std::u16string_view(c.text).size();
    if (delay) {
      EXPECT_EQ(*delay, 260u);
    }
    EXPECT_EQ(EscapeCancelsContentSearch(c.text), c.waitsForEnter) << std::u16string_view(c.text).size();
  }
}

TEST(SearchBoxRulesTest, EnterSearchesTheTrimmedTextOrRerunsTheView) {
  EnterAction a = DecideEnter(u"  report 2024\r\n");
  EXPECT_TRUE(a.search);
  EXPECT_EQ(a.query, u"report 2024");
  a = DecideEnter(u"s:invoice|pdf");
  EXPECT_TRUE(a.search);  // Enter is what starts a content search
  EXPECT_EQ(a.query, u"s:invoice|pdf");
  a = DecideEnter(u" \t\r\n");
  EXPECT_FALSE(a.search);
  EXPECT_FALSE(DecideEnter(u"").search);
}

}  // namespace
}  // namespace quillmor
