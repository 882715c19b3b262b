#include "search/folder_query.h"

#include <shared_mutex>
#include <unordered_map>

#include "index/ascii_case.h"
#include "platform/win32_constants.h"
#include "search/folder_path.h"

namespace quillmor {
namespace {

// Records are read in runs of this many under one shared lock, so that a
// journal batch waiting for the lock gets in between.
constexpr size_t kRecordsPerLock = 4096;

// The parent of a full path: the text before its last separator, normalised.
bool ParentOfPath(std::u16string_view path, std::u16string& parent) {
  const size_t slash = path.find_last_of(u"\\/");
  if (path.empty() || slash == std::u16string_view::npos) return false;
  parent = NormalizeFolderPath(path.substr(0, slash));
  return true;
}

}  // namespace

bool ResolveFolderQuery(FileSystem& files, std::u16string_view query, std::u16string& folder) {
  if (query.empty() || query.starts_with(u"s:")) return false;
  const std::u16string path = NormalizeFolderPath(query);
  if (path.empty()) return false;
  // A bare drive ("C:") is probed as its root.
  const std::u16string probe = (path.size() == 2 && path[1] == u':') ? path + u"\\" : path;
  const uint32_t attributes = files.GetFileAttributes(probe);
  if (attributes == win32::kInvalidFileAttributes || (attributes & win32::kFileAttributeDirectory) == 0) return false;
  folder = path;
  return true;
}

void ListFolderChildren(const std::vector<VolumePtr>& snapshot, std::u16string_view folder,
                        const std::function<void(VolumeIndex*, uint64_t)>& sink) {
  if (folder.empty()) return;
  std::u16string parent;
  for (const VolumePtr& volume : snapshot) {
    if (!volume || !volume->available.load() || volume->busy.load()) continue;
    // The parent part of a record's path depends only on its parent
    // reference (names hold no separators), so siblings share one answer:
    // each directory's path is built once instead of once per child.
    std::unordered_map<uint64_t, bool> parentMatches;
    for (size_t start = 0;; start += kRecordsPerLock) {
      std::shared_lock lock(volume->recordsLock);
      const size_t count = volume->records.size();
      if (start >= count) break;
      const size_t end = std::min(count, start + kRecordsPerLock);
      for (size_t i = start; i < end; ++i) {
        const FileRecord& record = volume->records[i];
        if (record.deleted) continue;
        const std::u16string_view name(record.name, record.nameLength);
        bool hit;
        if (name.find_first_of(u"\\/") != std::u16string_view::npos) {
          // A name with a separator in it (possible on walked volumes) moves
          // the split point: test its own path.
          hit = ParentOfPath(volume->BuildPath(i), parent) && EqualIgnoringAsciiCase(parent, folder);
        } else if (auto known = parentMatches.find(record.parentRef); known != parentMatches.end()) {
          hit = known->second;
        } else {
          hit = ParentOfPath(volume->BuildPath(i), parent) && EqualIgnoringAsciiCase(parent, folder);
          parentMatches.emplace(record.parentRef, hit);
        }
        if (hit) sink(volume.get(), i);
      }
    }
  }
}

}  // namespace quillmor
