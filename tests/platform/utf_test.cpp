#include "platform/utf.h"

#include <gtest/gtest.h>

#include <string>

namespace quillmor {
namespace {

// Each ill-formed sequence is one U+FFFD, and decoding goes on right after
// the bytes that looked like part of it, so text that follows survives.
TEST(UtfTest, Utf8ToUtf16ReplacesEachIllFormedSequenceOnce) {
  const struct {
    const char* name;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {"ASCII", "abc", u"abc"},
      {"two, three and four bytes", "\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80", u"\u00e9\u4e2d\U0001F600"},
      {"largest code point", "\xf4\x8f\xbf\xbf", u"\U0010FFFF"},
      {"lone continuation", "a\x80z", u"a\uFFFDz"},
      {"lead byte never used", "a\xffz", u"a\uFFFDz"},
      {"cut short by ASCII", "\xe4\xb8z", u"\uFFFDz"},
      {"cut short by the end", "a\xf0\x9f\x98", u"a\uFFFD"},
      {"cut short by another lead", "\xe4\xc3\xa9", u"\uFFFD\u00e9"},
      {"overlong slash", "\xc0\xaf", u"\uFFFD\uFFFD"},
      {"overlong three bytes", "\xe0\x80\xaf", u"\uFFFD"},
      {"encoded surrogate", "\xed\xa0\x80", u"\uFFFD"},
      {"past U+10FFFF", "\xf4\x90\x80\x80", u"\uFFFD"},
      {"NUL kept", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"empty", "", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToUtf16(c.bytes), c.text);
  }
}

TEST(UtfTest, Utf16ToUtf8ReplacesLoneSurrogates) {
  const struct {
    const char* name;
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {"pair", u"\U0001F600", "\xf0\x9f\x98\x80"},
      {"high alone", u"a\xD800z", "a\xef\xbf\xbdz"},
      {"high at the end", u"a\xDBFF", "a\xef\xbf\xbd"},
      {"low alone", u"\xDC00", "\xef\xbf\xbd"},
      {"two highs, then a low", u"\xD800\xD800\xDC00", "\xef\xbf\xbd\xf0\x90\x80\x80"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf16ToUtf8(c.text), c.bytes);
  }
}

// Of an ill-formed sequence, the length says how many bytes belong to it:
// its lead byte and the continuation bytes after it, never a byte past the
// end of the input.
TEST(UtfTest, DecodeUtf8SequenceLengths) {
  const struct {
    std::string bytes;
    bool valid;
    char32_t codePoint;
    size_t length;
  } cases[] = {
      {"A", true, U'A', 1},       {"\xc3\xa9xyz", true, U'\u00e9', 2}, {"\xf0\x9f\x98\x80", true, U'\U0001F600', 4},
      {"\x80\x80", false, 0, 1},  {"\xf5\x80\x80\x80", false, 0, 1},   {"\xe4\xb8", false, 0, 2},
      {"\xe4\xb8z", false, 0, 2}, {"\xf0\x9f\x98", false, 0, 3},       {"\xed\xa0\x80", false, 0, 3},
      {"\xc1\xbf", false, 0, 1},
  };
  for (const auto& c : cases) {
    const Utf8Sequence sequence = DecodeUtf8Sequence(c.bytes);
    EXPECT_EQ(sequence.valid, c.valid) << testing::PrintToString(c.bytes);
    if (c.valid) {
      EXPECT_EQ(sequence.codePoint, c.codePoint) << testing::PrintToString(c.bytes);
    }
    EXPECT_EQ(sequence.length, c.length) << testing::PrintToString(c.bytes);
  }
}

}  // namespace
}  // namespace quillmor
