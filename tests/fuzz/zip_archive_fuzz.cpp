// Archives are untrusted files: reading the directory and the entries of any
// bytes must stay inside the file and its buffers, and end.
#include <cstring>
#include <memory>

#include "engine/zip_document.h"
#include "tests/engine/memory_files.h"
#include "tests/engine/zip_builder.h"
#include "tests/fuzz/fuzz_target.h"

using namespace quillmor;

namespace {

class CountingMatcher : public ZipTextMatcher {
 public:
  bool SearchIsCurrent() override { return true; }
  bool MatchText(std::string_view text) override {
    if (text.empty()) __builtin_trap();  // the scan offers only non-empty text
    bytes += text.size();
    return false;
  }
  size_t bytes = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto copy = std::make_unique<char[]>(size);
  if (size != 0) std::memcpy(copy.get(), data, size);
  testing::MemoryReadableFile file(std::string_view(copy.get(), size));
  static const std::vector<std::string> patterns = {"*"};
  CountingMatcher matcher;
  ScanZipArchive(file, patterns, matcher);
  return 0;
}

std::vector<std::vector<uint8_t>> QuillmorFuzzSeeds() {
  using testing::TestArchive;
  auto bytes = [](const TestArchive& a) {
    const std::string s = testing::BuildArchive(a).bytes;
    return std::vector<uint8_t>(s.begin(), s.end());
  };
  TestArchive plain;
  plain.entries.push_back({.name = "word/document.xml", .data = testing::XmlPart("deflated &amp; text")});
  plain.entries.push_back({.name = "docProps/core.xml", .data = testing::XmlPart("stored"), .method = 0});
  plain.entries.push_back({.name = "dir/", .data = ""});
  TestArchive zip64 = plain;
  zip64.zip64 = true;
  zip64.entries[0].zip64Fields = testing::kZip64All;
  zip64.comment = "comment";
  return {bytes(plain), bytes(zip64)};
}
