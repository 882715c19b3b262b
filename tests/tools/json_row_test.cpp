#include "tools/json_row.h"

#include <gtest/gtest.h>

#include "platform/sim/manual_clock.h"

namespace quillmor {
namespace {

std::string Json(std::u16string_view text) {
  std::string out;
  AppendJsonString(out, text);
  return out;
}

TEST(JsonStringTest, EscapesWhatJsonNeedsAndKeepsTheRestAsUtf8) {
  const struct {
    std::u16string_view text;
    const char* json;
  } cases[] = {
      {u"plain.txt", R"("plain.txt")"},
      {u"", R"("")"},
      {u"say \"hi\".txt", R"("say \"hi\".txt")"},
      {u"C:\\dir\\x", R"("C:\\dir\\x")"},
      {u"a\nb\rc\td\be\ff", R"("a\nb\rc\td\be\ff")"},
      {std::u16string_view(u"\0\x01\x1f\x7f", 4), "\"\\u0000\\u0001\\u001f\x7f\""},
      {u"\u00e9\u65b0\u5efa", "\"\xc3\xa9\xe6\x96\xb0\xe5\xbb\xba\""},
      {u"\U0001F600", "\"\xf0\x9f\x98\x80\""},  // a pair is one character
      {u"\u2028\u2029", R"("\u2028\u2029")"},
      // Lone surrogates, from names that are not valid UTF-16, stay as
      // escapes of their unit.
      {u"a\xd800.txt", R"("a\ud800.txt")"},
      {u"\xdc00x", R"("\udc00x")"},
      {u"x\xdbff", R"("x\udbff")"},
      {u"\xdc00\xd800", R"("\udc00\ud800")"},  // the wrong order is no pair
  };
  for (const auto& c : cases) EXPECT_EQ(Json(c.text), c.json);
}

// 2024-03-09 16:00:00.0001234 UTC, as a FILETIME.
constexpr uint64_t kMarch9 = (1710000000ull + 11644473600ull) * 10'000'000 + 1234;

TEST(IsoLocalTimeTest, LocalTimeWithItsOffset) {
  ManualClock clock;
  const struct {
    int offsetMinutes;
    const char* text;
  } cases[] = {
      {0, "2024-03-09T16:00:00+00:00"},    {60, "2024-03-09T17:00:00+01:00"},   {330, "2024-03-09T21:30:00+05:30"},
      {-300, "2024-03-09T11:00:00-05:00"}, {-570, "2024-03-09T06:30:00-09:30"}, {840, "2024-03-10T06:00:00+14:00"},
  };
  for (const auto& c : cases) {
    clock.SetUtcOffsetMinutes(c.offsetMinutes);
    EXPECT_EQ(IsoLocalTime(clock, kMarch9), c.text) << c.offsetMinutes;
  }
  clock.SetUtcOffsetMinutes(0);
  EXPECT_EQ(IsoLocalTime(clock, 0), "");
  EXPECT_EQ(IsoLocalTime(clock, 1), "1601-01-01T00:00:00+00:00");
  EXPECT_EQ(IsoLocalTime(clock, 11644473600ull * 10'000'000), "1970-01-01T00:00:00+00:00");
  EXPECT_EQ(IsoLocalTime(clock, (11644473600ull + 951782400) * 10'000'000), "2000-02-29T00:00:00+00:00");
}

TEST(JsonRowTest, FieldsInOrderWithNullsForWhatIsUnknown) {
  ManualClock clock;
  clock.SetUtcOffsetMinutes(60);
  RowFacts file{u"E:\\docs\\a\"b.txt", u"a\"b.txt", false, true, 42, 11644473600ull * 10'000'000, 0};
  EXPECT_EQ(JsonRow(clock, file), R"({"path":"E:\\docs\\a\"b.txt","name":"a\"b.txt","directory":false,"size":42,)"
                                  R"("modified":"1970-01-01T01:00:00+01:00","created":null})");
  RowFacts folder{u"E:\\docs", u"docs", true, true, 4096, 0, 0};
  EXPECT_EQ(JsonRow(clock, folder),
            R"({"path":"E:\\docs","name":"docs","directory":true,"size":null,"modified":null,"created":null})");
  RowFacts unread{u"E:\\x", u"x", false, false, 0, 11644473600ull * 10'000'000, 0};
  EXPECT_EQ(JsonRow(clock, unread),
            R"({"path":"E:\\x","name":"x","directory":false,"size":null,"modified":null,"created":null})");
}

}  // namespace
}  // namespace quillmor
