// The built-in tables: every language must give every key a text that fits
// where the English text is used (same conversions, placeholders, line
// breaks, menu tabs and mnemonics, and blanks at either end, which the
// pieced-together status texts depend on).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "platform/utf.h"
#include "settings/localisation.h"
#include "settings/localisation_table.h"
#include "settings/translate_format.h"

namespace quillmor {
namespace {

size_t Count(std::u16string_view text, std::u16string_view what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != text.npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string LeadingBlanks(std::u16string_view text) {
  size_t n = 0;
  while (n < text.size() && IsBlank(text[n])) ++n;
  return std::u16string(text.substr(0, n));
}

std::u16string TrailingBlanks(std::u16string_view text) {
  size_t n = 0;
  while (n < text.size() && IsBlank(text[text.size() - 1 - n])) ++n;
  return std::u16string(text.substr(text.size() - n));
}

std::string Show(std::u16string_view code, std::u16string_view key) {
  return Utf16ToUtf8(code) + " " + Utf16ToUtf8(key);
}

TEST(LocalisationTablesTest, EveryBuiltInTableFitsEveryEnglishText) {
  const StringTable& english = StringTableOf(u"en-us");
  for (std::u16string_view code : BuiltInLanguageCodes()) {
    const StringTable& table = StringTableOf(code);
    for (std::u16string_view key : LocalisationKeys()) {
      SCOPED_TRACE(Show(code, key));
      const auto it = table.find(key);
      ASSERT_NE(it, table.end());
      const std::u16string& text = it->second;
      const std::u16string& reference = english.find(key)->second;
      EXPECT_FALSE(text.empty());
      std::vector<std::u16string> conversions, expected;
      EXPECT_TRUE(FormatConversions(text, conversions));
      ASSERT_TRUE(FormatConversions(reference, expected));
      EXPECT_EQ(conversions, expected);
      EXPECT_EQ(Count(text, u"{0}"), Count(reference, u"{0}"));
      EXPECT_EQ(Count(text, u"\n"), Count(reference, u"\n"));
      EXPECT_EQ(Count(text, u"\t"), Count(reference, u"\t"));
      EXPECT_EQ(Count(text, u"&"), Count(reference, u"&"));
      EXPECT_EQ(LeadingBlanks(text), LeadingBlanks(reference));
      EXPECT_EQ(TrailingBlanks(text), TrailingBlanks(reference));
    }
  }
}

// A translation that forgets a key silently shows English there; one with a
// misspelt key adds a text nobody asks for.
TEST(LocalisationTablesTest, EveryTranslationCoversEveryKeyAndNoOther) {
  const std::set<std::u16string_view> sameEverywhere = {
      u"app.name",           u"App_Name",          u"app.title.main",   u"App_TitleMain",
      u"App_TitleMainLower", u"LanguageIsChinese", u"Header_RowNumber",
  };
  const std::pair<const char*, std::span<const LocalisedText>> overlays[] = {
      {"zh-cn", ChineseSimplifiedTexts()},
      {"de-de", GermanTexts()},
      {"ja-jp", JapaneseTexts()},
      {"fr-fr", FrenchTexts()},
      {"ko-kr", KoreanTexts()},
      {"es-es", SpanishTexts()},
      {"ru-ru", RussianTexts()},
      {"no-no", NorwegianTexts()},
      {"ar-sa", ArabicTexts()},
  };
  const auto keys = LocalisationKeys();
  for (const auto& [code, texts] : overlays) {
    SCOPED_TRACE(code);
    std::set<std::u16string_view> translated;
    for (const LocalisedText& entry : texts) {
      EXPECT_TRUE(std::find(keys.begin(), keys.end(), entry.key) != keys.end()) << Utf16ToUtf8(entry.key);
      EXPECT_TRUE(translated.insert(entry.key).second) << "twice: " << Utf16ToUtf8(entry.key);
    }
    for (std::u16string_view key : keys) {
      if (!sameEverywhere.contains(key)) {
        EXPECT_TRUE(translated.contains(key)) << "untranslated: " << Utf16ToUtf8(key);
      }
    }
  }
}

TEST(LocalisationTablesTest, OnlyTheChineseTableCountsAsChinese) {
  for (std::u16string_view code : BuiltInLanguageCodes()) {
    EXPECT_EQ(CountsAsChinese(StringTableOf(code), code), code == u"zh-cn") << Utf16ToUtf8(code);
  }
}

// Other code recognises Chinese defaults in a filters file by this name.
TEST(LocalisationTablesTest, ChineseTableNamesTheDefaultTagsAsTheFiltersExpect) {
  const StringTable& chinese = StringTableOf(u"zh-cn");
  EXPECT_EQ(chinese.at(u"Filter.0"), u"所有文件");
  EXPECT_EQ(chinese.at(u"Filter_Folders"), u"文件夹");
}

TEST(LocalisationTablesTest, KeysAreListedOnceEach) {
  const auto keys = LocalisationKeys();
  const std::set<std::u16string_view> unique(keys.begin(), keys.end());
  EXPECT_EQ(unique.size(), keys.size());
  EXPECT_EQ(StringTableOf(u"en-us").size(), keys.size());
}

}  // namespace
}  // namespace quillmor
