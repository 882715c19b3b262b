// A translated format comes from a user's language file. Whatever it holds,
// checking it against the default and filling it must neither crash nor
// read an argument that is not there.
#include <cstdlib>
#include <string>

#include "platform/utf.h"
#include "settings/translate_format.h"
#include "tests/fuzz/fuzz_target.h"

using namespace quillmor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string format = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<std::u16string> conversions;
  FormatConversions(format, conversions);

  const FormatArg mixed[] = {int64_t{-12345}, u"text", uint64_t{7}, u'Q'};
  const std::u16string any = FormatWithArgs(format, mixed);
  // Every character out comes from the format, an argument or padding of
  // at most 1024 per conversion.
  if (any.size() > format.size() + (format.size() / 2 + 1) * (1024 + 24)) std::abort();

  const std::u16string_view reference = u"Scanning... (Processed %zu / %zu)";
  if (SameFormatConversions(format, reference)) {
    const FormatArg counts[] = {size_t{5}, size_t{10}};
    FormatWithArgs(format, counts);
  }
  return 0;
}

std::vector<std::vector<uint8_t>> QuillmorFuzzSeeds() {
  auto seed = [](std::string_view text) { return std::vector<uint8_t>(text.begin(), text.end()); };
  return {seed("Scanning... (%-5zu / %08zu) 100%%"), seed("%lld+ results %s %c %#x %+.3i"), seed("%*d %n %1$s %")};
}
