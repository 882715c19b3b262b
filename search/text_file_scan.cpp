#include "search/text_file_scan.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "search/text_match.h"

namespace quillmor {
namespace {

std::string_view AsText(std::span<const std::byte> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// A large file, block by block. Terms found in one block stay found; the
// first group whose every term has been seen makes the file a hit.
bool ScanStreamed(ReadableFile& file, std::span<const CompiledGroup> groups, Generation generation,
                  uint64_t* bytesRead) {
  size_t longest = 0;
  for (const CompiledGroup& group : groups) {
    for (const CompiledTerm& term : group.terms) longest = std::max(longest, term.LongestForm());
  }
  const size_t keep = longest == 0 ? 0 : std::min(longest - 1, kMaxCarriedBytes);
  const std::unique_ptr<char[]> buffer(new (std::nothrow) char[keep + kScanBlockBytes]);
  if (!buffer) return false;

  std::vector<std::vector<bool>> found;
  for (const CompiledGroup& group : groups) found.emplace_back(group.terms.size(), false);
  const auto groupComplete = [&](size_t g) {
    return !found[g].empty() && std::all_of(found[g].begin(), found[g].end(), [](bool f) { return f; });
  };

  uint64_t offset = 0;
  size_t carried = 0;
  for (;;) {
    if (ShuttingDown()) return false;
    const size_t n =
        file.Read(offset, std::span(reinterpret_cast<std::byte*>(buffer.get()) + carried, kScanBlockBytes));
    if (n == 0) break;
    offset += n;
    if (bytesRead != nullptr) *bytesRead += n;
    const std::string_view view(buffer.get(), carried + n);
    for (size_t g = 0; g < groups.size(); ++g) {
      if (generation.Cancelled()) return false;
      const std::vector<CompiledTerm>& terms = groups[g].terms;
      for (size_t j = 0; j < terms.size(); ++j) {
        if (found[g][j]) continue;
        if (generation.Cancelled()) return false;
        if (terms[j].OccursIn(view)) found[g][j] = true;
      }
      if (groupComplete(g)) return true;
    }
    carried = std::min(keep, view.size());
    std::memmove(buffer.get(), buffer.get() + view.size() - carried, carried);
    if (generation.Stale()) return false;
  }
  for (size_t g = 0; g < groups.size(); ++g) {
    if (groupComplete(g)) return true;
  }
  return false;
}

}  // namespace

bool ScanTextFile(FileSystem& files, std::u16string_view path, std::span<const CompiledGroup> groups,
                  Generation generation, uint64_t* bytesRead) {
  if (path.starts_with(u"\\\\") || generation.Cancelled()) return false;  // network paths are not read
  const std::unique_ptr<ReadableFile> file = files.OpenForRead(path);
  if (!file) return false;
  const uint64_t size = file->Size();
  if (size == 0 || generation.Cancelled() || groups.empty()) return false;

  if (size > kWholeFileScanLimit) return ScanStreamed(*file, groups, generation, bytesRead);
  const std::span<const std::byte> mapped = file->Map();
  if (mapped.empty()) return false;
  if (bytesRead != nullptr) *bytesRead += mapped.size();
  return BufferMatchesGroups(AsText(mapped), groups, generation) && !generation.Stale();
}

}  // namespace quillmor
