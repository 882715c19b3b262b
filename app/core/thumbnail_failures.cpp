#include "app/core/thumbnail_failures.h"

namespace quillmor {
namespace {

bool Expired(uint64_t failedAt, uint64_t nowMs) { return nowMs >= failedAt && nowMs - failedAt >= kThumbnailRetryMs; }

}  // namespace

void ThumbnailFailures::RecordFailure(uint64_t key, uint64_t nowMs) {
  std::lock_guard lock(mutex_);
  if (failedAt_.size() >= kPruneAbove) {
    std::erase_if(failedAt_, [nowMs](const auto& entry) { return Expired(entry.second, nowMs); });
  }
  failedAt_[key] = nowMs;
}

bool ThumbnailFailures::RecentlyFailed(uint64_t key, uint64_t nowMs) const {
  std::lock_guard lock(mutex_);
  auto it = failedAt_.find(key);
  return it != failedAt_.end() && !Expired(it->second, nowMs);
}

void ThumbnailFailures::Clear() {
  std::lock_guard lock(mutex_);
  failedAt_.clear();
}

size_t ThumbnailFailures::Size() const {
  std::lock_guard lock(mutex_);
  return failedAt_.size();
}

}  // namespace quillmor
