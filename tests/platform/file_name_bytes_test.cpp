#include "platform/file_name_bytes.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/utf.h"

namespace quillmor {
namespace {

// Each byte outside valid UTF-8 is U+DC80 + byte; everything else is UTF-8.
TEST(FileNameBytesTest, BytesOutsideUtf8BecomeLoneSurrogatesAndBack) {
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"ASCII", "report.txt", u"report.txt"},
      {"UTF-8", "\xe4\xb8\xad\xf0\x9f\x98\x80.txt", u"\u4e2d\U0001F600.txt"},
      {"U+FFFD itself", "r\xef\xbf\xbdport", u"r\uFFFDport"},
      {"Latin-1 byte", "r\xffport", u"r\xDCFFport"},
      {"another one", "r\xfeport", u"r\xDCFEport"},
      {"lone continuation", "\x80", u"\xDC80"},
      {"cut sequence, then ASCII", "\xe4\xb8x", u"\xDCE4\xDCB8x"},
      {"cut sequence at the end", "a\xf0\x9f\x98", u"a\xDCF0\xDC9F\xDC98"},
      {"overlong slash", "\xc0\xaf", u"\xDCC0\xDCAF"},
      {"encoded surrogate", "\xed\xa0\x80", u"\xDCED\xDCA0\xDC80"},
      {"beyond U+10FFFF", "\xf4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},
      {"escape after a pair", "\xf0\x9f\x98\x80\x80", u"\U0001F600\xDC80"},
      {"empty", "", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FileNameFromBytes(c.bytes), c.text);
    EXPECT_EQ(FileNameToBytes(c.text), c.bytes);
  }
}

// Valid names convert exactly as UTF-8 does, so the mapping changes nothing
// for them; surrogates a name cannot have produced become U+FFFD as there.
TEST(FileNameBytesTest, AgreesWithUtf8WhereUtf8IsValid) {
  const std::u16string texts[] = {u"a", u"\u00e9t\u00e9", u"\U0010FFFF", u"x\xD800y", u"\xDC00", u"\xDD00"};
  for (const std::u16string& text : texts) {
    EXPECT_EQ(FileNameToBytes(text), Utf16ToUtf8(text));
  }
  const std::string valid = "caf\xc3\xa9 \xe2\x82\xac";
  EXPECT_EQ(FileNameFromBytes(valid), Utf8ToUtf16(valid));
}

}  // namespace
}  // namespace quillmor
