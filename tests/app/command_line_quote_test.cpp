#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/command_line_quote.h"

namespace quillmor {
namespace {

struct QuoteCase {
  const char* what;
  std::u16string text;
  std::u16string quoted;
};

TEST(QuoteArgumentTest, QuotesOnlyWhatTheSplitterWouldBreakAndEscapesByItsRule) {
  const std::vector<QuoteCase> cases = {
      {"empty stays empty", u"", u""},
      {"plain word", u"/Create", u"/Create"},
      {"backslashes without blanks stay single", u"C:\\dir\\", u"C:\\dir\\"},
      {"space", u"a b", u"\"a b\""},
      {"tab", u"a\tb", u"\"a\tb\""},
      {"backslash inside stays single", u"C:\\a b\\c", u"\"C:\\a b\\c\""},
      {"quote alone", u"\"", u"\"\\\"\""},
      {"quotes inside", u"say \"hi\"", u"\"say \\\"hi\\\"\""},
      {"trailing backslash doubled before the closing quote", u"C:\\Program Files\\", u"\"C:\\Program Files\\\\\""},
      {"run of two backslashes before a quote", u"a\\\\\"b", u"\"a\\\\\\\\\\\"b\""},
      {"run of three backslashes at the end", u"x y\\\\\\", u"\"x y\\\\\\\\\\\\\""},
      {"only blanks", u"  ", u"\"  \""},
  };
  for (const QuoteCase& c : cases) EXPECT_EQ(QuoteArgument(c.text), c.quoted) << c.what;
}

TEST(QuoteArgumentTest, TaskCommandInProgramFilesBecomesOneArgument) {
  // An opening quote, a backslash and a quote, the path, a backslash and a
  // quote, a space, -hidden, a closing quote.
  EXPECT_EQ(QuoteArgument(u"\"C:\\Program Files\\Q\\q.exe\" -hidden"),
            u"\"\\\"C:\\Program Files\\Q\\q.exe\\\" -hidden\"");
}

TEST(BuildCommandLineTest, JoinsTheQuotedProgramAndArgumentsWithSingleSpaces) {
  const std::vector<std::u16string> arguments = {u"/Query", u"/TN", u"Quillmor_AutoStart"};
  EXPECT_EQ(BuildCommandLine(u"C:\\Windows\\system32\\schtasks.exe", arguments),
            u"C:\\Windows\\system32\\schtasks.exe /Query /TN Quillmor_AutoStart");
  const std::vector<std::u16string> spaced = {u"a b", u"", u"c"};
  EXPECT_EQ(BuildCommandLine(u"C:\\Program Files\\x.exe", spaced), u"\"C:\\Program Files\\x.exe\" \"a b\"  c");
}

}  // namespace
}  // namespace quillmor
