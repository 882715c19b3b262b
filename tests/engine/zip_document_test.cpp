#include "engine/zip_document.h"

#include <gtest/gtest.h>

#include "engine/content_zip_settings.h"
#include "engine/zip_reader.h"
#include "platform/shutdown.h"
#include "platform/sim/test_env.h"
#include "tests/engine/memory_files.h"
#include "tests/engine/zip_builder.h"

namespace quillmor {
namespace {

using testing::BuildArchive;
using testing::TestArchive;
using testing::TestEntry;
using testing::XmlPart;

// Records every text it is offered; accepts texts containing `hit`.
class RecordingMatcher : public ZipTextMatcher {
 public:
  bool SearchIsCurrent() override { return ++checks <= currentChecks; }
  bool MatchText(std::string_view text) override {
    texts.emplace_back(text);
    return !hit.empty() && text.find(hit) != std::string_view::npos;
  }

  std::string hit;
  int currentChecks = 1 << 30;  // the search turns stale after this many checks
  int checks = 0;
  std::vector<std::string> texts;
};

const std::vector<std::string> kAllXml = {"*.xml"};

bool Scan(const std::string& archive, RecordingMatcher& matcher,
          const std::vector<std::string>& patterns = DefaultContentZipSettings().innerPatterns) {
  testing::MemoryReadableFile file(archive);
  return ScanZipArchive(file, patterns, matcher);
}

std::vector<std::string> TextsOf(const TestArchive& a, const std::vector<std::string>& patterns = kAllXml) {
  RecordingMatcher matcher;
  Scan(BuildArchive(a).bytes, matcher, patterns);
  return matcher.texts;
}

TEST(ZipDocumentTest, OffersTheTextOfEachEntryInDirectoryOrder) {
  TestArchive a;
  a.entries.push_back({.name = "word/document.xml", .data = XmlPart("Body &amp; soul"), .method = 8});
  a.entries.push_back({.name = "word/styles.xml", .data = XmlPart("stored\r\n\tstyles"), .method = 0});
  a.entries.push_back({.name = "docProps/core.xml", .data = XmlPart("Author"), .method = 8});
  EXPECT_EQ(TextsOf(a, DefaultContentZipSettings().innerPatterns),
            (std::vector<std::string>{"Body & soul", "stored styles", "Author"}));
}

TEST(ZipDocumentTest, StopsAtTheFirstAcceptedEntry) {
  TestArchive a;
  for (const char* word : {"alpha", "beta", "gamma"}) {
    a.entries.push_back({.name = std::string(word) + ".xml", .data = XmlPart(word)});
  }
  RecordingMatcher matcher;
  matcher.hit = "beta";
  EXPECT_TRUE(Scan(BuildArchive(a).bytes, matcher));
  EXPECT_EQ(matcher.texts, (std::vector<std::string>{"alpha", "beta"}));

  matcher = {};
  matcher.hit = "delta";
  EXPECT_FALSE(Scan(BuildArchive(a).bytes, matcher));
  EXPECT_EQ(matcher.texts.size(), 3u);
}

TEST(ZipDocumentTest, SkipsWhatCannotOrNeedNotBeRead) {
  TestArchive a;
  auto add = [&](TestEntry e) { a.entries.push_back(std::move(e)); };
  add({.name = "first.xml", .data = XmlPart("first")});
  add({.name = "folder.xml/", .data = XmlPart("a directory by its slash")});
  add({.name = "attr.xml", .data = XmlPart("a directory by its attribute"), .externalAttributes = 0x10});
  add({.name = "enc.xml", .data = XmlPart("encrypted"), .flags = kZipFlagEncrypted});
  add({.name = "strong.xml", .data = XmlPart("strongly encrypted"), .flags = kZipFlagStrongEncryption});
  add({.name = "patch.xml", .data = XmlPart("patched"), .flags = kZipFlagPatchedData});
  add({.name = "bzip2.xml", .data = XmlPart("bzip2"), .method = 12});
  add({.name = "image.png", .data = XmlPart("not an XML name")});
  add({.name = "empty.xml", .data = ""});
  add({.name = "markup.xml", .data = "<a><b/> \n </a>"});  // no text
  add({.name = "badcrc.xml", .data = XmlPart("bad stored CRC"), .method = 0, .crc = 99});
  add({.name = "baddeflate.xml", .data = XmlPart("bad deflated CRC"), .crc = 99});
  add({.name = "garbage.xml", .data = XmlPart("garbage"), .stored = std::string(40, '\xFF')});
  add({.name = "short.xml", .data = XmlPart("declared too long"), .uncompressedSize = 100});
  add({.name = "last.xml", .data = XmlPart("last")});
  // The second pattern admits the directory's name, so only the directory rule skips it.
  EXPECT_EQ(TextsOf(a, {"*.xml", "*.xml/"}), (std::vector<std::string>{"first", "last"}));
}

TEST(ZipDocumentTest, InnerNamesAreMatchedNormalised) {
  TestArchive a;
  a.entries.push_back({.name = "word\\document.xml", .data = XmlPart("backslash")});
  a.entries.push_back({.name = "Word/Document.XML", .data = XmlPart("upper case")});
  a.entries.push_back({.name = "word/settings.xml", .data = XmlPart("not listed")});
  EXPECT_EQ(TextsOf(a, {"word/document.xml"}), (std::vector<std::string>{"backslash", "upper case"}));
  EXPECT_TRUE(TextsOf(a, {}).empty());
  EXPECT_TRUE(TextsOf(a, {""}).empty());
}

TEST(ZipDocumentTest, UnreadableArchiveIsNoHit) {
  TestArchive a;
  a.entries.push_back({.name = "a.xml", .data = XmlPart("text")});
  a.trailer = std::string(100000, '\0');
  RecordingMatcher matcher;
  matcher.hit = "text";
  EXPECT_FALSE(Scan(BuildArchive(a).bytes, matcher));
  EXPECT_FALSE(Scan("PK", matcher));
  EXPECT_TRUE(matcher.texts.empty());
}

TEST(ZipDocumentTest, GivesUpWhenTheSearchIsStaleOrShutdownBegins) {
  TestArchive a;
  for (const char* word : {"one", "two", "three"}) a.entries.push_back({.name = "p.xml", .data = XmlPart(word)});
  const std::string bytes = BuildArchive(a).bytes;

  RecordingMatcher matcher;
  matcher.currentChecks = 2;
  EXPECT_FALSE(Scan(bytes, matcher));
  EXPECT_EQ(matcher.texts, (std::vector<std::string>{"one", "two"}));

  matcher = {};
  matcher.hit = "one";
  matcher.currentChecks = 0;
  EXPECT_FALSE(Scan(bytes, matcher));
  EXPECT_TRUE(matcher.texts.empty());

  matcher = {};
  BeginShutdown();
  const bool hit = Scan(bytes, matcher);
  g_shutdown.store(false);
  EXPECT_FALSE(hit);
  EXPECT_TRUE(matcher.texts.empty());
}

TEST(ZipDocumentTest, EntriesOver50MiBAreSkippedUnread) {
  // One entry of exactly 50 MiB (read) and one a byte larger (skipped without
  // touching its data), both long runs that the test encoder keeps small.
  auto part = [](size_t size, char fill) {
    std::string xml;
    xml.reserve(size);
    xml += "<t>";
    xml.append(size - 7, fill);
    xml += "</t>";
    return xml;
  };
  TestArchive a;
  a.entries.push_back({.name = "big.xml", .data = part(kMaxZipEntrySize + 1, 'b')});
  a.entries.push_back({.name = "edge.xml", .data = part(kMaxZipEntrySize, 'a')});
  const auto built = BuildArchive(a);

  // Checks the text where it is instead of copying 50 MiB.
  class EdgeMatcher : public ZipTextMatcher {
   public:
    bool SearchIsCurrent() override { return true; }
    bool MatchText(std::string_view text) override {
      ++calls;
      whole = text.size() == kMaxZipEntrySize - 7 && text.find_first_not_of('a') == std::string_view::npos;
      return false;
    }
    int calls = 0;
    bool whole = false;
  } matcher;
  testing::MemoryReadableFile file(built.bytes);
  EXPECT_FALSE(ScanZipArchive(file, kAllXml, matcher));
  EXPECT_EQ(matcher.calls, 1);
  EXPECT_TRUE(matcher.whole);
  EXPECT_FALSE(file.WasRead(built.localHeaderOffsets[0], built.localHeaderOffsets[1] - built.localHeaderOffsets[0]));
}

TEST(ZipDocumentTest, DeclaredSizeOver50MiBIsNotDecoded) {
  // A Deflate entry declared as 60 MB: skipped before any of it is read.
  TestArchive a;
  a.prefix = "x";  // so that the end-record search, which reads the whole small file, starts elsewhere
  a.entries.push_back({.name = "huge.xml", .data = XmlPart("huge"), .uncompressedSize = 60000000});
  a.entries.push_back({.name = "small.xml", .data = XmlPart("small")});
  const auto built = BuildArchive(a);
  testing::MemoryReadableFile file(built.bytes);
  RecordingMatcher matcher;
  ScanZipArchive(file, kAllXml, matcher);
  EXPECT_EQ(matcher.texts, std::vector<std::string>{"small"});
  EXPECT_FALSE(file.ReadStartedAt(built.localHeaderOffsets[0]));
  EXPECT_FALSE(file.ReadStartedAt(built.dataOffsets[0]));
  EXPECT_TRUE(file.ReadStartedAt(built.localHeaderOffsets[1]));
}

// 65,535 entries over one stream of 50 MiB of zeros kept content search busy
// for hours on one 3.7 MB document.
TEST(ZipDocumentTest, OverlappingZipEntriesAreNotRead) {
  TestArchive a;
  a.entries.push_back({.name = "real.xml", .data = XmlPart("real")});
  a.entries.push_back({.name = "bomb.xml", .data = XmlPart("zeros")});
  const auto first = BuildArchive(a);
  for (int i = 0; i < 100; ++i) {
    TestEntry copy = a.entries[1];
    copy.localHeaderOffset = first.localHeaderOffsets[1];
    a.entries.push_back(copy);
  }
  RecordingMatcher matcher;
  EXPECT_FALSE(Scan(BuildArchive(a).bytes, matcher, kAllXml));
  EXPECT_EQ(matcher.texts, std::vector<std::string>{"real"});
}

// What bounds a document's work when its entries do not overlap: past the
// budget of decompressed bytes the document is given up as unreadable, even
// where a later entry would match.
TEST(ZipDocumentTest, DocumentStopsAtItsBudgetOfDecompressedBytes) {
  TestArchive a;
  for (const char* text : {"first", "second", "third"}) {
    a.entries.push_back({.name = std::string(text) + ".xml", .data = "<t>" + std::string(text) + "</t>"});
  }
  const std::string bytes = BuildArchive(a).bytes;
  const uint64_t each = a.entries[0].data.size();
  for (auto [budget, texts] : std::vector<std::pair<uint64_t, std::vector<std::string>>>{
           {3 * each + 20, {"first", "second", "third"}},  // every entry fits
           {2 * each + 1, {"first", "second"}},            // the third would pass it
           {each - 1, {}}}) {
    RecordingMatcher matcher;
    matcher.hit = "third";
    testing::MemoryReadableFile file(bytes);
    EXPECT_EQ(ScanZipArchive(file, kAllXml, matcher, budget), texts.size() == 3) << budget;
    EXPECT_EQ(matcher.texts, texts) << budget;
  }
}

TEST(ZipDocumentTest, ScanZipDocumentOpensThroughTheFileSystem) {
  TestEnv t;
  testing::MemoryFileSystem files;
  t.env.files = &files;
  TestArchive a;
  a.entries.push_back({.name = "content.xml", .data = XmlPart("annual report")});
  files.files[u"C:\\docs\\report.odt"] = BuildArchive(a).bytes;
  files.files[u"\\\\server\\share\\report.odt"] = BuildArchive(a).bytes;
  const auto patterns = DefaultContentZipSettings().innerPatterns;

  RecordingMatcher matcher;
  matcher.hit = "annual report";
  EXPECT_TRUE(ScanZipDocument(t.env, u"C:\\docs\\report.odt", patterns, matcher));
  EXPECT_FALSE(ScanZipDocument(t.env, u"C:\\docs\\missing.odt", patterns, matcher));
  EXPECT_FALSE(ScanZipDocument(t.env, u"\\\\server\\share\\report.odt", patterns, matcher));
  files.unreadable.insert(u"C:\\docs\\report.odt");
  EXPECT_FALSE(ScanZipDocument(t.env, u"C:\\docs\\report.odt", patterns, matcher));
  EXPECT_EQ(matcher.texts.size(), 1u);
}

}  // namespace
}  // namespace quillmor
