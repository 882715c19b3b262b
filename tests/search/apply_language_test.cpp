#include "search/apply_language.h"

#include <gtest/gtest.h>

#include "search/default_filter_tags.h"
#include "search/filters_file.h"
#include "settings/localisation_files.h"
#include "settings/localisation_languages.h"
#include "settings/settings_file.h"
#include "tests/search/filter_fixture.h"

namespace quillmor {
namespace {

class AnswerWith : public FilterConflictQuestion {
 public:
  explicit AnswerWith(FilterConflictAnswer answer) : answer_(answer) {}
  FilterConflictAnswer Ask(std::u16string_view title, std::u16string_view text) override {
    ++asked;
    lastTitle = title;
    lastText = text;
    return answer_;
  }
  int asked = 0;
  std::u16string lastTitle;
  std::u16string lastText;

 private:
  FilterConflictAnswer answer_;
};

constexpr std::string_view kGermanDefaults =
    "Alle Dateien=\n"
    "Ordner=.dir\n"
    "Dokumente=.doc,.docx,.pdf,.txt,.xls,.xlsx,.ppt,.pptx,.md,.csv\n"
    "Bilder=.jpg,.jpeg,.png,.gif,.bmp,.webp,.ico,.svg,.tif,.psd\n"
    "Archive=.zip,.rar,.7z,.tar,.gz,.iso,.cab\n"
    "Programme=.exe,.msi,.bat,.cmd,.dll,.sys,.ps1\n"
    "Videos=.mp4,.mkv,.avi,.mov,.wmv,.flv,.rmvb,.m3u8\n"
    "Audio=.mp3,.wav,.flac,.aac,.ogg,.m4a\n";

constexpr std::string_view kCustomised = "Mine=.a\nFolders=.dir\n";

// English is current with the English defaults as tags; each test switches to
// German.
class ApplyLanguageTest : public FilterTest {
 protected:
  ApplyLanguageTest() { state.SetTags(BuildDefaultTags(false)); }

  std::string File(std::u16string_view name) { return ReadableText(ConfigFile(name)); }
  AppliedLanguage SwitchToGerman(FilterConflictQuestion& question) {
    return ApplyLanguage(env, u"de-de", state, question);
  }
};

TEST_F(ApplyLanguageTest, LanguageFileOfItsOwnGivesTheTagsWithoutAQuestion) {
  PutConfigFile(u"filters.de-de.ini", "Meine=.m\n");
  PutConfigFile(u"filters.ini", kCustomised);
  AnswerWith question(FilterConflictAnswer::kYes);
  const AppliedLanguage applied = SwitchToGerman(question);
  EXPECT_EQ(applied.code, u"de-de");
  EXPECT_TRUE(applied.tagsChanged);
  EXPECT_EQ(CurrentTags(), "Meine=.m\n");
  EXPECT_EQ(question.asked, 0);
}

TEST_F(ApplyLanguageTest, NoFilterFileAtAllWritesTheNewDefaults) {
  AnswerWith question(FilterConflictAnswer::kNo);
  EXPECT_TRUE(SwitchToGerman(question).tagsChanged);
  EXPECT_EQ(CurrentTags(), kGermanDefaults);
  EXPECT_EQ(File(u"filters.de-de.ini"), kGermanDefaults);
  EXPECT_EQ(question.asked, 0);
}

TEST_F(ApplyLanguageTest, SharedFileEqualToTheNewDefaultsKeepsTheTagList) {
  PutConfigFile(u"filters.ini", kGermanDefaults);
  AnswerWith question(FilterConflictAnswer::kYes);
  EXPECT_FALSE(SwitchToGerman(question).tagsChanged);
  EXPECT_EQ(question.asked, 0);
  EXPECT_EQ(CurrentTags(), kEnglishDefaults);
  EXPECT_EQ(File(u"filters.de-de.ini"), "<missing>");
}

TEST_F(ApplyLanguageTest, CustomisedSharedFileAsksInTheNewLanguage) {
  PutConfigFile(u"filters.ini", kCustomised);
  AnswerWith question(FilterConflictAnswer::kNo);
  SwitchToGerman(question);
  EXPECT_EQ(question.asked, 1);
  EXPECT_EQ(question.lastTitle, u"Sprachwechsel - Filterkonflikt");
  EXPECT_TRUE(question.lastText.starts_with(u"Sie haben die Filter angepasst (filters.ini)."));
}

TEST_F(ApplyLanguageTest, YesWritesTheDefaultsForTheLanguage) {
  PutConfigFile(u"filters.ini", kCustomised);
  AnswerWith question(FilterConflictAnswer::kYes);
  EXPECT_TRUE(SwitchToGerman(question).tagsChanged);
  EXPECT_EQ(CurrentTags(), kGermanDefaults);
  EXPECT_EQ(File(u"filters.de-de.ini"), kGermanDefaults);
  EXPECT_EQ(File(u"filters.ini"), kCustomised);
}

TEST_F(ApplyLanguageTest, NoKeepsTheCustomTagsWithoutWriting) {
  PutConfigFile(u"filters.ini", kCustomised);
  AnswerWith question(FilterConflictAnswer::kNo);
  EXPECT_TRUE(SwitchToGerman(question).tagsChanged);
  EXPECT_EQ(CurrentTags(), kCustomised);
  EXPECT_EQ(File(u"filters.de-de.ini"), "<missing>");
  EXPECT_EQ(File(u"filters.ini"), kCustomised);
}

TEST_F(ApplyLanguageTest, CancelUsesTheDefaultsForThisSessionOnly) {
  PutConfigFile(u"filters.ini", kCustomised);
  AnswerWith question(FilterConflictAnswer::kCancel);
  SwitchToGerman(question);
  EXPECT_EQ(CurrentTags(), kGermanDefaults);
  EXPECT_EQ(File(u"filters.de-de.ini"), "<missing>");
  EXPECT_EQ(File(u"filters.ini"), kCustomised);
  EXPECT_EQ(File(u"filters.bak"), "<missing>");
}

TEST_F(ApplyLanguageTest, HostileFilterFilesFallBackQuietly) {
  PutConfigFile(u"filters.de-de.ini", "=\n#=x\n\xFF\xFE\n \t=.y\n");  // no tag with a name
  PutConfigFile(u"filters.ini", std::string(5000, '='));
  AnswerWith question(FilterConflictAnswer::kYes);
  SwitchToGerman(question);
  EXPECT_EQ(question.asked, 0);
  EXPECT_EQ(CurrentTags(), kGermanDefaults);
}

TEST_F(ApplyLanguageTest, LanguageNamesThatWouldBreakTheFilterFileAreMadeSafe) {
  // A line break can reach a text only through a template's escapes.
  files.AddDirectories(LanguageFolderPath(env));
  files.AddFile(JoinPath(LanguageFolderPath(env), u"de-de.ini"),
                Utf16ToUtf8(kLanguageTemplateFirstLine) + "\nFilter.2 = \"# Docs = mine\\nmore\"\n");
  AnswerWith question(FilterConflictAnswer::kYes);
  SwitchToGerman(question);
  EXPECT_EQ(state.Tags()->at(2).name, u"Docs   mine more");
  FilterTagList reread;
  ASSERT_EQ(ReadFilterFile(files, ConfigFile(u"filters.de-de.ini"), reread), FilterFileRead::kRead);
  EXPECT_EQ(reread, *state.Tags());
}

}  // namespace
}  // namespace quillmor
