#include "app/core/lru_handle_cache.h"

#include <gtest/gtest.h>
#include "platform/thread.h"

#include <map>

namespace quillmor {
namespace {

// Handles are ints; the fixture counts how often each was destroyed.
class LruHandleCacheTest : public ::testing::Test {
 protected:
  LruHandleCache<uint64_t, int> MakeCache(size_t capacity) {
    return LruHandleCache<uint64_t, int>([this](int h) { ++destroyed[h]; }, capacity);
  }
  std::map<int, int> destroyed;
};

TEST_F(LruHandleCacheTest, TheLeastRecentlyUsedGoesFirstAndIsDestroyedOnce) {
  {
    auto cache = MakeCache(3);
    cache.Insert(1, 101);
    cache.Insert(2, 102);
    cache.Insert(3, 103);
    EXPECT_EQ(cache.Find(1), 101);  // 1 is now the most recent: 2 is the oldest
    cache.Insert(4, 104);
    EXPECT_EQ(destroyed, (std::map<int, int>{{102, 1}}));
    EXPECT_FALSE(cache.Find(2).has_value());
    cache.Insert(5, 105);  // then 3
    EXPECT_EQ(destroyed, (std::map<int, int>{{102, 1}, {103, 1}}));
    EXPECT_EQ(cache.Size(), 3u);
    EXPECT_EQ(cache.Find(1), 101);
    EXPECT_EQ(cache.Find(4), 104);
    EXPECT_EQ(cache.Find(5), 105);
  }
  // The cache's end destroys the rest: every handle exactly once.
  EXPECT_EQ(destroyed, (std::map<int, int>{{101, 1}, {102, 1}, {103, 1}, {104, 1}, {105, 1}}));
}

TEST_F(LruHandleCacheTest, ASecondLoadOfTheSameKeyKeepsTheCachedHandle) {
  auto cache = MakeCache(3);
  cache.Insert(1, 101);
  EXPECT_EQ(cache.Insert(1, 201), 101);
  EXPECT_EQ(destroyed, (std::map<int, int>{{201, 1}}));
  EXPECT_EQ(cache.Insert(1, 101), 101);  // the same handle again is not destroyed
  EXPECT_EQ(destroyed, (std::map<int, int>{{201, 1}}));
  EXPECT_EQ(cache.Size(), 1u);
}

TEST_F(LruHandleCacheTest, ClearDestroysEverythingAndLeavesAnEmptyCache) {
  auto cache = MakeCache(kIconCacheCapacity);
  for (int i = 0; i < 10; ++i) cache.Insert(i, 100 + i);
  cache.Clear();
  EXPECT_EQ(cache.Size(), 0u);
  EXPECT_EQ(destroyed.size(), 10u);
  cache.Clear();
  EXPECT_EQ(destroyed.size(), 10u);
  for (const auto& [handle, times] : destroyed) EXPECT_EQ(times, 1) << handle;
}

TEST_F(LruHandleCacheTest, HoldsAtMost2048Icons) {
  auto cache = MakeCache(kIconCacheCapacity);
  for (int i = 0; i < 3000; ++i) cache.Insert(i, i);
  EXPECT_EQ(cache.Size(), 2048u);
  EXPECT_EQ(destroyed.size(), 3000u - 2048u);
  EXPECT_EQ(destroyed.begin()->first, 0);
  EXPECT_EQ(destroyed.rbegin()->first, 3000 - 2048 - 1);
}

// The user-interface thread and the thumbnail job use the cache at once:
// whatever the interleaving, no handle is lost or destroyed twice.
TEST(LruHandleCacheThreadsTest, ConcurrentUseDestroysEachHandleOnce) {
  constexpr int kPerThread = 5000;
  std::mutex countsMutex;
  std::map<int, int> destroyed;
  {
    LruHandleCache<uint64_t, int> cache(
        [&](int h) {
          std::lock_guard lock(countsMutex);
          ++destroyed[h];
        },
        256);
    auto work = [&](int base) {
      for (int i = 0; i < kPerThread; ++i) {
        // Overlapping keys: both threads load some of the same icons.
        cache.Insert(static_cast<uint64_t>(i % 700), base + i);
        cache.Find(static_cast<uint64_t>((i * 7) % 700));
      }
    };
    Thread a([&] { work(0); });
    Thread b([&] { work(100'000); });
    a.join();
    b.join();
  }
  EXPECT_EQ(destroyed.size(), 2u * kPerThread);
  for (const auto& [handle, times] : destroyed) ASSERT_EQ(times, 1) << handle;
}

}  // namespace
}  // namespace quillmor
