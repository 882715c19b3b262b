// The filters files are text a user edits by hand: any bytes must read
// quietly into a sound tag list, what was read must be written back and read
// the same, and start-up and language switching must cope with any of them.
// The same bytes also stand in for the custom size text and the stored dates.
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/sim/memory_file_system.h"
#include "platform/sim/test_env.h"
#include "platform/utf.h"
#include "search/apply_language.h"
#include "search/custom_size.h"
#include "search/filters_file.h"
#include "search/time_range.h"
#include "settings/localisation.h"
#include "settings/localisation_languages.h"
#include "settings/settings_file.h"
#include "tests/fuzz/fuzz_target.h"

using namespace quillmor;

namespace {

constexpr char16_t kConfig[] = u"C:\\Docs\\Quillmor\\config";

void Check(bool condition) {
  if (!condition) std::abort();
}

bool Sound(const FilterTagList& tags) {
  if (tags.empty() || tags.size() > kMaxFilterTags) return false;
  for (const FilterTag& tag : tags) {
    if (tag.name.empty() || TrimSettingsBlanks(tag.name).size() != tag.name.size()) return false;
    for (const std::u16string& extension : tag.extensions) {
      if (extension.empty() || extension.front() != u'.') return false;
      for (char16_t c : extension) {
        if (c >= u'A' && c <= u'Z') return false;
      }
    }
  }
  return true;
}

// Lists a file line can carry unchanged: no lone surrogates (UTF-8 turns them
// into U+FFFD) and lines within the reader's buffer.
bool CarriesUnchanged(const FilterTagList& tags) {
  for (const FilterTag& tag : tags) {
    size_t length = tag.name.size() + 1;
    for (const std::u16string& extension : tag.extensions) length += extension.size() + 1;
    if (length >= kFilterLineChars - 2) return false;
    for (const std::u16string* text : {&tag.name}) {
      for (char16_t c : *text) {
        if (c >= 0xD800 && c <= 0xDFFF) return false;
      }
    }
    for (const std::u16string& extension : tag.extensions) {
      for (char16_t c : extension) {
        if (c >= 0xD800 && c <= 0xDFFF) return false;
      }
    }
  }
  return true;
}

class Answer : public FilterConflictQuestion {
 public:
  explicit Answer(uint8_t byte) : byte_(byte) {}
  FilterConflictAnswer Ask(std::u16string_view, std::u16string_view) override {
    return static_cast<FilterConflictAnswer>(byte_ % 3);
  }

 private:
  uint8_t byte_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TestEnv t;
  MemoryFileSystem files;
  t.env.files = &files;
  t.system.documents = u"C:\\Docs";
  files.AddDirectories(kConfig);
  const std::u16string config = kConfig;

  // The reader alone, and the round trip of what it read.
  files.AddFile(u"C:\\f.ini", bytes);
  FilterTagList tags;
  const FilterFileRead read = ReadFilterFile(files, u"C:\\f.ini", tags);
  if (read != FilterFileRead::kFailed) {
    Check(Sound(tags));
    if (CarriesUnchanged(tags) && WriteFilterFile(files, u"C:\\g.ini", tags)) {
      FilterTagList again;
      Check(ReadFilterFile(files, u"C:\\g.ini", again) == FilterFileRead::kRead && again == tags);
    }
  }

  // Start-up with the bytes in every filters file: some list with a folder tag.
  InstallActiveLanguage(size % 2 ? u"en-us" : u"zh-cn", nullptr, size % 2 == 0);
  for (const char16_t* name : {u"\\filters.ini", u"\\filters.zh-cn.ini", u"\\filters.en-us.ini", u"\\filters.bak"}) {
    files.AddFile(config + name, bytes);
  }
  FilterState state;
  LoadFilterTags(t.env, state);
  const FilterTagsSnapshot loaded = state.Tags();
  Check(!loaded->empty() && loaded->size() <= kMaxFilterTags + 1);
  bool hasFolderTag = false;
  for (const FilterTag& tag : *loaded) hasFolderTag |= IsFolderTag(tag);
  Check(hasFolderTag);

  // A language switch with the bytes as the user's language file and shared
  // filters file (one input in four: it writes ten templates).
  if (size > 0 && data[0] % 4 == 0) {
    files.AddDirectories(LanguageFolderPath(t.env));
    files.AddFile(JoinPath(LanguageFolderPath(t.env), u"custom.ini"), bytes);
    files.DeleteFile(config + u"\\filters.en-us.ini");
    Answer answer(size > 1 ? data[1] : 0);
    ApplyLanguage(t.env, u"en-us", state, answer);
    Check(!state.Tags()->empty());
  }
  InstallActiveLanguage(u"", nullptr, false);

  // The custom size text and the stored dates.
  const std::u16string text = Utf8ToUtf16(bytes);
  for (int32_t unit = 0; unit <= 4; ++unit) {
    const CustomSizeRange range = ParseCustomSize(text, unit);
    if (!range.valid) continue;
    Check(range.minimum >= -1 && range.maximum >= -1);
    Check(range.minimum >= 0 || range.maximum >= 0);
    Check(range.minimum < 0 || range.maximum < 0 || range.minimum <= range.maximum);
  }
  if (size >= 8) {
    int32_t from, to;
    std::memcpy(&from, data, 4);
    std::memcpy(&to, data + 4, 4);
    const CustomTimeRange range = MakeCustomTimeRange(t.clock, from, to, CustomTimeRange::State::kNoRestriction);
    Check(range.state != CustomTimeRange::State::kUsable || range.start <= range.end);
  }
  return 0;
}

std::vector<std::vector<uint8_t>> QuillmorFuzzSeeds() {
  auto seed = [](std::string_view text) { return std::vector<uint8_t>(text.begin(), text.end()); };
  return {
      seed("\xEF\xBB\xBF"
           "All Files=\r\nFolders=.dir\r\nDocuments=.doc,.docx,.pdf\r\n# note\r\nPics = JPG, .PNG ,, gif\r\n"),
      seed("\xE6\x89\x80\xE6\x9C\x89\xE6\x96\x87\xE4\xBB\xB6=\n\xE6\x96\x87\xE4\xBB\xB6\xE5\xA4\xB9=.dir\n"),
      seed("\xFF\xFE"
           "A\0=\0x\0,\0.\0Y\0\n\0"),
      seed("1.5(MB)-2e3\nFilter.2=\"# a = b\\nc\"\nLanguageIsChinese=yes\n"),
      seed("\x01\x2E\x35\x01\x1A\x2E\x35\x01-=\n=\n"),
  };
}
