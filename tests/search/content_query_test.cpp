#include "search/content_query.h"

#include <gtest/gtest.h>

#include "platform/utf.h"

namespace quillmor {
namespace {

struct ContentQueryCase {
  const char16_t* query;
  bool contentMode;
  QueryGroups groups;
  std::vector<std::u16string> extensions;
};

class ParseContentQueryTest : public ::testing::TestWithParam<ContentQueryCase> {};

TEST_P(ParseContentQueryTest, RecognisesTermsAndExtensions) {
  const ContentQueryCase& c = GetParam();
  const ContentQuery parsed = ParseContentQuery(c.query);
  EXPECT_EQ(parsed.contentMode, c.contentMode) << Utf16ToUtf8(c.query);
  if (c.contentMode) {
    EXPECT_EQ(parsed.groups, c.groups) << Utf16ToUtf8(c.query);
    EXPECT_EQ(parsed.extensions, c.extensions) << Utf16ToUtf8(c.query);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Queries, ParseContentQueryTest,
    ::testing::Values(
        // Terms keep their case: contents match case-sensitively.
        ContentQueryCase{u"s:Foo", true, {{u"Foo"}}, {u".txt"}},
        ContentQueryCase{u"s:alpha and beta", true, {{u"alpha", u"beta"}}, {u".txt"}},
        ContentQueryCase{u"s: annual report ", true, {{u"annual report"}}, {u".txt"}},
        ContentQueryCase{u"s:\"x or y\"", true, {{u"x or y"}}, {u".txt"}},
        ContentQueryCase{u"s:a or b", true, {{u"a"}, {u"b"}}, {u".txt"}},
        // Extensions after the first '|': trimmed, lower-cased, dotted, empties dropped, order kept.
        ContentQueryCase{u"s:invoice|log,.CSV", true, {{u"invoice"}}, {u".log", u".csv"}},
        ContentQueryCase{u"s:foo|md", true, {{u"foo"}}, {u".md"}},
        ContentQueryCase{u"s:foo|md,,TXT", true, {{u"foo"}}, {u".md", u".txt"}},
        ContentQueryCase{u"s:foo | Md , .tXt ,", true, {{u"foo"}}, {u".md", u".txt"}},
        ContentQueryCase{u"s:foo|a|b", true, {{u"foo"}}, {u".a|b"}},
        ContentQueryCase{u"s:foo|.ÄX", true, {{u"foo"}}, {u".Äx"}},
        // Nothing after the bar: no extension, so no candidate at all.
        ContentQueryCase{u"s:foo|", true, {{u"foo"}}, {}}, ContentQueryCase{u"s:foo| , ", true, {{u"foo"}}, {}},
        // Name queries: no remainder, no group, upper-case S, "s:" not at the start.
        ContentQueryCase{u"s:", false, {}, {}}, ContentQueryCase{u"s:   ", false, {}, {}},
        ContentQueryCase{u"s", false, {}, {}}, ContentQueryCase{u"", false, {}, {}},
        ContentQueryCase{u"S:abc", false, {}, {}}, ContentQueryCase{u"xs:abc", false, {}, {}},
        ContentQueryCase{u"s:\"\"", false, {}, {}}, ContentQueryCase{u"s:|txt", false, {}, {}},
        ContentQueryCase{u"s;abc", false, {}, {}}));

TEST(IsContentQueryPrefixTest, AcceptsEitherCaseAfterTrimming) {
  EXPECT_TRUE(IsContentQueryPrefix(u"s:"));
  EXPECT_TRUE(IsContentQueryPrefix(u"S:abc"));
  EXPECT_TRUE(IsContentQueryPrefix(u" \t\r\ns:abc"));
  EXPECT_FALSE(IsContentQueryPrefix(u"s"));
  EXPECT_FALSE(IsContentQueryPrefix(u" s "));
  EXPECT_FALSE(IsContentQueryPrefix(u"xs:abc"));
  EXPECT_FALSE(IsContentQueryPrefix(u"s;abc"));
  EXPECT_FALSE(IsContentQueryPrefix(u""));
}

}  // namespace
}  // namespace quillmor
