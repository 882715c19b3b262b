#include "settings/background_task.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/thread.h"
#include "settings/message_log.h"
#include "settings/rate_limit.h"
#include "settings/single_run_task.h"
#include "tests/countdown_latch.h"
#include "tests/settings/settings_fixture.h"

namespace quillmor {
namespace {

// Counts down when the task's job is destroyed: the task's thread is then done
// with everything, logging included.
struct DoneWhenDestroyed {
  explicit DoneWhenDestroyed(CountdownLatch& l) : latch(&l) {}
  DoneWhenDestroyed(DoneWhenDestroyed&& other) noexcept : latch(std::exchange(other.latch, nullptr)) {}
  ~DoneWhenDestroyed() {
    if (latch != nullptr) latch->count_down();
  }
  CountdownLatch* latch;
};

class BackgroundTaskTest : public SettingsTest {
 protected:
  BackgroundTaskTest() {
    t.system.gdiObjects = 7;
    t.system.userObjects = 9;
  }
  std::string MessageLog() { return ReadableText(u"C:\\Temp\\Quillmor_gdi.log"); }
};

TEST_F(BackgroundTaskTest, RunsTheJobOnAnotherThreadAndReturnsAtOnce) {
  std::promise<std::thread::id> ran;
  CountdownLatch release(1);
  StartBackgroundTask(env, u"do_search", [&] {
    release.wait();  // the caller must not wait for this
    ran.set_value(std::this_thread::get_id());
  });
  release.count_down();
  EXPECT_NE(ran.get_future().get(), std::this_thread::get_id());
}

TEST_F(BackgroundTaskTest, TakesMoveOnlyJobs) {
  auto payload = std::make_unique<int>(42);
  std::promise<int> seen;
  StartBackgroundTask(env, u"cache_autosave", [p = std::move(payload), &seen] { seen.set_value(*p); });
  EXPECT_EQ(seen.get_future().get(), 42);
}

TEST_F(BackgroundTaskTest, EscapingExceptionIsLoggedWithTheTaskName) {
  CountdownLatch done(3);
  StartBackgroundTask(env, u"do_sort", [d = DoneWhenDestroyed(done)] { throw std::runtime_error("boom"); });
  StartBackgroundTask(env, nullptr, [d = DoneWhenDestroyed(done)] { throw 42; });
  StartBackgroundTask(env, u"fine", [d = DoneWhenDestroyed(done)] {});
  done.wait();

  const std::string log = MessageLog();
  EXPECT_NE(log.find("[2026-03-14 09:26:53.589] GDI=7 USER=9 [BackgroundThreadException] do_sort\n"), std::string::npos)
      << log;
  EXPECT_NE(log.find("[2026-03-14 09:26:53.589] GDI=7 USER=9 [BackgroundThreadException] unknown\n"), std::string::npos)
      << log;
  EXPECT_EQ(log.find("fine"), std::string::npos);
}

TEST_F(BackgroundTaskTest, ProgramGoesOnAfterAThrowingTask) {
  CountdownLatch done(1);
  StartBackgroundTask(env, u"first", [d = DoneWhenDestroyed(done)] { throw std::bad_alloc(); });
  done.wait();
  std::promise<bool> second;
  StartBackgroundTask(env, u"second", [&] { second.set_value(true); });
  EXPECT_TRUE(second.get_future().get());
}

TEST_F(BackgroundTaskTest, ManyTasksAllRun) {
  constexpr int kTasks = 64;
  std::atomic<int> ran{0};
  CountdownLatch done(kTasks);
  for (int i = 0; i < kTasks; ++i) {
    StartBackgroundTask(env, u"attr_hydration", [&ran, d = DoneWhenDestroyed(done)] { ++ran; });
  }
  done.wait();
  EXPECT_EQ(ran.load(), kTasks);
}

// The six jobs that must not run twice each had their own flag handling, with
// two policies for a task that cannot start; they now share this one.
TEST_F(BackgroundTaskTest, SingleRunTaskRunsOnceAtATimeAndClearsItsFlagHoweverItEnds) {
  std::atomic<uint8_t> running{0};
  CountdownLatch release(1);
  CountdownLatch firstDone(1);
  ASSERT_TRUE(StartSingleRunTask(env, u"sync_current_volumes", running,
                                 [&release, d = DoneWhenDestroyed(firstDone)] { release.wait(); }));
  EXPECT_EQ(running.load(), 1);
  bool secondRan = false;
  EXPECT_FALSE(StartSingleRunTask(env, u"sync_current_volumes", running, [&] { secondRan = true; }));
  release.count_down();
  firstDone.wait();
  EXPECT_EQ(running.load(), 0);
  EXPECT_FALSE(secondRan);

  // An exception ends the job: the flag is cleared all the same.
  std::atomic<bool> flag{false};
  CountdownLatch thrown(1);
  ASSERT_TRUE(StartSingleRunTask(env, u"global_trim_all", flag,
                                 [d = DoneWhenDestroyed(thrown)] { throw std::runtime_error("boom"); }));
  thrown.wait();
  EXPECT_FALSE(flag.load());
  CountdownLatch again(1);
  EXPECT_TRUE(StartSingleRunTask(env, u"global_trim_all", flag, [d = DoneWhenDestroyed(again)] {}));
  again.wait();
}

// Five rate limits each compared and swapped their time stamp their own way.
TEST(RateLimitTest, OneCallerClaimsEachTurn) {
  std::atomic<uint64_t> stamp{1000};
  const struct {
    uint64_t now;
    bool passed;
  } cases[] = {{1000, false}, {1499, false}, {1500, true}, {999, false}, {5000, true}};
  for (const auto& c : cases) EXPECT_EQ(GapPassed(stamp, c.now, 500), c.passed) << c.now;
  EXPECT_FALSE(ClaimTurn(stamp, 1499, 500));
  EXPECT_EQ(stamp.load(), 1000u);
  EXPECT_TRUE(ClaimTurn(stamp, 1500, 500));
  EXPECT_EQ(stamp.load(), 1500u);
  EXPECT_FALSE(ClaimTurn(stamp, 1500, 500));  // the turn is taken

  // Many threads at the same moment: one wins.
  std::atomic<int> winners{0};
  std::vector<Thread> threads;
  CountdownLatch start(1);
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&] {
      start.wait();
      if (ClaimTurn(stamp, 9000, 500)) ++winners;
    });
  }
  start.count_down();
  for (Thread& thread : threads) thread.join();
  EXPECT_EQ(winners.load(), 1);
}

}  // namespace
}  // namespace quillmor
