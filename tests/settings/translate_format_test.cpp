#include "settings/translate_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>

#include "platform/utf.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

std::u16string Format(std::u16string_view format, std::initializer_list<FormatArg> args) {
  return FormatWithArgs(format, std::span<const FormatArg>(args.begin(), args.size()));
}

// The C library is the oracle, except in two corners where the Windows
// libraries (both the system's and MinGW's) depart from the C standard; those
// are pinned below.
bool PortableCorner(const std::string& flag, const std::string& precision, char letter, int64_t value) {
  const bool isUnsigned = letter != 'd' && letter != 'i';
  if (isUnsigned && flag.find_first_of("+ ") != std::string::npos) return false;
  return !(letter == 'o' && flag.find('#') != std::string::npos && value == 0 &&
           (precision == "." || precision == ".0"));
}

TEST(FormatWithArgsTest, IntegersFormatAsPrintfDoes) {
  const char* flags[] = {"", "-", "+", " ", "#", "0", "-0", "+0", "#0", " -", "+ "};
  const char* widths[] = {"", "1", "8", "25"};
  const char* precisions[] = {"", ".", ".0", ".3", ".20"};
  const int64_t values[] = {
      0, 1, -1, 42, -42, 0x7f3a, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()};
  for (const char* letter : {"d", "i", "u", "x", "X", "o"}) {
    for (const char* flag : flags) {
      for (const char* width : widths) {
        for (const char* precision : precisions) {
          const std::string format = std::string("[%") + flag + width + precision + "ll" + letter + "]";
          for (int64_t value : values) {
            if (!PortableCorner(flag, precision, letter[0], value)) continue;
            char expected[128];
            const bool isSigned = letter[0] == 'd' || letter[0] == 'i';
            if (isSigned) {
              std::snprintf(expected, sizeof expected, format.c_str(), static_cast<long long>(value));
            } else {
              std::snprintf(expected, sizeof expected, format.c_str(), static_cast<unsigned long long>(value));
            }
            EXPECT_EQ(Utf16ToUtf8(Format(U16(format), {value})), expected) << format << " " << value;
          }
        }
      }
    }
  }
}

// C: "+" and " " apply to signed conversions only; "#" makes octal start
// with 0 even when the precision would leave no digits.
TEST(FormatWithArgsTest, CornersAsTheCStandardHasThem) {
  EXPECT_EQ(Format(u"[%+u][% x][%+ o]", {5, 255, 8}), u"[5][ff][10]");
  EXPECT_EQ(Format(u"[%#.0o][%#.o][%#5.0o]", {0, 0, 0}), u"[0][0][    0]");
}

TEST(FormatWithArgsTest, UnsignedArgumentsKeepTheirFullRange) {
  EXPECT_EQ(Format(u"%zu", {std::numeric_limits<uint64_t>::max()}), u"18446744073709551615");
  EXPECT_EQ(Format(u"%lu", {uint32_t{4000000000u}}), u"4000000000");
  EXPECT_EQ(Format(u"%d", {uint64_t{7}}), u"7");
}

TEST(FormatWithArgsTest, StringsAndCharacters) {
  const struct {
    std::u16string_view format, expected;
  } cases[] = {
      {u"[%s]", u"[héllo]"},  {u"[%8s]", u"[   héllo]"}, {u"[%-8s]", u"[héllo   ]"},       {u"[%.2s]", u"[hé]"},
      {u"[%ls]", u"[héllo]"}, {u"[%c]", u"[Z]"},         {u"100%% [%s]", u"100% [héllo]"},
  };
  for (const auto& c : cases) {
    const FormatArg arg = c.format.find(u"%c") != c.format.npos ? FormatArg(u'Z') : FormatArg(u"héllo");
    EXPECT_EQ(FormatWithArgs(c.format, std::span(&arg, 1)), c.expected) << Utf16ToUtf8(c.format);
  }
  EXPECT_EQ(Format(u"[%.1s]", {u"\U0001F600x"}), u"[]");  // never half a surrogate pair
}

TEST(FormatWithArgsTest, MissingAndMismatchedArgumentsGiveNothing) {
  EXPECT_EQ(Format(u"a%zu b%zu c", {5}), u"a5 b c");
  EXPECT_EQ(Format(u"[%d][%s]", {u"text", 3}), u"[][]");
  EXPECT_EQ(Format(u"%d", {1, 2, 3}), u"1");
  EXPECT_EQ(Format(u"no conversions", {}), u"no conversions");
}

TEST(FormatWithArgsTest, UnsafeFormatComesBackAsItStands) { EXPECT_EQ(Format(u"50% done %n", {1}), u"50% done %n"); }

TEST(FormatConversionsTest, AcceptsOnlyFormatsThatCanBeFilledSafely) {
  const struct {
    std::u16string_view format;
    bool safe;
    std::vector<std::u16string> conversions;
  } cases[] = {
      {u"Quillmor - %lld+ results...", true, {u"lld"}},
      {u"(Processed %zu / %zu)", true, {u"zu", u"zu"}},
      {u"%-08.3lld and %%, %5s, %hhx %c %ji %td", true, {u"lld", u"s", u"hhx", u"c", u"ji", u"td"}},
      {u"100%%", true, {}},
      {u"", true, {}},
      {u"%1024d", true, {u"d"}},
      {u"ends in %", false, {}},
      {u"%n", false, {}},
      {u"%lln", false, {}},
      {u"%*d", false, {}},
      {u"%.*d", false, {}},
      {u"%1$s", false, {}},
      {u"%1025d", false, {}},
      {u"%.99999999999999999999d", false, {}},
      {u"%f", false, {}},
      {u"%p", false, {}},
      {u"%lf", false, {}},
      {u"%Ld", false, {}},
      {u"%lhd", false, {}},
      {u"%llld", false, {}},
      {u"%I64d", false, {}},
      {u"% ", false, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::u16string> conversions;
    EXPECT_EQ(FormatConversions(c.format, conversions), c.safe) << Utf16ToUtf8(c.format);
    if (c.safe) {
      EXPECT_EQ(conversions, c.conversions) << Utf16ToUtf8(c.format);
    }
  }
}

// A user's language file may replace any format. Only a replacement with the
// same conversions may reach the arguments; anything else falls back to the
// default text.
class FormatTranslatedTest : public ::testing::Test {
 protected:
  void TearDown() override { InstallActiveLanguage(u"", nullptr, false); }
  void Override(std::u16string_view key, std::u16string_view text, bool chinese = false) {
    auto table = std::make_shared<StringTable>(StringTableOf(u"en-us"));
    (*table)[std::u16string(key)] = text;
    InstallActiveLanguage(u"xx-yy", std::move(table), chinese);
  }
};

TEST_F(FormatTranslatedTest, HostileReplacementsFallBackToTheDefault) {
  const std::u16string_view en = u"Quillmor - %lld+ results...";
  const std::u16string_view zh = u"Quillmor - %lld+ 个结果...";
  const std::u16string_view hostile[] = {
      u"%n",  u"%s+ results", u"no number", u"%lld and %lld", u"%lld %",    u"%*lld",
      u"%ld", u"%lli",        u"%lld%n",    u"%1$lld",        u"%99999lld", u"%lld %s",
  };
  for (std::u16string_view text : hostile) {
    Override(u"Title_SearchPartialFmt", text);
    EXPECT_EQ(FormatTranslated(u"Title_SearchPartialFmt", zh, en, int64_t{3000}), u"Quillmor - 3000+ results...")
        << Utf16ToUtf8(text);
    Override(u"Title_SearchPartialFmt", text, /*chinese=*/true);
    EXPECT_EQ(FormatTranslated(u"Title_SearchPartialFmt", zh, en, int64_t{3000}), u"Quillmor - 3000+ 个结果...")
        << Utf16ToUtf8(text);
  }
}

TEST_F(FormatTranslatedTest, HostileReplacementsOfTwoCountFormats) {
  const std::u16string_view en = u"Scanning contents... (Processed %zu / %zu)";
  const std::u16string_view hostile[] = {u"%zu", u"%zu / %zu / %zu", u"%s / %zu", u"%zu / %zu %", u"%zu / %n"};
  for (std::u16string_view text : hostile) {
    Override(u"Status_ScanningProgressFmt", text);
    EXPECT_EQ(FormatTranslated(u"Status_ScanningProgressFmt", u"正在扫描内容...（已处理 %zu / %zu）", en, size_t{5},
                               size_t{10}),
              u"Scanning contents... (Processed 5 / 10)")
        << Utf16ToUtf8(text);
  }
}

TEST_F(FormatTranslatedTest, ReplacementWithOtherFlagsAndWidthIsUsed) {
  Override(u"Title_SearchPartialFmt", u"Treffer: %-6lld| 100%%");
  EXPECT_EQ(FormatTranslated(u"Title_SearchPartialFmt", u"", u"Quillmor - %lld+ results...", int64_t{42}),
            u"Treffer: 42    | 100%");
  Override(u"Msg_RenameFailedFormat", u"Fehler %08lu");
  EXPECT_EQ(FormatTranslated(u"Msg_RenameFailedFormat", u"", u"Rename failed.\nError code: %lu", uint32_t{5}),
            u"Fehler 00000005");
}

TEST_F(FormatTranslatedTest, ChineseDefaultThatDoesNotFitIsNotUsedEither) {
  Override(u"Msg_DeleteFailedCountFmt", u"%s", /*chinese=*/true);
  EXPECT_EQ(
      FormatTranslated(u"Msg_DeleteFailedCountFmt", u"%s 个失败", u"Failed to delete %zu selected items.", size_t{2}),
      u"Failed to delete 2 selected items.");
}

TEST_F(FormatTranslatedTest, BuiltInTranslationsAreUsed) {
  InstallActiveLanguage(u"de-de", std::make_shared<const StringTable>(StringTableOf(u"de-de")), false);
  EXPECT_EQ(FormatTranslated(u"Status_HydrateProgressFmt", u"正在读取文件属性...（已处理 %zu / %zu）",
                             u"Extracting properties... (processed %zu / %zu)", size_t{800}, size_t{1600}),
            u"Eigenschaften werden gelesen... (800 / 1600 verarbeitet)");
}

}  // namespace
}  // namespace quillmor
