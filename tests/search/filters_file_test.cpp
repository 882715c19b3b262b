#include "search/filters_file.h"

#include <gtest/gtest.h>

#include "search/default_filter_tags.h"
#include "tests/search/filter_fixture.h"

namespace quillmor {
namespace {

class FiltersFileTest : public FilterTest {
 protected:
  // Reads a filters file holding `text`; "<failed>" when the read fails.
  std::string Read(std::string_view text, FilterFileRead* outcome = nullptr) {
    files.AddFile(u"C:\\f.ini", text);
    FilterTagList tags;
    const FilterFileRead read = ReadFilterFile(files, u"C:\\f.ini", tags);
    if (outcome != nullptr) *outcome = read;
    return read == FilterFileRead::kFailed ? "<failed>" : Describe(tags);
  }
};

TEST_F(FiltersFileTest, ReadsTagsAsUsersWriteThem) {
  struct Case {
    std::string_view file;
    std::string_view tags;
  };
  const Case cases[] = {
      {"Pics = JPG, .PNG ,, gif\n", "Pics=.jpg,.png,.gif\n"},
      {"\xEF\xBB\xBFMy  Docs=doc\r\nEmpty=\r\n", "My  Docs=.doc\nEmpty=\n"},
      {"# comment=.x\n\n  \t\nno equals sign\n=.orphan\nA=b=c\n", "A=.b=c\n"},
      {"\tTabs\t=\t.TXT\t,\tMd\t\n", "Tabs=.txt,.md\n"},
      {"Dots=.,..,...x\n", "Dots=.,..,...x\n"},
      {"Ünï=.ÄB\n", "Ünï=.Äb\n"},  // only A to Z fold
      {"# only comments\n\n", "<failed>"},
      {"", "<failed>"},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.file), c.tags) << c.file;
}

TEST_F(FiltersFileTest, NotepadUnicodeFileReads) {
  const char bytes[] = "\xFF\xFEP\0i\0x\0=\0j\0p\0g\0\r\0\n\0";
  const std::string text(bytes, sizeof bytes - 1);
  EXPECT_EQ(Read(text), "Pix=.jpg\n");
}

TEST_F(FiltersFileTest, LongLineArrivesInPiecesOfTheBuffer) {
  // 1023 characters make one read; the rest of the line is the next one.
  const std::string first = "Long=" + std::string(1018, 'a');
  EXPECT_EQ(Read(first + "x=.y\nB=c\n"), "Long=." + std::string(1018, 'a') + "\nx=.y\nB=.c\n");
}

TEST_F(FiltersFileTest, MissingOrUnreadableFileLeavesTheListUnchanged) {
  FilterTagList tags = {{u"Keep", {u".k"}}};
  EXPECT_EQ(ReadFilterFile(files, u"C:\\missing.ini", tags), FilterFileRead::kFailed);
  files.AddFile(u"C:\\junk.ini", std::string("\x00\xFF\xC3\x28 no tags here\n", 18));
  EXPECT_EQ(ReadFilterFile(files, u"C:\\junk.ini", tags), FilterFileRead::kFailed);
  EXPECT_EQ(Describe(tags), "Keep=.k\n");
}

TEST_F(FiltersFileTest, TagsPastTheLimitAreIgnored) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "T" + std::to_string(i) + "=.x\n";
  FilterFileRead read;
  Read(text, &read);
  EXPECT_EQ(read, FilterFileRead::kTruncated);
  FilterTagList tags;
  ReadFilterFile(files, u"C:\\f.ini", tags);
  EXPECT_EQ(tags.size(), kMaxFilterTags);
  EXPECT_EQ(tags.back().name, u"T255");
}

TEST_F(FiltersFileTest, WritesOneLinePerTagWithByteOrderMarkAndRoundTrips) {
  const FilterTagList tags = {{u"All Files", {}}, {u"Pics", {u".jpg", u".png"}}, {u"名前", {u".md"}}};
  ASSERT_TRUE(WriteFilterFile(files, u"C:\\w.ini", tags));
  EXPECT_EQ(*files.Contents(u"C:\\w.ini"),
            "\xEF\xBB\xBF"
            "All Files=\r\nPics=.jpg,.png\r\n名前=.md\r\n");
  FilterTagList back;
  ASSERT_EQ(ReadFilterFile(files, u"C:\\w.ini", back), FilterFileRead::kRead);
  EXPECT_EQ(back, tags);
  EXPECT_FALSE(files.Exists(u"C:\\w.ini.tmp"));
}

TEST_F(FiltersFileTest, NamesThatWouldBreakTheFileAreWrittenSafely) {
  const FilterTagList tags = {{u"# two\nlines = x ", {u".a"}}};
  ASSERT_TRUE(WriteFilterFile(files, u"C:\\w.ini", tags));
  FilterTagList back;
  ASSERT_EQ(ReadFilterFile(files, u"C:\\w.ini", back), FilterFileRead::kRead);
  EXPECT_EQ(Describe(back), "two lines   x=.a\n");
}

TEST_F(FiltersFileTest, FailedWriteKeepsTheOldFileWhole) {
  files.AddFile(u"C:\\w.ini", "Old=.o\n");
  files.FailNextWrites(1);  // the disk fills up halfway through
  EXPECT_FALSE(WriteFilterFile(files, u"C:\\w.ini", BuildDefaultTags(false)));
  EXPECT_EQ(*files.Contents(u"C:\\w.ini"), "Old=.o\n");
  EXPECT_FALSE(files.Exists(u"C:\\w.ini.tmp"));

  files.AddDirectories(u"C:\\ro");
  files.RefuseWritesUnder(u"C:\\ro");
  EXPECT_FALSE(WriteFilterFile(files, u"C:\\ro\\w.ini", BuildDefaultTags(false)));
}

TEST_F(FiltersFileTest, PathFollowsTheCurrentLanguage) {
  UseLanguage(u"");
  EXPECT_EQ(FilterFilePath(env), ConfigFile(u"filters.ini"));
  UseLanguage(u"en-us");
  EXPECT_EQ(FilterFilePath(env), ConfigFile(u"filters.en-us.ini"));
  InstallActiveLanguage(u"My Lang", nullptr, false);
  EXPECT_EQ(FilterFilePath(env), ConfigFile(u"filters.my_lang.ini"));
  InstallActiveLanguage(u"..\\..\\evil", nullptr, false);  // never a path outside the directory
  EXPECT_EQ(FilterFilePath(env), ConfigFile(u"filters.ini"));
}

// --- Start-up ---

class LoadFilterTagsTest : public FiltersFileTest {
 protected:
  std::string File(std::u16string_view name) { return ReadableText(ConfigFile(name)); }
};

TEST_F(LoadFilterTagsTest, NoFileAtAllGivesTheDefaultsWrittenForTheLanguage) {
  LoadFilterTags(env, state);
  EXPECT_EQ(CurrentTags(), kEnglishDefaults);
  EXPECT_EQ(File(u"filters.en-us.ini"), kEnglishDefaults);
  EXPECT_EQ(File(u"filters.ini"), "<missing>");
  EXPECT_EQ(File(u"filters.bak"), "<missing>");
}

TEST_F(LoadFilterTagsTest, WithoutLanguageTheSharedFileIsUsed) {
  UseLanguage(u"");
  LoadFilterTags(env, state);
  EXPECT_EQ(File(u"filters.ini"), kEnglishDefaults);
}

TEST_F(LoadFilterTagsTest, FileWithoutFolderTagGetsOneAsSecondLineAndIsRewritten) {
  PutConfigFile(u"filters.en-us.ini", "Mine=.a\nOther=.b\n");
  LoadFilterTags(env, state);
  EXPECT_EQ(CurrentTags(), "Mine=.a\nFolders=.dir\nOther=.b\n");
  EXPECT_EQ(File(u"filters.en-us.ini"), "Mine=.a\nFolders=.dir\nOther=.b\n");
  EXPECT_EQ(File(u"filters.bak"), "Mine=.a\nFolders=.dir\nOther=.b\n");
}

TEST_F(LoadFilterTagsTest, FileWithFolderTagIsKeptAsWrittenAndBackedUp) {
  const std::string_view text = "# mine\nMine = A , b\nDirs=.FOLDER\n";
  PutConfigFile(u"filters.en-us.ini", text);
  LoadFilterTags(env, state);
  EXPECT_EQ(CurrentTags(), "Mine=.a,.b\nDirs=.folder\n");
  EXPECT_EQ(*files.Contents(ConfigFile(u"filters.en-us.ini")), text);  // not rewritten
  EXPECT_EQ(*files.Contents(ConfigFile(u"filters.bak")), text);        // copied byte for byte
}

TEST_F(LoadFilterTagsTest, ChineseDefaultsUnderEnglishAreReplacedByEnglishDefaults) {
  PutConfigFile(u"filters.en-us.ini", "所有文件=\n文件夹=.dir\n文档=.doc\n");
  LoadFilterTags(env, state);
  EXPECT_EQ(CurrentTags(), kEnglishDefaults);
  EXPECT_EQ(File(u"filters.en-us.ini"), kEnglishDefaults);
  EXPECT_EQ(File(u"filters.bak"), kEnglishDefaults);
}

TEST_F(LoadFilterTagsTest, ChineseDefaultsUnderChineseAreKept) {
  UseLanguage(u"zh-cn");
  PutConfigFile(u"filters.zh-cn.ini", "所有文件=\n文件夹=.dir\n");
  LoadFilterTags(env, state);
  EXPECT_EQ(CurrentTags(), "所有文件=\n文件夹=.dir\n");
}

TEST_F(LoadFilterTagsTest, MissingLanguageFileFallsBackToSharedFileWhichIsKept) {
  UseLanguage(u"zh-cn");
  PutConfigFile(u"filters.ini", "Shared=.s\nFolders=.dir\n");
  LoadFilterTags(env, state);
  EXPECT_EQ(CurrentTags(), "Shared=.s\nFolders=.dir\n");
  EXPECT_EQ(File(u"filters.zh-cn.ini"), "<missing>");
  EXPECT_EQ(File(u"filters.bak"), "Shared=.s\nFolders=.dir\n");
}

TEST_F(LoadFilterTagsTest, SharedFileRepairsAreWrittenToTheSharedFile) {
  PutConfigFile(u"filters.ini", "Shared=.s\n");
  LoadFilterTags(env, state);
  EXPECT_EQ(File(u"filters.ini"), "Shared=.s\nFolders=.dir\n");
  EXPECT_EQ(File(u"filters.en-us.ini"), "<missing>");
  EXPECT_EQ(File(u"filters.bak"), "Shared=.s\nFolders=.dir\n");
}

TEST_F(LoadFilterTagsTest, UnreadableFilesFallBackToTheBackupWrittenToTheLanguageFile) {
  PutConfigFile(u"filters.en-us.ini", "# emptied by an editor\n");
  PutConfigFile(u"filters.ini", "no tags\n");
  PutConfigFile(u"filters.bak", "Saved=.s\n");
  LoadFilterTags(env, state);
  EXPECT_EQ(CurrentTags(), "Saved=.s\nFolders=.dir\n");
  EXPECT_EQ(File(u"filters.en-us.ini"), "Saved=.s\nFolders=.dir\n");
  EXPECT_EQ(File(u"filters.bak"), "Saved=.s\n");
}

TEST_F(LoadFilterTagsTest, OverlongFileIsNotRewrittenSoNoTagIsLost) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "T" + std::to_string(i) + "=.x\n";
  PutConfigFile(u"filters.en-us.ini", text);
  LoadFilterTags(env, state);
  EXPECT_EQ(state.Tags()->size(), kMaxFilterTags + 1);  // with the folder tag
  EXPECT_EQ(*files.Contents(ConfigFile(u"filters.en-us.ini")), text);
  EXPECT_EQ(*files.Contents(ConfigFile(u"filters.bak")), text);
}

TEST_F(LoadFilterTagsTest, ReadOnlyDirectoryStillGivesTags) {
  files.AddDirectories(kConfigDir);
  files.RefuseWritesUnder(kConfigDir);
  LoadFilterTags(env, state);
  EXPECT_EQ(CurrentTags(), kEnglishDefaults);
}

TEST_F(LoadFilterTagsTest, ResetWritesTheDefaultsOfTheCurrentLanguage) {
  PutConfigFile(u"filters.en-us.ini", "Mine=.a\nFolders=.dir\n");
  LoadFilterTags(env, state);
  ASSERT_TRUE(state.SelectTag(1));
  ResetFilterTags(env, state);
  EXPECT_EQ(CurrentTags(), kEnglishDefaults);
  EXPECT_EQ(File(u"filters.en-us.ini"), kEnglishDefaults);
  EXPECT_EQ(state.selectedTag.load(), 1);  // the list did not shrink below it
}

}  // namespace
}  // namespace quillmor
