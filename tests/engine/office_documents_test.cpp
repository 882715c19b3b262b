// Documents written by a real office suite (tests/data/office, see its
// README): their text must come out whole, CJK and no-break spaces included.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/content_zip_settings.h"
#include "engine/zip_document.h"
#include "platform/sim/test_env.h"
#include "platform/utf.h"
#include "tests/engine/memory_files.h"

namespace quillmor {
namespace {

// Collects the text of every entry; accepts none.
class TextCollector : public ZipTextMatcher {
 public:
  bool SearchIsCurrent() override { return true; }
  bool MatchText(std::string_view text) override {
    all += text;
    all += '\n';
    return false;
  }
  std::string all;
};

class AcceptPhrase : public ZipTextMatcher {
 public:
  explicit AcceptPhrase(std::string phrase) : phrase_(std::move(phrase)) {}
  bool SearchIsCurrent() override { return true; }
  bool MatchText(std::string_view text) override { return text.find(phrase_) != std::string_view::npos; }

 private:
  std::string phrase_;
};

class OfficeDocumentsTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const char* root = std::getenv("QUILLMOR_TEST_DATA");
    if (root == nullptr) GTEST_SKIP() << "QUILLMOR_TEST_DATA is not set";
    std::ifstream in(std::string(root) + "/office/" + GetParam(), std::ios::binary);
    ASSERT_TRUE(in) << "missing fixture " << GetParam();
    std::ostringstream bytes;
    bytes << in.rdbuf();
    document_ = bytes.str();
  }

  std::string document_;
};

TEST_P(OfficeDocumentsTest, TextComesOutWhole) {
  testing::MemoryReadableFile file(document_);
  TextCollector collector;
  EXPECT_FALSE(ScanZipArchive(file, DefaultContentZipSettings().innerPatterns, collector));
  const std::string& text = collector.all;
  // 欠 ends in the byte A0: it must not be split into white space.
  EXPECT_NE(text.find("欠款"), std::string::npos) << text;
  // The no-break space between the words is white space.
  EXPECT_NE(text.find("annual report"), std::string::npos) << text;
  EXPECT_EQ(text.find("\xC2\xA0"), std::string::npos);
  const std::string_view name = GetParam();
  if (name.ends_with(".docx") || name.ends_with(".odt")) {
    EXPECT_NE(text.find("The quarterly report is ready for review."), std::string::npos);
    EXPECT_NE(text.find("本季度欠款已结清，报告见附件。"), std::string::npos);
    EXPECT_NE(text.find("Tom & Jerry <tags> stay text."), std::string::npos);
  }
  if (name.ends_with(".xlsx")) {
    EXPECT_NE(text.find("Invoice 4711"), std::string::npos);
    EXPECT_NE(text.find("本季度结清"), std::string::npos);
  }
  if (name.ends_with(".pptx")) {
    EXPECT_NE(text.find("Slide about the quarterly report"), std::string::npos);
    EXPECT_NE(text.find("本季度欠款已结清"), std::string::npos);
  }
}

TEST_P(OfficeDocumentsTest, FoundThroughTheDocumentScan) {
  InstallContentZipSettings(DefaultContentZipSettings());
  const std::u16string path = u"C:\\Users\\me\\Documents\\" + Utf8ToUtf16(GetParam());
  EXPECT_TRUE(IsZipDocument(path));
  InstallContentZipSettings({});

  TestEnv t;
  testing::MemoryFileSystem files;
  t.env.files = &files;
  files.files[path] = document_;
  AcceptPhrase annual("annual report");
  EXPECT_TRUE(ScanZipDocument(t.env, path, DefaultContentZipSettings().innerPatterns, annual));
  AcceptPhrase absent("not in the document");
  EXPECT_FALSE(ScanZipDocument(t.env, path, DefaultContentZipSettings().innerPatterns, absent));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, OfficeDocumentsTest,
                         ::testing::Values("sample.docx", "sample.odt", "sample.xlsx", "sample.pptx"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           name[name.find('.')] = '_';
                           return name;
                         });

}  // namespace
}  // namespace quillmor
