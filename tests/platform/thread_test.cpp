#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

#include "tests/countdown_latch.h"

namespace quillmor {
namespace {

TEST(ThreadTest, RunsItsBodyAndIsJoinableUntilJoined) {
  std::atomic<int> ran{0};
  Thread thread([&] { ++ran; });
  EXPECT_TRUE(thread.joinable());
  thread.join();
  EXPECT_FALSE(thread.joinable());
  EXPECT_EQ(ran.load(), 1);
  EXPECT_FALSE(Thread().joinable());
}

TEST(ThreadTest, MovedThreadsKeepTheirBodyAndAreJoinedOnce) {
  // Many short threads, each ending before or after it is moved: every one
  // runs and is joined (a lost thread would hang the join).
  std::atomic<int> ran{0};
  std::vector<Thread> threads;
  for (int i = 0; i < 64; ++i) threads.emplace_back([&] { ++ran; });
  Thread moved = std::move(threads.front());
  EXPECT_FALSE(threads.front().joinable());
  moved.join();
  for (Thread& thread : threads) {
    if (thread.joinable()) thread.join();
  }
  EXPECT_EQ(ran.load(), 64);
}

TEST(ThreadTest, DetachedBodiesRunAndAreDestroyedOnTheirThread) {
  // Started one after the other, each ending at once: the pattern in which a
  // thread was seen to get lost.
  constexpr int kBodies = 200;
  CountdownLatch done(kBodies);
  struct Body : ThreadBody {
    explicit Body(CountdownLatch& l) : latch(l) {}
    ~Body() override { latch.count_down(); }
    void Run() override {}
    CountdownLatch& latch;
  };
  for (int i = 0; i < kBodies; ++i) StartDetachedThread(std::make_unique<Body>(done));
  done.wait();
}

}  // namespace
}  // namespace quillmor
