#include "search/text_match.h"

#include <gtest/gtest.h>

#include "platform/env.h"
#include "platform/utf.h"

namespace quillmor {
namespace {

std::vector<CompiledGroup> Compile(const QueryGroups& groups) { return CompileGroups(groups, *DefaultEnv().text); }

std::string Ansi(std::u16string_view text) {
  std::string bytes;
  EXPECT_TRUE(DefaultEnv().text->FromUtf16(0, text, bytes));
  return bytes;
}

bool Matches(std::string_view bytes, const QueryGroups& groups) {
  return BufferMatchesGroups(bytes, Compile(groups), Generation{});
}

TEST(CompactTextTest, DropsWhiteSpaceOfEveryKind) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"annual report", "annualreport"},
      {" \t\r\na b\n", "ab"},
      {"annual\xC2\xA0report", "annualreport"},                                  // no-break space
      {"\xE3\x80\x80x\xE2\x80\x8By", "xy"},                                      // ideographic and zero-width space
      {"\xE6\xAC\xA0\xE6\xAC\xBE", "\xE6\xAC\xA0\xE6\xAC\xBE"},                  // 欠款: A0 inside a character stays
      {"\xC2\xA1\xE2\x80\x8A\xE3\x80\x81", "\xC2\xA1\xE2\x80\x8A\xE3\x80\x81"},  // near misses stay
      {"\xC2", "\xC2"},
      {"x\xE3\x80", "x\xE3\x80"},  // cut sequences stay as they are
      {"", ""},
      {"   ", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CompactText(c.in), c.out) << c.in;
}

TEST(BufferMatchesGroupsTest, FindsTheTermInEachOfItsThreeForms) {
  const QueryGroups cafe{{u"café"}};
  EXPECT_TRUE(Matches("Le café est noir", cafe));
  EXPECT_TRUE(Matches(Ansi(u"Le café est noir"), cafe));
  EXPECT_TRUE(Matches(Utf16ToLittleEndianBytes(u"\uFEFFLe café est noir"), cafe));
  // UTF-16 text may start at an odd offset.
  EXPECT_TRUE(Matches("x" + Utf16ToLittleEndianBytes(u"café"), cafe));
  EXPECT_FALSE(Matches("Le cafe est noir", cafe));
#ifndef _WIN32
  // The POSIX platform's ANSI code page is 1252.
  EXPECT_EQ(Ansi(u"café"), "caf\xE9");
#endif
}

TEST(BufferMatchesGroupsTest, IsCaseSensitiveAndByteExact) {
  EXPECT_FALSE(Matches("only foo here", {{u"Foo"}}));
  EXPECT_TRUE(Matches("a Foo here", {{u"Foo"}}));
  EXPECT_FALSE(Matches("annual_report", {{u"annual report"}}));
}

TEST(BufferMatchesGroupsTest, AndWithinAGroupOrBetweenGroups) {
  const QueryGroups query{{u"alpha", u"beta"}, {u"gamma"}};
  EXPECT_TRUE(Matches("beta ... alpha", query));
  EXPECT_FALSE(Matches("alpha only", query));
  EXPECT_TRUE(Matches("just gamma", query));
  EXPECT_FALSE(Matches("", query));
  EXPECT_FALSE(Matches("anything", {}));
}

TEST(BufferMatchesGroupsTest, TermTheAnsiCodePageLacksDoesNotMatchQuestionMarks) {
  std::u16string back;
  const std::string ansi = Ansi(u"中文");
  DefaultEnv().text->ToUtf16(0, ansi, back);
  if (back == u"中文") GTEST_SKIP() << "the ANSI code page holds the term";
  // The conversion gives "??"; text with question marks must not match.
  EXPECT_FALSE(Matches("what?? really??", {{u"中文"}}));
  EXPECT_TRUE(Matches("\xE4\xB8\xAD\xE6\x96\x87", {{u"中文"}}));
}

TEST(BufferMatchesGroupsTest, CancelledSearchFindsNothing) {
  std::atomic<uint64_t> current{2};
  EXPECT_FALSE(BufferMatchesGroups("needle", Compile({{u"needle"}}), Generation{&current, 1}));
  EXPECT_TRUE(BufferMatchesGroups("needle", Compile({{u"needle"}}), Generation{&current, 2}));
  EXPECT_FALSE(MatchTextBuffer("needle", Compile({{u"needle"}}), Generation{&current, 1}));
}

TEST(MatchTextBufferTest, FindsPhrasesWhateverTheirSpacing) {
  const std::vector<CompiledGroup> phrase = Compile({{u"annual report"}});
  EXPECT_TRUE(MatchTextBuffer("the annual report is", phrase, Generation{}));
  EXPECT_TRUE(MatchTextBuffer("the annualreport is", phrase, Generation{}));
  EXPECT_TRUE(MatchTextBuffer("the annual\xC2\xA0report is", phrase, Generation{}));
  EXPECT_TRUE(MatchTextBuffer("the annual  \n report is", phrase, Generation{}));
  EXPECT_FALSE(MatchTextBuffer("the annual_report is", phrase, Generation{}));
  // Plain files get no second try.
  EXPECT_FALSE(BufferMatchesGroups("the annualreport is", phrase, Generation{}));
  // A term that is all white space has nothing left to find when compacted.
  EXPECT_FALSE(MatchTextBuffer("abc", Compile({{u"\u00A0"}}), Generation{}));
  EXPECT_FALSE(MatchTextBuffer("   ", phrase, Generation{}));
}

TEST(MatchTextBufferTest, EveryTermOfTheGroupInTheCompactedText) {
  const std::vector<CompiledGroup> query = Compile({{u"annual report", u"due date"}});
  EXPECT_TRUE(
      MatchTextBuffer("annualreport ... due\xE3\x80\x80"
                      "date",
                      query, Generation{}));
  EXPECT_FALSE(MatchTextBuffer("annualreport ... due", query, Generation{}));
}

}  // namespace
}  // namespace quillmor
