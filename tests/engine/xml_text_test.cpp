#include "engine/xml_text.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

struct XmlCase {
  const char* name;
  std::string xml;
  std::string text;
};

TEST(XmlTextTest, Conversions) {
  const std::vector<XmlCase> cases = {
      {"named and numeric references", "&lt;b&gt; &#x4E2D;&#65;",
       "<b> \xE4\xB8\xAD"
       "A"},
      {"the other named references", "&amp;&quot;&apos;", "&\"'"},
      {"hexadecimal digits of either case", "&#X4e2D;&#x4E2d;", "\xE4\xB8\xAD\xE4\xB8\xAD"},
      {"four-byte characters", "&#128512;", "\xF0\x9F\x98\x80"},
      {"two text elements across white space", "<w:t>a</w:t>\n\t<w:t>b</w:t>", "a b"},
      {"white space at both ends", "  <p> \r\n x \t </p> \n", "x"},
      {"runs of white space fold into one", "a \t\r\n b", "a b"},
      {"CDATA keeps markup characters", "<![CDATA[x<y]]>", "x<y"},
      {"a single ] inside CDATA stays", "<![CDATA[a]b]]]>", "a]b]"},
      {"CDATA folds white space too", "<![CDATA[a  \n b]]>", "a b"},
      {"unterminated CDATA runs to the end", "<![CDATA[a<b>", "a<b>"},
      {"unknown entities are dropped", "a&nbsp;b&copy;c", "abc"},
      {"entity names are cut at 15 bytes", "&ampampampampampamp;x&amp;", "x&"},
      {"code points beyond Unicode write nothing", "a&#x110000;b&#1114112;c", "abc"},
      {"malformed numbers are dropped", "a&#12z;b&#x;c&#;d&#xG1;e", "abcde"},
      {"numeric references are not folded", "a&#32;&#32;b", "a  b"},
      {"attribute text is not text", "<a href=\"x y\">z</a>", "z"},
      {"a comment is one tag", "<!-- note -->t", "t"},
      {"a processing instruction is a tag", "<?xml version=\"1.0\"?><r>t</r>", "t"},
      {"an unterminated tag hides the rest", "a<b c", "a"},
      {"a > outside any tag is dropped", "a>b", "ab"},
      {"an unterminated entity hides the rest", "a&b c", "a"},
      {"no-break space is white space", "a\xC2\xA0\xC2\xA0 b", "a b"},
      {"no-break spaces at the ends are trimmed", "\xC2\xA0x\xC2\xA0", "x"},
      {"CJK characters ending in byte A0 stay whole", "\xE6\xAC\xA0 \xE4\xB8\xA0", "\xE6\xAC\xA0 \xE4\xB8\xA0"},
      {"a lone A0 byte is kept",
       "a\xA0"
       "b",
       "a\xA0"
       "b"},
      {"only markup", "<a><b/></a>", ""},
      {"empty", "", ""},
  };
  for (const XmlCase& c : cases) EXPECT_EQ(XmlToText(c.xml), c.text) << c.name;
}

TEST(XmlTextTest, InPlaceResultIsAViewIntoTheBuffer) {
  std::string buffer = "  <p>in place</p>  ";
  const std::string_view text = XmlToTextInPlace(buffer);
  EXPECT_EQ(text, "in place");
  EXPECT_GE(text.data(), buffer.data());
  EXPECT_LE(text.data() + text.size(), buffer.data() + buffer.size());
}

TEST(XmlTextTest, EntitiesNeverOutgrowTheirSource) {
  // The shortest references for each UTF-8 length, back to back: converting
  // in place must not overwrite input that is still to be read.
  std::string xml;
  std::string expected;
  for (int i = 0; i < 50; ++i) {
    xml += "&#0;&#128;&#x800;&#65536;&#x10FFFF;";
    expected += std::string(1, '\0') +
                "\xC2\x80"
                "\xE0\xA0\x80"
                "\xF0\x90\x80\x80"
                "\xF4\x8F\xBF\xBF";
  }
  EXPECT_EQ(XmlToText(xml), expected);
}

}  // namespace
}  // namespace quillmor
