// A bounded cache of handles the cache owns (icons, in the window): at most
// `capacity` entries, the least recently used one out first, and every handle
// that leaves the cache destroyed exactly once through the callback. Guarded
// by its own mutex, since the user-interface thread and the thumbnail job
// both use it; the callback runs outside the lock.
#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillmor {

// The icon cache's bound.
inline constexpr size_t kIconCacheCapacity = 2048;

template <typename Key, typename Handle>
class LruHandleCache {
 public:
  using Destroy = std::function<void(Handle)>;

  explicit LruHandleCache(Destroy destroy, size_t capacity = kIconCacheCapacity)
      : destroy_(std::move(destroy)), capacity_(capacity > 0 ? capacity : 1) {}
  ~LruHandleCache() { Clear(); }
  LruHandleCache(const LruHandleCache&) = delete;
  LruHandleCache& operator=(const LruHandleCache&) = delete;

  // The handle under `key`, now the most recently used; nothing on a miss.
  std::optional<Handle> Find(const Key& key) {
    std::lock_guard lock(mutex_);
    auto it = index_.find(key);
    if (it == index_.end()) return std::nullopt;
    order_.splice(order_.begin(), order_, it->second);
    return it->second->second;
  }

  // Takes `handle` over under `key` as the most recently used entry and
  // evicts the least recently used ones beyond the capacity. When the key is
  // already there (two threads loaded the same icon), the cached handle stays,
  // `handle` is destroyed, and the cached one is returned; else `handle`.
  Handle Insert(const Key& key, Handle handle) {
    std::vector<Handle> doomed;
    Handle kept = handle;
    {
      std::lock_guard lock(mutex_);
      auto it = index_.find(key);
      if (it != index_.end()) {
        order_.splice(order_.begin(), order_, it->second);
        kept = it->second->second;
        if (!(kept == handle)) doomed.push_back(handle);
      } else {
        order_.emplace_front(key, handle);
        index_.emplace(key, order_.begin());
        while (order_.size() > capacity_) {
          doomed.push_back(order_.back().second);
          index_.erase(order_.back().first);
          order_.pop_back();
        }
      }
    }
    DestroyAll(doomed);
    return kept;
  }

  // Destroys every cached handle (WM_DESTROY).
  void Clear() {
    std::vector<Handle> doomed;
    {
      std::lock_guard lock(mutex_);
      for (auto& entry : order_) doomed.push_back(entry.second);
      order_.clear();
      index_.clear();
    }
    DestroyAll(doomed);
  }

  size_t Size() const {
    std::lock_guard lock(mutex_);
    return order_.size();
  }

 private:
  void DestroyAll(const std::vector<Handle>& handles) {
    if (!destroy_) return;
    for (const Handle& h : handles) destroy_(h);
  }

  const Destroy destroy_;
  const size_t capacity_;
  mutable std::mutex mutex_;
  std::list<std::pair<Key, Handle>> order_;  // Guarded by mutex_. Most recent first.
  std::unordered_map<Key, typename std::list<std::pair<Key, Handle>>::iterator> index_;  // Guarded by mutex_.
};

}  // namespace quillmor
