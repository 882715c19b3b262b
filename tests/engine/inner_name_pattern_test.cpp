#include "engine/inner_name_pattern.h"

#include <gtest/gtest.h>

#include "platform/sim/sample_data.h"

namespace quillmor {
namespace {

TEST(InnerNamePatternTest, Matches) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"word/document.xml", "word/document.xml", true},
      {"word/document.xml", "word/document.xml.rels", false},
      {"word/document.xml", "word/document.xm", false},
      {"abc*", "abc", false},  // a '*' never matches where the name has ended
      {"abc*", "abcd", true},
      {"*.xml", "a.xml", true},
      {"*.xml", ".xml", true},
      {"*.xml", "xml", false},
      {"*.xml", "a.xml.bak", false},
      {"word/header*.xml", "word/header.xml", true},
      {"word/header*.xml", "word/header12.xml", true},
      {"word/header*.xml", "word/footer1.xml", false},
      {"ppt/slides/slide*.xml", "ppt/slides/_rels/slide1.xml.rels", false},
      {"ppt/slides/slide*.xml", "ppt/slides/slide10.xml", true},
      {"a*b*c", "aXXbYYc", true},
      {"a*b*c", "abc", true},
      {"a*b*c", "acb", false},
      {"a*b*", "ab", false},
      {"*", "", false},
      {"*", "x", true},
      {"**", "x", true},
      {"", "", false},  // an empty pattern matches nothing
      {"", "x", false},
      {"x", "", false},
      {"*a", "aaaa", true},
      {"*aab", "aaaaab", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesInnerPattern(c.name, c.pattern), c.matches) << c.pattern << " on " << c.name;
  }
}

// The rule as written: try the shortest runs first; a '*' at the end of the
// name fails; a final '*' takes the rest.
bool ReferenceMatch(std::string_view name, std::string_view pattern) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == '*') {
    if (name.empty()) return false;
    if (pattern.size() == 1) return true;
    for (size_t run = 0; run <= name.size(); ++run) {
      if (ReferenceMatch(name.substr(run), pattern.substr(1))) return true;
    }
    return false;
  }
  return !name.empty() && name[0] == pattern[0] && ReferenceMatch(name.substr(1), pattern.substr(1));
}

TEST(InnerNamePatternTest, AgreesWithTheRuleOnRandomNames) {
  testing::SampleRandom random(11);
  for (int i = 0; i < 100000; ++i) {
    std::string name, pattern;
    for (uint32_t n = random.Below(8); n > 0; --n) name.push_back("ab."[random.Below(3)]);
    for (uint32_t n = 1 + random.Below(6); n > 0; --n) pattern.push_back("ab.*"[random.Below(4)]);
    ASSERT_EQ(MatchesInnerPattern(name, pattern), ReferenceMatch(name, pattern)) << pattern << " on " << name;
  }
}

TEST(InnerNamePatternTest, NormalisedNames) {
  EXPECT_EQ(NormalizeInnerName("Word\\Document.XML"), "word/document.xml");
  EXPECT_EQ(NormalizeInnerName("\xC3\x84/x.xml"), "\xC3\x84/x.xml");  // only ASCII letters fold
  const std::vector<std::string> patterns = {"", "content.xml", "styles.xml"};
  EXPECT_TRUE(MatchesAnyInnerPattern("styles.xml", patterns));
  EXPECT_FALSE(MatchesAnyInnerPattern("meta.xml", patterns));
  EXPECT_FALSE(MatchesAnyInnerPattern("", patterns));
}

}  // namespace
}  // namespace quillmor
