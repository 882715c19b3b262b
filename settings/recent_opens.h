// recent.ini: the items the user opened lately, most recent first, shown for
// an empty query.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/env.h"

namespace quillmor {

// recent.ini is read through a 4096-character line buffer: a line of the
// tick, a tab and the path holds at most 4095 characters.
inline constexpr size_t kMaxRecentLineChars = 4095;

// The indexed item an entry was opened from. `volume` is an identity only
// (the engine passes its VolumeIndex*): it is compared, never followed, so an
// entry may outlive the volume it names. A record index names one file, under
// whatever path, until the volume's next full build: `build` is the volume's
// build number the index belongs to.
struct RecentItem {
  const void* volume = nullptr;
  uint64_t recordIndex = 0;
  uint64_t build = 0;
  bool operator==(const RecentItem&) const = default;
};

struct RecentOpen {
  std::optional<RecentItem> item;  // empty for entries read from recent.ini
  uint64_t tick = 0;               // GetTickCount64 when it was opened
  std::u16string path;
  bool operator==(const RecentOpen&) const = default;
};

// The list and its file. Every member takes the list's mutex; none calls out
// while holding it except to write the file, so writes reach the file in the
// order the list changed.
class RecentOpenList {
 public:
  static constexpr size_t kMaxEntries = 100;

  // Reads recent.ini ("tick<TAB>path" lines, file order) into a new list and
  // swaps it in as a whole; without a readable file the list becomes empty.
  // Lines without a tab or with an empty path are dropped; entries past the
  // first 100 too.
  void Load(Env& env);

  // Rewrites recent.ini with every entry that has a path, in list order,
  // leaving out entries whose line would be longer than kMaxRecentLineChars.
  // False when the file cannot be written.
  bool Save(Env& env);

  // After an item was opened: drops the entries for the same item or the same
  // path (case and "/" aside), puts the new one first, stamped with the tick
  // count, keeps the first 100 and rewrites recent.ini. An empty path is
  // ignored.
  void RecordOpen(Env& env, std::optional<RecentItem> item, std::u16string_view path);

  // Empties the list and rewrites recent.ini (an empty file).
  void Clear(Env& env);

  // After an in-place rename: every entry for `item` or for `oldPath` takes
  // the item and `newPath`; entries that now name the same file as an earlier
  // one are dropped. Rewrites recent.ini when something changed, and returns
  // whether it did. An empty new path changes nothing.
  bool RenameEntries(Env& env, std::optional<RecentItem> item, std::u16string_view oldPath,
                     std::u16string_view newPath);

  // A copy of the list, most recent first.
  std::vector<RecentOpen> Entries() const;

  // Writes back what a reader learnt about the entries it copied: each entry
  // still equal to the `first` of an update becomes its `second`. Entries
  // changed or dropped since the copy stay as they are now. The file is not
  // rewritten.
  void UpdateUnchanged(const std::vector<std::pair<RecentOpen, RecentOpen>>& updates);

 private:
  mutable std::mutex mutex_;
  std::vector<RecentOpen> entries_;  // Guarded by mutex_. Most recent first.
};

// Paths compare as the file system compares them: "/" is "\" and ASCII case
// does not count.
std::u16string NormalisedRecentPath(std::u16string_view path);

}  // namespace quillmor
