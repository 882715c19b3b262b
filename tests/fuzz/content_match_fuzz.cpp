// Content search reads the bytes of any file and of any document entry: the
// matcher must stay inside the buffer whatever they hold, and find exactly
// what a plain substring search finds.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/env.h"
#include "platform/utf.h"
#include "search/compiled_group.h"
#include "search/text_match.h"
#include "tests/fuzz/fuzz_target.h"

using namespace quillmor;

namespace {

bool Contains(std::string_view text, const ByteNeedle& needle) {
  return !needle.empty() && text.find(needle.bytes()) != std::string_view::npos;
}

}  // namespace

// The first byte gives the length of a term (1 to 16 bytes, taken as UTF-8);
// the rest is the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t termLength = std::min<size_t>(1 + data[0] % 16, size - 1);
  const std::string termBytes(reinterpret_cast<const char*>(data + 1), termLength);
  // An exact-size copy, so that AddressSanitizer sees any read past the end.
  const size_t textLength = size - 1 - termLength;
  std::unique_ptr<char[]> text(new char[textLength + 1]);
  if (textLength != 0) std::memcpy(text.get(), data + 1 + termLength, textLength);
  const std::string_view view(text.get(), textLength);

  const std::u16string term = Utf8ToUtf16(termBytes);
  const std::vector<CompiledGroup> groups = CompileGroups({{term}}, *DefaultEnv().text);
  const CompiledTerm& compiled = groups[0].terms[0];

  const bool plain = BufferMatchesGroups(view, groups, Generation{});
  const bool expectedPlain = Contains(view, compiled.utf8) || (compiled.searchAnsi && Contains(view, compiled.ansi)) ||
                             Contains(view, compiled.utf16);
  if (plain != expectedPlain) __builtin_trap();

  const std::string compact = CompactText(view);
  if (compact.size() > view.size() || compact.find_first_of(std::string(" \t\r\n")) != std::string::npos) {
    __builtin_trap();
  }
  const bool expectedDocument = plain || Contains(compact, compiled.compactUtf8);
  if (MatchTextBuffer(view, groups, Generation{}) != expectedDocument) __builtin_trap();
  return 0;
}

std::vector<std::vector<uint8_t>> QuillmorFuzzSeeds() {
  using namespace std::literals;
  const auto seed = [](std::string_view bytes) { return std::vector<uint8_t>(bytes.begin(), bytes.end()); };
  return {
      seed("\x0C"
           "annual report"
           "the annual\xC2\xA0report and more"sv),
      seed("\x04"
           "caf\xC3\xA9"
           "x c\0a\0f\0\xE9\0 caf\xE9"sv),
      seed("\x04"
           "abcab"
           "abcabcabcabdabcabcab\xE3\x80\x80\xE2\x80\x8B"sv),
      seed("\x02"
           "\xE6\xAC\xA0"
           "\xE6\xAC\xA0\xE6\xAC\xBE \t\r\n"sv),
  };
}
