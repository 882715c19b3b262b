#include "settings/localisation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/test_env.h"
#include "platform/thread.h"
#include "platform/utf.h"
#include "settings/config_directory.h"
#include "tests/settings/small_memory_files.h"

namespace quillmor {
namespace {

// Translate logs to the environment it was given once for the whole process,
// so the tests share one that lives as long.
struct SharedLogEnv {
  SharedLogEnv() {
    t.env.files = &files;
    t.system.documents = u"C:\\Docs";
    InitLocalisation(t.env);
  }
  std::string Log() {
    std::string bytes;
    files.Get(ConfigFilePath(t.env, u"perf_metrics.log"), bytes);
    return bytes;
  }
  TestEnv t;
  SmallMemoryFiles files;
};

SharedLogEnv& LogEnv() {
  static SharedLogEnv* shared = new SharedLogEnv;  // never destroyed: Translate may log until exit
  return *shared;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != text.npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::shared_ptr<const StringTable> TableWith(
    std::initializer_list<std::pair<const std::u16string, std::u16string>> rows) {
  return std::make_shared<const StringTable>(rows);
}

class TranslateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LogEnv();
    InstallActiveLanguage(u"", nullptr, false);
  }
  void TearDown() override { InstallActiveLanguage(u"", nullptr, false); }
};

TEST(NormaliseLanguageCodeTest, ExpandsBareBuiltInCodesAndKeepsOthers) {
  const struct {
    std::u16string_view in, out;
  } cases[] = {
      {u"DE", u"de-de"},    {u" zh\t", u"zh-cn"}, {u"no", u"no-no"},    {u"Ar", u"ar-sa"},
      {u"EN-us", u"en-us"}, {u"pt-BR", u"pt-br"}, {u"de-at", u"de-at"}, {u"pt", u"pt"},
      {u"x", u"x"},         {u"", u""},           {u"  ", u""},         {u"My Lang", u"my lang"},
  };
  for (const auto& c : cases) EXPECT_EQ(NormaliseLanguageCode(c.in), c.out) << Utf16ToUtf8(c.in);
}

TEST(StringTableOfTest, UnknownCodesGetTheEnglishTable) {
  EXPECT_EQ(&StringTableOf(u"pt-br"), &StringTableOf(u"en-us"));
  EXPECT_EQ(&StringTableOf(u""), &StringTableOf(u"en-us"));
  EXPECT_EQ(StringTableOf(u"DE").at(u"Name"), u"Deutsch (DE)");
  EXPECT_EQ(StringTableOf(u"no").at(u"Name"), u"Norsk");
}

TEST_F(TranslateTest, ActiveTableFirstThenEnglish) {
  InstallActiveLanguage(u"de-de", TableWith({{u"Menu_Open", u"Aufmachen"}}), false);
  EXPECT_EQ(Translate(u"Menu_Open", u"打开", u"Open"), u"Aufmachen");
  EXPECT_EQ(Translate(u"Menu_Cut", u"剪切", u"Cut (default)"), u"Cut");  // from the English table
}

TEST_F(TranslateTest, BeforeAnyLanguageTheEnglishTableAnswers) {
  EXPECT_EQ(Translate(u"Header_Size", u"大小", u"Size"), u"Size");
  EXPECT_EQ(CurrentLanguageCode(), u"");
}

TEST_F(TranslateTest, MissingKeyGivesTheDefaultOfTheLanguageAndIsLoggedOnce) {
  InstallActiveLanguage(u"fr-fr", TableWith({}), false);
  EXPECT_EQ(Translate(u"Test_NoSuchKey", u"中文默认", u"English default"), u"English default");
  SetChineseLanguageFlag(true);
  EXPECT_EQ(Translate(u"Test_NoSuchKey", u"中文默认", u"English default"), u"中文默认");
  EXPECT_EQ(Count(LogEnv().Log(), "i18n missing_key=Test_NoSuchKey lang=fr-fr\r\n"), 1u);
}

TEST_F(TranslateTest, OldDottedKeysReadTheirCurrentKeys) {
  InstallActiveLanguage(u"de-de", std::make_shared<const StringTable>(StringTableOf(u"de-de")), false);
  EXPECT_EQ(Translate(u"dialog.title.error", u"错误", u"Error"), Translate(u"MsgTitle_Error", u"错误", u"Error"));
  EXPECT_EQ(Translate(u"dialog.title.error", u"错误", u"Error"), u"Fehler");
  EXPECT_EQ(Translate(u"menu.language", u"语言", u"Language"), u"Sprache");
}

// A text that is just its own key (as a missing key becomes) means "no text".
TEST_F(TranslateTest, TextEqualToItsKeyGivesTheDefault) {
  InstallActiveLanguage(u"en-us", TableWith({{u"Menu_Copy", u"Menu_Copy"}}), true);
  EXPECT_EQ(Translate(u"Menu_Copy", u"复制", u"Copy"), u"复制");
}

TEST_F(TranslateTest, InstallSetsCodeFlagAndTableTogether) {
  auto table = TableWith({{u"Name", u"Klingon"}});
  InstallActiveLanguage(u"tlh-qo", table, true);
  EXPECT_EQ(CurrentLanguageCode(), u"tlh-qo");
  EXPECT_TRUE(IsChineseLanguage());
  EXPECT_EQ(ActiveStringTable(), table);
  SetChineseLanguageFlag(false);
  EXPECT_FALSE(IsChineseLanguage());
  EXPECT_EQ(ActiveStringTable(), table);
  EXPECT_EQ(CurrentLanguageCode(), u"tlh-qo");
}

TEST(CountsAsChineseTest, EntryDecidesElseTheCode) {
  const struct {
    const char16_t* value;  // nullptr: no entry
    std::u16string_view code;
    bool chinese;
  } cases[] = {
      {u"1", u"en-us", true}, {u"YES", u"en-us", true}, {u"True", u"de-de", true}, {u"0", u"zh-cn", false},
      {u"", u"zh-cn", false}, {u"on", u"en-us", false}, {nullptr, u"zh-tw", true}, {nullptr, u"en-us", false},
  };
  for (const auto& c : cases) {
    StringTable table;
    if (c.value) table[u"LanguageIsChinese"] = c.value;
    EXPECT_EQ(CountsAsChinese(table, c.code), c.chinese) << (c.value ? Utf16ToUtf8(c.value) : "none");
  }
}

// Background tasks translate status texts while the user switches language:
// every text read must come whole from one language or the other.
TEST_F(TranslateTest, ConcurrentReadersSeeOneLanguageOrTheOther) {
  const auto german = std::make_shared<const StringTable>(StringTableOf(u"de-de"));
  const auto french = std::make_shared<const StringTable>(StringTableOf(u"fr-fr"));
  const std::u16string germanText = german->at(u"Status_IndexNotReadyRetry");
  const std::u16string frenchText = french->at(u"Status_IndexNotReadyRetry");
  InstallActiveLanguage(u"de-de", german, false);
  std::atomic<bool> stop{false};
  std::atomic<int> bad{0};
  std::vector<Thread> readers;
  for (int r = 0; r < 2; ++r) {
    readers.emplace_back([&] {
      while (!stop.load()) {
        const std::u16string text = Translate(u"Status_IndexNotReadyRetry", u"zh", u"en");
        if (text != germanText && text != frenchText) ++bad;
      }
    });
  }
  for (int i = 0; i < 300; ++i) {
    // Fresh copies, so that a reader holding the old table outlives its
    // last other owner.
    InstallActiveLanguage(u"de-de", std::make_shared<const StringTable>(*german), false);
    InstallActiveLanguage(u"fr-fr", std::make_shared<const StringTable>(*french), false);
  }
  stop = true;
  for (auto& t : readers) t.join();
  EXPECT_EQ(bad.load(), 0);
}

}  // namespace
}  // namespace quillmor
