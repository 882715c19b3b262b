#include "search/text_match.h"

namespace quillmor {
namespace {

// The compacted test: the compact UTF-8 form of every term, nothing else.
bool CompactTextMatchesGroups(std::string_view compact, std::span<const CompiledGroup> groups, Generation generation) {
  for (const CompiledGroup& group : groups) {
    if (generation.Cancelled()) return false;
    bool all = !group.terms.empty();
    for (const CompiledTerm& term : group.terms) {
      if (generation.Cancelled()) return false;
      if (!term.compactUtf8.FoundIn(compact)) {
        all = false;
        break;
      }
    }
    if (all) return true;
  }
  return false;
}

}  // namespace

bool BufferMatchesGroups(std::string_view bytes, std::span<const CompiledGroup> groups, Generation generation) {
  for (const CompiledGroup& group : groups) {
    if (generation.Cancelled()) return false;
    bool all = !group.terms.empty();
    for (const CompiledTerm& term : group.terms) {
      if (generation.Cancelled()) return false;
      if (!term.OccursIn(bytes)) {
        all = false;
        break;
      }
    }
    if (all) return true;
  }
  return false;
}

bool MatchTextBuffer(std::string_view text, std::span<const CompiledGroup> groups, Generation generation) {
  if (BufferMatchesGroups(text, groups, generation)) return true;
  if (generation.Cancelled()) return false;
  const std::string compact = CompactText(text);
  return !compact.empty() && CompactTextMatchesGroups(compact, groups, generation);
}

std::string CompactText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  const size_t n = bytes.size();
  for (size_t i = 0; i < n; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b == 0x09 || b == 0x0A || b == 0x0D || b == 0x20) continue;
    if (b == 0xC2 && i + 1 < n && static_cast<unsigned char>(bytes[i + 1]) == 0xA0) {
      ++i;
      continue;
    }
    if ((b == 0xE3 || b == 0xE2) && i + 2 < n) {
      const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
      const auto b2 = static_cast<unsigned char>(bytes[i + 2]);
      if ((b == 0xE3 && b1 == 0x80 && b2 == 0x80) || (b == 0xE2 && b1 == 0x80 && b2 == 0x8B)) {
        i += 2;
        continue;
      }
    }
    out += static_cast<char>(b);
  }
  return out;
}

}  // namespace quillmor
