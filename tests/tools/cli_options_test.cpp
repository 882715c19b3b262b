#include "tools/cli_options.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

TEST(CliOptionsTest, ParsesEveryOption) {
  CliOptions o;
  std::string error;
  ASSERT_TRUE(ParseCliOptions({"--drive", "e:=/srv/data", "--drive", "F:=D:\\x", "--scope", "e:", "--desktop",
                               "E:\\Desktop", "--initials", "off", "--count", "--stats", "--repeat", "7", "report"},
                              o, error))
      << error;
  ASSERT_EQ(o.drives.size(), 2u);
  EXPECT_EQ(o.drives[0], (std::pair<char16_t, std::u16string>{u'E', u"/srv/data"}));
  EXPECT_EQ(o.drives[1].second, u"D:\\x");
  EXPECT_EQ(o.scope, u"E:");
  EXPECT_EQ(o.desktop, u"E:\\Desktop");
  EXPECT_FALSE(o.initials);
  EXPECT_TRUE(o.count);
  EXPECT_TRUE(o.stats);
  EXPECT_EQ(o.repeat, 7);
  EXPECT_EQ(o.query, u"report");
}

TEST(CliOptionsTest, DoubleDashAndEmptyQuery) {
  CliOptions o;
  std::string error;
  ASSERT_TRUE(ParseCliOptions({"--", "--not-an-option"}, o, error));
  EXPECT_EQ(o.query, u"--not-an-option");
  ASSERT_TRUE(ParseCliOptions({""}, o, error));
  EXPECT_EQ(o.query, u"");
  ASSERT_TRUE(ParseCliOptions({"--", "新建"}, o, error));
  EXPECT_EQ(o.query, u"新建");
}

TEST(CliOptionsTest, BadUsageIsRefusedWithAMessage) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"a", "b"},
      {"--drive", "E=/x", "q"},
      {"--drive"},
      {"--scope", "somewhere", "q"},
      {"--initials", "maybe", "q"},
      {"--repeat", "0", "q"},
      {"--repeat", "3x", "q"},
      {"--bogus", "q"},
  };
  for (const auto& args : cases) {
    CliOptions o;
    std::string error;
    EXPECT_FALSE(ParseCliOptions(args, o, error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace quillmor
