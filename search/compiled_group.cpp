#include "search/compiled_group.h"

#include <algorithm>

#include "platform/utf.h"
#include "platform/win32_constants.h"
#include "search/text_match.h"

namespace quillmor {
namespace {

// Buffers are searched in slices that stay in the processor's cache while
// every form is looked for in them: one pass over memory for three forms.
constexpr size_t kSliceBytes = 64 * 1024;

// The term in the ANSI code page, or nothing when the code page cannot hold
// it exactly (the conversion back does not give the term again).
std::string ExactAnsiBytes(std::u16string_view term, TextCodec& codec) {
  std::string bytes;
  std::u16string back;
  if (!codec.FromUtf16(0, term, bytes) || !codec.ToUtf16(0, bytes, back) || back != term) return {};
  return bytes;
}

}  // namespace

bool CompiledTerm::OccursIn(std::string_view bytes) const {
  const ByteNeedle* forms[3];
  size_t count = 0;
  if (!utf8.empty()) forms[count++] = &utf8;
  if (searchAnsi) forms[count++] = &ansi;
  if (!utf16.empty()) forms[count++] = &utf16;
  for (size_t start = 0; start < bytes.size(); start += kSliceBytes) {
    for (size_t k = 0; k < count; ++k) {
      // The slice's last positions need the bytes after it.
      const size_t end = std::min(bytes.size(), start + kSliceBytes + forms[k]->size() - 1);
      if (forms[k]->FoundIn(bytes.substr(start, end - start))) return true;
    }
  }
  return false;
}

size_t CompiledTerm::LongestForm() const { return std::max({utf8.size(), ansi.size(), utf16.size()}); }

std::vector<CompiledGroup> CompileGroups(const QueryGroups& groups, TextCodec& codec) {
  std::vector<CompiledGroup> compiled;
  compiled.reserve(groups.size());
  for (const std::vector<std::u16string>& group : groups) {
    CompiledGroup& out = compiled.emplace_back();
    for (const std::u16string& term : group) {
      CompiledTerm& t = out.terms.emplace_back();
      std::string utf8;
      if (!codec.FromUtf16(win32::kCodePageUtf8, term, utf8)) utf8.clear();
      std::string ansi = ExactAnsiBytes(term, codec);
      t.searchAnsi = !ansi.empty() && ansi != utf8;
      t.compactUtf8 = ByteNeedle(CompactText(utf8));
      t.utf8 = ByteNeedle(std::move(utf8));
      t.ansi = ByteNeedle(std::move(ansi));
      t.utf16 = ByteNeedle(Utf16ToLittleEndianBytes(term));
    }
  }
  return compiled;
}

}  // namespace quillmor
