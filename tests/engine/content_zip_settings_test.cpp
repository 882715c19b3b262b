#include "engine/content_zip_settings.h"

#include <gtest/gtest.h>

#include <atomic>

#include "platform/sim/memory_file_system.h"
#include "platform/sim/test_env.h"
#include "platform/thread.h"
#include "platform/utf.h"
#include "tests/engine/memory_files.h"

namespace quillmor {
namespace {

class ContentZipSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.env.files = &files;
    t.system.documents = u"C:\\Users\\me\\Documents";
    InstallContentZipSettings({});
  }
  void TearDown() override { InstallContentZipSettings({}); }

  std::string& File(std::u16string_view name) { return files.files[std::u16string(kConfig) + std::u16string(name)]; }
  void Write(std::u16string_view name, std::string_view text) { File(name) = "\xEF\xBB\xBF" + std::string(text); }

  static constexpr std::u16string_view kConfig = u"C:\\Users\\me\\Documents\\Quillmor\\config\\";
  TestEnv t;
  testing::MemoryFileSystem files;
};

TEST_F(ContentZipSettingsTest, MissingFilesAreWrittenWithTheDefaults) {
  LoadContentZipSettings(t.env);
  const ContentZipSettings lists = CopyContentZipSettings();
  EXPECT_EQ(lists.extensions, DefaultContentZipSettings().extensions);
  EXPECT_EQ(lists.innerPatterns, DefaultContentZipSettings().innerPatterns);
  EXPECT_EQ(lists.extensions.size(), 9u);
  EXPECT_EQ(lists.innerPatterns.size(), 17u);

  EXPECT_EQ(File(kContentZipExtsFile),
            "\xEF\xBB\xBF"
            "# Content search: extensions below are read as ZIP (Office Open XML / ODF).\r\n"
            "# Sister file content_zip_inner_patterns.ini controls which inner entries are scanned.\r\n"
            "# 与 content_zip_inner_patterns.ini 配套：后者决定 ZIP 内扫描哪些内嵌文件。\r\n"
            "# Comma-separated; optional prefix exts=\r\n"
            "# 内容搜索：以下扩展名将按 ZIP 解压，仅在 Office/ODF 相关内嵌 XML 中匹配关键字（可随时编辑本文件）。\r\n"
            "exts=.docx,.pptx,.xlsx,.xlsm,.docm,.pptm,.odt,.ods,.odp\r\n");
  const std::string& patterns = File(kContentZipInnerPatternsFile);
  EXPECT_TRUE(patterns.starts_with(
      "\xEF\xBB\xBF"
      "# ZIP internal paths (forward slashes). Multiple patterns per line: comma-separated.\r\n"
      "# Wildcard * matches any substring. Example: *.xml matches every .xml entry in the archive.\r\n"
      "# ZIP 包内路径（正斜杠）；一行多个规则请用英文逗号分隔；*.xml 表示匹配全部 XML。\r\n"
      "word/document.xml\r\nword/footnotes.xml\r\n"))
      << patterns;
  EXPECT_TRUE(patterns.ends_with("\r\nstyles.xml\r\n*.xml\r\n"));

  // What was written reads back as the same lists.
  InstallContentZipSettings({});
  LoadContentZipSettings(t.env);
  EXPECT_EQ(CopyContentZipSettings().extensions, DefaultContentZipSettings().extensions);
  EXPECT_EQ(CopyContentZipSettings().innerPatterns, DefaultContentZipSettings().innerPatterns);
}

TEST_F(ContentZipSettingsTest, LinesAreSplitTrimmedAndNormalised) {
  Write(kContentZipExtsFile,
        "# comment, .not\r\n"
        "\r\n"
        "exts= DOCX, .Pages,,\r\n"
        "  .odt ,odt, . ,,\r\n"
        "EXTS=.keep\r\n");
  Write(kContentZipInnerPatternsFile,
        "patterns=Word/Document.xml\n"
        "# a comment line\n"
        "\n"
        "XL/*.XML , Ä/b.xml\n"
        "patterns=\n");
  LoadContentZipSettings(t.env);
  const ContentZipSettings lists = CopyContentZipSettings();
  // The prefix is case-sensitive: "EXTS=.keep" is a token of its own.
  EXPECT_EQ(lists.extensions, (std::vector<std::u16string>{u".docx", u".pages", u".odt", u".odt", u".exts=.keep"}));
  EXPECT_EQ(lists.innerPatterns, (std::vector<std::string>{"word/document.xml", "xl/*.xml", "\xC3\x84/b.xml"}));
}

TEST_F(ContentZipSettingsTest, AnEmptyFileMeansAnEmptyList) {
  Write(kContentZipExtsFile, "");
  Write(kContentZipInnerPatternsFile, "# nothing\n");
  LoadContentZipSettings(t.env);
  EXPECT_TRUE(CopyContentZipSettings().extensions.empty());
  EXPECT_TRUE(CopyContentZipSettings().innerPatterns.empty());
  EXPECT_FALSE(IsZipDocument(u"C:\\a.docx"));

  // Deleting the file brings the defaults back at the next load.
  files.files.erase(std::u16string(kConfig) + std::u16string(kContentZipExtsFile));
  LoadContentZipSettings(t.env);
  EXPECT_TRUE(IsZipDocument(u"C:\\a.docx"));
  EXPECT_TRUE(CopyContentZipSettings().innerPatterns.empty());
}

TEST_F(ContentZipSettingsTest, AnUnreadableFileKeepsTheListBefore) {
  LoadContentZipSettings(t.env);
  Write(kContentZipExtsFile, "exts=.abc");
  files.unreadable.insert(std::u16string(kConfig) + std::u16string(kContentZipExtsFile));
  Write(kContentZipInnerPatternsFile, "one.xml");
  LoadContentZipSettings(t.env);
  EXPECT_EQ(CopyContentZipSettings().extensions, DefaultContentZipSettings().extensions);
  EXPECT_EQ(CopyContentZipSettings().innerPatterns, std::vector<std::string>{"one.xml"});

  // At the first load there is no list before: it stays empty.
  InstallContentZipSettings({});
  LoadContentZipSettings(t.env);
  EXPECT_TRUE(CopyContentZipSettings().extensions.empty());
}

TEST_F(ContentZipSettingsTest, DefaultsAreUsedWhenTheFilesCannotBeWritten) {
  files.failWrites = true;
  LoadContentZipSettings(t.env);
  EXPECT_EQ(CopyContentZipSettings().extensions, DefaultContentZipSettings().extensions);
  EXPECT_EQ(CopyContentZipSettings().innerPatterns, DefaultContentZipSettings().innerPatterns);
}

// The files were truncated and rewritten in place: a disk that filled up
// half-way left half a list, read back at every later start.
TEST_F(ContentZipSettingsTest, WriteCutShortLeavesNoCutFile) {
  MemoryFileSystem disk;
  disk.AddDirectories(kConfig);
  t.env.files = &disk;
  disk.FailNextWrites(1);
  LoadContentZipSettings(t.env);
  EXPECT_EQ(CopyContentZipSettings().extensions, DefaultContentZipSettings().extensions);
  EXPECT_FALSE(disk.Exists(std::u16string(kConfig) + std::u16string(kContentZipExtsFile)));

  InstallContentZipSettings({});
  LoadContentZipSettings(t.env);
  InstallContentZipSettings({});
  LoadContentZipSettings(t.env);  // from the files now
  EXPECT_EQ(CopyContentZipSettings().extensions, DefaultContentZipSettings().extensions);
  EXPECT_EQ(CopyContentZipSettings().innerPatterns, DefaultContentZipSettings().innerPatterns);
  EXPECT_TRUE(disk.Exists(std::u16string(kConfig) + std::u16string(kContentZipExtsFile)));
}

TEST_F(ContentZipSettingsTest, AFolderInPlaceOfTheFileCountsAsMissing) {
  files.directories.insert(std::u16string(kConfig) + std::u16string(kContentZipExtsFile));
  LoadContentZipSettings(t.env);
  EXPECT_EQ(CopyContentZipSettings().extensions, DefaultContentZipSettings().extensions);
}

TEST_F(ContentZipSettingsTest, CopiesStayAsTheyWereAfterAReload) {
  LoadContentZipSettings(t.env);
  const ContentZipSettings copy = CopyContentZipSettings();
  Write(kContentZipExtsFile, "exts=.zzz");
  LoadContentZipSettings(t.env);
  EXPECT_EQ(copy.extensions, DefaultContentZipSettings().extensions);
  EXPECT_EQ(CopyContentZipSettings().extensions, std::vector<std::u16string>{u".zzz"});
}

TEST_F(ContentZipSettingsTest, IsZipDocumentComparesTheLastExtension) {
  InstallContentZipSettings(DefaultContentZipSettings());
  EXPECT_TRUE(IsZipDocument(u"C:\\docs\\report.docx"));
  EXPECT_TRUE(IsZipDocument(u"C:\\docs\\REPORT.DOCX"));
  EXPECT_TRUE(IsZipDocument(u"C:\\docs\\archive.tar.odt"));
  EXPECT_TRUE(IsZipDocument(u".xlsx"));
  EXPECT_FALSE(IsZipDocument(u"C:\\docs\\report.docx.txt"));
  EXPECT_FALSE(IsZipDocument(u"C:\\docs.docx\\report"));
  EXPECT_FALSE(IsZipDocument(u"C:\\docs\\report"));
  EXPECT_FALSE(IsZipDocument(u"C:\\docs\\report.doc"));
  EXPECT_FALSE(IsZipDocument(u"C:\\docs\\report.docx "));
  EXPECT_FALSE(IsZipDocument(u""));

  const std::vector<std::u16string> copy = {u".pages"};
  EXPECT_TRUE(HasZipExtension(u"C:\\a.Pages", copy));
  EXPECT_FALSE(HasZipExtension(u"C:\\a.docx", copy));
}

TEST_F(ContentZipSettingsTest, ReadersAlwaysSeeBothListsOfOneInstall) {
  // Two settings whose lists belong together; readers copy while a writer
  // keeps replacing them.
  const ContentZipSettings a = {{u".aaa"}, {"a.xml"}};
  const ContentZipSettings b = {{u".bbb", u".bbb2"}, {"b1.xml", "b2.xml"}};
  InstallContentZipSettings(a);
  std::atomic<bool> stop{false};
  std::atomic<int> mixed{0};
  std::vector<Thread> readers;
  for (int r = 0; r < 3; ++r) {
    readers.emplace_back([&] {
      while (!stop.load()) {
        const ContentZipSettings copy = CopyContentZipSettings();
        const bool isA = copy.extensions == a.extensions && copy.innerPatterns == a.innerPatterns;
        const bool isB = copy.extensions == b.extensions && copy.innerPatterns == b.innerPatterns;
        if (!isA && !isB) ++mixed;
        IsZipDocument(u"C:\\x.bbb");
      }
    });
  }
  for (int i = 0; i < 2000; ++i) InstallContentZipSettings(i % 2 ? a : b);
  stop = true;
  for (Thread& reader : readers) reader.join();
  EXPECT_EQ(mixed.load(), 0);
}

}  // namespace
}  // namespace quillmor
