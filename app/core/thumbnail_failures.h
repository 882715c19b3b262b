// Thumbnails that could not be made, remembered per icon key so that a file
// the shell cannot render is not asked for again on every repaint: a failure
// is not retried for 10000 ms. Guarded by its own mutex (the thumbnail job
// records, the user-interface thread asks).
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace quillmor {

inline constexpr uint64_t kThumbnailRetryMs = 10000;

class ThumbnailFailures {
 public:
  // Remembers that making the thumbnail of `key` failed at `nowMs`.
  void RecordFailure(uint64_t key, uint64_t nowMs);
  // Whether a failure of `key` was recorded less than 10000 ms before `nowMs`.
  bool RecentlyFailed(uint64_t key, uint64_t nowMs) const;
  void Clear();
  size_t Size() const;

 private:
  // Past this many entries, expired ones are dropped before a new one goes
  // in, so that scrolling through a folder of broken images keeps the table
  // small.
  static constexpr size_t kPruneAbove = 4096;

  mutable std::mutex mutex_;
  std::unordered_map<uint64_t, uint64_t> failedAt_;  // Guarded by mutex_.
};

}  // namespace quillmor
