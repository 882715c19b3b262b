#include "platform/message_queue_poster.h"

#include <gtest/gtest.h>
#include "platform/thread.h"

#include <vector>

namespace quillmor {
namespace {

TEST(MessageQueuePosterTest, AcceptsOnlyItsOwnWindow) {
  MessageQueuePoster poster;
  MessageQueuePoster other;
  EXPECT_TRUE(poster.IsWindow(poster.Window()));
  EXPECT_FALSE(poster.IsWindow(other.Window()));
  EXPECT_FALSE(poster.IsWindow(nullptr));
  EXPECT_FALSE(poster.Post(other.Window(), WMU_INDEX_READY, 1, 0));
  EXPECT_FALSE(PostIfWindow(poster, nullptr, WMU_INDEX_READY, 1, 0));
  EXPECT_TRUE(PostIfWindow(poster, poster.Window(), WMU_INDEX_READY, 1, 0));

  QueuedMessage m;
  ASSERT_TRUE(poster.TakeMessage(m));
  EXPECT_EQ(m, (QueuedMessage{poster.Window(), WMU_INDEX_READY, 1, 0}));
  EXPECT_FALSE(poster.TakeMessage(m));
  EXPECT_FALSE(poster.WaitMessageFor(m, std::chrono::milliseconds(5)));
}

// Each poster's messages arrive in the order it posted them, whatever the
// other threads do, and none is lost.
TEST(MessageQueuePosterTest, ConsumerReceivesEveryMessageInPostingOrder) {
  MessageQueuePoster poster;
  constexpr int kThreads = 4;
  constexpr int kPerThread = 500;
  std::vector<Thread> producers;
  for (int p = 0; p < kThreads; ++p) {
    producers.emplace_back([&, p] {
      for (int i = 0; i < kPerThread; ++i) poster.Post(poster.Window(), WMU_SEARCH_RESULTS, p, i);
    });
  }
  std::vector<int64_t> next(kThreads, 0);
  int received = 0;
  QueuedMessage m;
  while (received < kThreads * kPerThread && poster.WaitMessageFor(m, std::chrono::seconds(20))) {
    ASSERT_LT(m.wParam, static_cast<uint64_t>(kThreads));
    EXPECT_EQ(m.lParam, next[m.wParam]++);
    ++received;
  }
  for (auto& t : producers) t.join();
  EXPECT_EQ(received, kThreads * kPerThread);
  EXPECT_FALSE(poster.TakeMessage(m));
}

TEST(MessageQueuePosterTest, CloseDrainsTheQueueThenEndsTheLoop) {
  MessageQueuePoster poster;
  poster.Post(poster.Window(), WMU_STATUS_TEXT, 1, 0);
  poster.Post(poster.Window(), WMU_STATUS_TEXT, 2, 0);
  poster.Close();
  EXPECT_FALSE(poster.IsWindow(poster.Window()));
  EXPECT_FALSE(poster.Post(poster.Window(), WMU_STATUS_TEXT, 3, 0));

  QueuedMessage m;
  ASSERT_TRUE(poster.WaitMessage(m));
  EXPECT_EQ(m.wParam, 1u);
  ASSERT_TRUE(poster.WaitMessage(m));
  EXPECT_EQ(m.wParam, 2u);
  EXPECT_FALSE(poster.WaitMessage(m));
}

TEST(MessageQueuePosterTest, CloseWakesAWaitingConsumer) {
  MessageQueuePoster poster;
  Thread consumer([&] {
    QueuedMessage m;
    while (poster.WaitMessage(m)) {
    }
  });
  poster.Post(poster.Window(), WMU_VOLUMES_SYNCED, 0, 0);
  poster.Close();
  consumer.join();  // hangs here if Close does not wake the loop
}

}  // namespace
}  // namespace quillmor
