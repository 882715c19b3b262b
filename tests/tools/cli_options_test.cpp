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

TEST(CliOptionsTest, PipelineOptions) {
  CliOptions o;
  std::string error;
  ASSERT_TRUE(ParseCliOptions({"-0", "-l", "25", "--json", "*.pdf"}, o, error)) << error;
  EXPECT_TRUE(o.nullTerminated);
  EXPECT_EQ(o.limit, 25u);
  EXPECT_TRUE(o.json);
  EXPECT_EQ(o.query, u"*.pdf");
  CliOptions longNames;
  ASSERT_TRUE(ParseCliOptions({"--null", "--limit", "100000000000", "x"}, longNames, error)) << error;
  EXPECT_TRUE(longNames.nullTerminated);
  EXPECT_EQ(longNames.limit, 100'000'000'000u);
  EXPECT_EQ(CliOptions{}.limit, 0u);  // no limit unless asked
}

TEST(CliOptionsTest, HelpAndVersionNeedNoQuery) {
  CliOptions help, version;
  std::string error;
  ASSERT_TRUE(ParseCliOptions({"--help"}, help, error));
  EXPECT_TRUE(help.help);
  ASSERT_TRUE(ParseCliOptions({"--drive", "E:=/x", "--version"}, version, error));
  EXPECT_TRUE(version.version);
  EXPECT_EQ(std::string(CliVersion()).rfind("quillmor-cli ", 0), 0u);
  EXPECT_NE(std::string(CliUsage()).find("Exit status"), std::string::npos);
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
      {"-l", "0", "q"},
      {"--limit", "-3", "q"},
      {"--limit", "+3", "q"},
      {"--limit", "3 rows", "q"},
      {"--limit", "1234567890123456789012", "q"},
      {"-l"},
      {"--json", "--long", "q"},
      {"-0"},
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
