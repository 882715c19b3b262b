// The platform's own code-page conversion. The same expectations hold for
// the POSIX codec and, under Wine, for WideCharToMultiByte itself.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/env.h"
#include "platform/utf.h"
#include "platform/win32_constants.h"

namespace quillmor {
namespace {

using win32::kCodePageGbk;
using win32::kCodePageUtf8;
constexpr uint32_t kCodePage1252 = 1252;

std::string Hex(std::string_view bytes) {
  std::string out;
  char buffer[4];
  for (char c : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02X ", static_cast<unsigned char>(c));
    out += buffer;
  }
  return out;
}

std::string Hex(std::u16string_view units) {
  std::string out;
  char buffer[8];
  for (char16_t u : units) {
    std::snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(u));
    out += buffer;
  }
  return out;
}

TEST(TextCodecTest, FromUtf16GivesWindowsBytes) {
  struct Case {
    uint32_t codePage;
    std::u16string text;
    std::string bytes;
  };
  const Case cases[] = {
      {kCodePageGbk, u"\u4e2d", "\xD6\xD0"},
      {kCodePageGbk, u"a\u65b0\u5efa\u6587\u4ef6\u5939.txt", "a\xD0\xC2\xBD\xA8\xCE\xC4\xBC\xFE\xBC\xD0.txt"},
      {kCodePageGbk, u"\u20ac", "\x80"},
      {kCodePageGbk, u"\ue000", "\xAA\xA1"},  // user-defined area
      {kCodePageGbk, u"\ue766", "\xA2\xAB"},  // a code GBK leaves unassigned
      {kCodePageGbk, u"\uf8f5", "\xFF"},
      {kCodePageGbk, u"\u9fa5", "\xFD\x9B"},
      {kCodePageGbk, u"\u9fa6", "?"},                  // past GBK
      {kCodePageGbk, u"x\U0001F600y", "x??y"},         // each half of a pair
      {kCodePageGbk, std::u16string(1, 0xD800), "?"},  // a lone surrogate
      {kCodePage1252, u"caf\u00e9 \u20ac\u2026", "caf\xE9 \x80\x85"},
      {kCodePage1252, u"\u0081\u008d\u008f\u0090\u009d", "\x81\x8D\x8F\x90\x9D"},
      {kCodePage1252, u"\u4e2d\u6587", "??"},
      {kCodePage1252, std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
      {kCodePageUtf8, u"\u4e2d", "\xE4\xB8\xAD"},
      {kCodePageUtf8, std::u16string(1, 0xDC00), "\xEF\xBF\xBD"},
      {kCodePageGbk, u"", ""},
  };
  TextCodec& codec = *DefaultEnv().text;
  for (const Case& c : cases) {
    std::string bytes = "stale";
    ASSERT_TRUE(codec.FromUtf16(c.codePage, c.text, bytes)) << c.codePage << " " << Hex(c.text);
    EXPECT_EQ(Hex(bytes), Hex(c.bytes)) << c.codePage << " " << Hex(c.text);
  }
}

TEST(TextCodecTest, ToUtf16ReadsWindowsBytes) {
  struct Case {
    uint32_t codePage;
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {kCodePageGbk, "a\xD6\xD0z", u"a\u4e2dz"},
      {kCodePageGbk, "\x80\xFF", u"\u20ac\uf8f5"},
      {kCodePageGbk, "\xA2\xAB\xAA\xA1", u"\ue766\ue000"},
      {kCodePageGbk, "ab\xD6", u"ab?"},                                       // a lead byte at the end
      {kCodePageGbk, "\x81\x30z", u"?z"},                                     // a bad trail byte goes with its lead
      {kCodePageGbk, std::string("\xD6\0z", 3), std::u16string(u"?\0z", 3)},  // but not a NUL
      {kCodePage1252, "\x80\x81\xE9", u"\u20ac\u0081\u00e9"},
      {kCodePageUtf8, "\xE4\xB8\xAD", u"\u4e2d"},
      {kCodePageUtf8, "a\xFFz", u"a\ufffdz"},
      {kCodePage1252, "", u""},
  };
  TextCodec& codec = *DefaultEnv().text;
  for (const Case& c : cases) {
    std::u16string text = u"stale";
    ASSERT_TRUE(codec.ToUtf16(c.codePage, c.bytes, text)) << c.codePage << " " << Hex(c.bytes);
    EXPECT_EQ(Hex(text), Hex(c.text)) << c.codePage << " " << Hex(c.bytes);
  }
}

// Initial-letter search reads the GBK code of each ideograph; every
// character of the first level of GB2312 must survive the trip both ways.
TEST(TextCodecTest, FirstLevelGb2312RoundTrips) {
  TextCodec& codec = *DefaultEnv().text;
  int checked = 0;
  for (unsigned lead = 0xB0; lead <= 0xD7; ++lead) {
    for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
      if (lead == 0xD7 && trail > 0xF9) break;
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      std::u16string text;
      ASSERT_TRUE(codec.ToUtf16(kCodePageGbk, bytes, text));
      ASSERT_EQ(text.size(), 1u) << Hex(bytes);
      EXPECT_TRUE(text[0] >= 0x4E00 && text[0] <= 0x9FFF) << Hex(bytes);
      std::string back;
      ASSERT_TRUE(codec.FromUtf16(kCodePageGbk, text, back));
      EXPECT_EQ(back, bytes);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 3755);  // the first level's size
}

TEST(TextCodecTest, UnknownCodePageFails) {
  TextCodec& codec = *DefaultEnv().text;
  std::string bytes;
  std::u16string text;
  EXPECT_FALSE(codec.FromUtf16(54321, u"x", bytes));
  EXPECT_FALSE(codec.ToUtf16(54321, "x", text));
  EXPECT_NE(codec.AnsiCodePage(), 0u);
  EXPECT_TRUE(codec.FromUtf16(0, u"plain", bytes));  // CP_ACP
  EXPECT_EQ(bytes, "plain");
}

}  // namespace
}  // namespace quillmor
