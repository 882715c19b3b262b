// Names come from the journal of a volume that may be damaged, and the name
// query reads them in whole vector blocks around each entry: whatever the
// names and the query, it must stay inside each entry and decide as the plain
// per-name rules do.
#include <cstdlib>
#include <string>

#include "search/compiled_name_query.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/search/exact_name_entries.h"
#include "tests/search/map_text_codec.h"

using namespace quillmor;

namespace {

// UTF-16 units from byte pairs; a lone last byte is dropped.
std::u16string Units(const uint8_t* data, size_t size) {
  std::u16string units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  return units;
}

}  // namespace

// Layout: one byte with the query's length in units, the query, then names
// separated by U+FFFF.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::u16string units = Units(data + 1, size - 1);
  const size_t queryLength = std::min<size_t>(data[0], units.size());
  const std::u16string_view query(units.data(), queryLength);
  const bool initialSearch = (data[0] & 1) == 0;

  MapTextCodec& codec = SharedMapCodec();
  const QueryGroups folded = FoldQueryGroups(ParseQueryGroups(query));
  const CompiledNameQuery compiled(folded, initialSearch, codec);
  const bool initialsApply =
      initialSearch && folded.size() == 1 && folded[0].size() == 1 && IsInitialsTerm(folded[0][0]);

  ExactNameEntries entries;
  std::u16string_view rest(units);
  rest.remove_prefix(queryLength);
  while (!rest.empty()) {
    const size_t end = std::min(rest.find(u'\uFFFF'), rest.size());
    const std::u16string_view name = rest.substr(0, std::min<size_t>(end, 0x7FFF));
    rest.remove_prefix(std::min(end + 1, rest.size()));
    const FileRecord record = entries.Add(name);
    const bool hit = compiled.Matches(record);
    // The plain rules read the lower-case copy up to its first 0, the
    // compiled query the whole name: they agree on names without a 0.
    if (name.find(u'\0') != std::u16string_view::npos) continue;
    const bool expected = MatchesQueryGroups(folded, record.lowerName()) ||
                          (initialsApply && MatchesInitials(record.name, record.nameLength, folded[0][0], codec));
    if (hit != expected) std::abort();
  }
  return 0;
}

std::vector<std::vector<uint8_t>> QuillmorFuzzSeeds() {
  auto input = [](uint8_t queryLength, std::u16string_view units) {
    std::vector<uint8_t> bytes = {queryLength};
    for (const char16_t c : units) {
      bytes.push_back(static_cast<uint8_t>(c & 0xFF));
      bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
  };
  return {input(4, u"xjwj新建文件夹.txt\uFFFFReport 2024.docx\uFFFF.新建"),
          input(15, u"a and b or \"c d\"abc\uFFFFb a\uFFFFc d e\uFFFF\uFFFFA"),
          input(3, u"rep\uFFFFreport\uFFFFREPORT\uFFFFr\uFFFFe"),
          input(16, u"*.pdf or r?p*t*x\uFFFFa.pdf\uFFFFreport.docx\uFFFFrpt.x\uFFFF.PDF"),
          input(8, u"*a*a*?*b\uFFFFaaaaaaaab\uFFFFaaaa\uFFFFab")};
}
