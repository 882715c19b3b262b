#include "settings/memory_trim.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <stdexcept>

#include "platform/shutdown.h"
#include "platform/thread.h"
#include "tests/countdown_latch.h"
#include "tests/settings/settings_fixture.h"

namespace quillmor {
namespace {

class MemoryTrimTest : public SettingsTest {
 protected:
  MemoryTrimTest() {
    t.system.foregroundWindow = window;
    t.system.hasLastInput = true;
  }
  // Input `ago` milliseconds before the clock's now, as GetLastInputInfo
  // reports it: the low 32 bits of the tick count.
  void InputAgo(uint64_t ago) { t.system.lastInputTick = static_cast<uint32_t>(t.clock.TickCount64() - ago); }

  WindowHandle window = RecordingWindowPoster::TestWindow();
  MemoryTrimState state;
};

TEST_F(MemoryTrimTest, TwoCallsWithin30SecondsTrimOnce) {
  InputAgo(60000);
  EXPECT_TRUE(TrimSelfIfIdle(env, window, state));
  t.clock.Advance(29999);
  EXPECT_FALSE(TrimSelfIfIdle(env, window, state));
  EXPECT_EQ(t.system.trims.load(), 1);
  t.clock.Advance(1);
  EXPECT_TRUE(TrimSelfIfIdle(env, window, state));
  EXPECT_EQ(t.system.trims.load(), 2);
  EXPECT_EQ(state.lastSelfTrimTick.load(), t.clock.TickCount64());
}

TEST_F(MemoryTrimTest, UserWorkingInTheForegroundWindowBlocksTheTrim) {
  InputAgo(2000);
  EXPECT_FALSE(TrimSelfIfIdle(env, window, state));
  EXPECT_EQ(t.system.trims.load(), 0);
  EXPECT_EQ(state.lastSelfTrimTick.load(), 0u);  // a refusal does not restart the 30 s

  InputAgo(4999);
  EXPECT_FALSE(TrimSelfIfIdle(env, window, state));
  InputAgo(6000);
  EXPECT_TRUE(TrimSelfIfIdle(env, window, state));
}

TEST_F(MemoryTrimTest, RecentInputCountsOnlyInTheLiveForegroundMainWindow) {
  enum Change { kOtherWindowInFront, kNoMainWindow, kLastInputUnknown, kMainWindowDestroyed };
  // The destroyed window stays destroyed: that case comes last.
  for (Change change : {kOtherWindowInFront, kNoMainWindow, kLastInputUnknown, kMainWindowDestroyed}) {
    SCOPED_TRACE(change);
    t.system.foregroundWindow = window = RecordingWindowPoster::TestWindow();
    t.system.hasLastInput = true;
    state.lastSelfTrimTick = 0;
    InputAgo(100);
    switch (change) {
      case kOtherWindowInFront:
        t.system.foregroundWindow = nullptr;
        break;
      case kNoMainWindow:
        window = nullptr;
        break;
      case kLastInputUnknown:
        t.system.hasLastInput = false;
        break;
      case kMainWindowDestroyed:
        t.poster.DestroyWindow(window);
        break;
    }
    EXPECT_TRUE(TrimSelfIfIdle(env, window, state));
  }
}

TEST_F(MemoryTrimTest, InputAgeSurvivesTheWrapOfThe32BitTick) {
  // Now is 1000 ms past a multiple of 2^32; the input came 2000 ms earlier,
  // before the 32-bit value wrapped.
  const uint64_t wrap = uint64_t{1} << 32;
  t.clock.Advance(2 * wrap + 1000 - t.clock.TickCount64());
  ASSERT_EQ(t.clock.TickCount64() % wrap, 1000u);
  t.system.lastInputTick = static_cast<uint32_t>(wrap - 1000);
  EXPECT_FALSE(TrimSelfIfIdle(env, window, state));
  t.system.lastInputTick = static_cast<uint32_t>(wrap - 9000);
  EXPECT_TRUE(TrimSelfIfIdle(env, window, state));
}

TEST_F(MemoryTrimTest, ConcurrentCallersTrimOnce) {
  InputAgo(60000);
  constexpr int kThreads = 8;
  CountdownLatch start(kThreads);
  std::atomic<int> trimmed{0};
  std::vector<Thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&] {
      start.arrive_and_wait();
      if (TrimSelfIfIdle(env, window, state)) ++trimmed;
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(trimmed.load(), 1);
  EXPECT_EQ(t.system.trims.load(), 1);
}

TEST_F(MemoryTrimTest, TrimSelfNowIgnoresTheRules) {
  InputAgo(0);
  TrimSelfNow(env);
  TrimSelfNow(env);
  EXPECT_EQ(t.system.trims.load(), 2);
}

// A system whose global trim waits until the test lets it finish.
class HeldGlobalTrim : public FakeSystemInfo {
 public:
  bool TrimOtherProcesses() override {
    std::unique_lock lock(mutex);
    ++started;
    changed.notify_all();
    changed.wait(lock, [&] { return released; });
    ++globalTrims;
    if (fail) throw std::runtime_error("snapshot");
    return !snapshotFails;
  }
  void WaitStarted(int count) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return started >= count; });
  }
  void Release() {
    std::lock_guard lock(mutex);
    released = true;
    changed.notify_all();
  }

  std::mutex mutex;
  std::condition_variable changed;
  int started = 0;        // Guarded by mutex.
  bool released = false;  // Guarded by mutex.
  std::atomic<bool> snapshotFails{false};
  std::atomic<bool> fail{false};
};

class GlobalTrimTest : public MemoryTrimTest {
 protected:
  GlobalTrimTest() {
    held.tempPath = t.system.tempPath;
    env.system = &held;
  }
  ~GlobalTrimTest() override { g_shutdown.store(false); }
  bool WaitUntilIdle() {
    return Eventually([&] { return !state.globalTrimRunning.load(); });
  }
  HeldGlobalTrim held;
};

TEST_F(GlobalTrimTest, SecondRequestWhileTheFirstRunsDoesNothing) {
  ASSERT_TRUE(RequestGlobalTrimAsync(env, true, state));
  held.WaitStarted(1);
  EXPECT_FALSE(RequestGlobalTrimAsync(env, true, state));
  held.Release();
  ASSERT_TRUE(WaitUntilIdle());
  EXPECT_EQ(held.globalTrims.load(), 1);

  // Once it ended, a new request runs again.
  ASSERT_TRUE(RequestGlobalTrimAsync(env, true, state));
  ASSERT_TRUE(WaitUntilIdle());
  EXPECT_EQ(held.globalTrims.load(), 2);
}

TEST_F(GlobalTrimTest, SettingOffOrShutdownStartsNothing) {
  held.Release();
  EXPECT_FALSE(RequestGlobalTrimAsync(env, false, state));
  BeginShutdown();
  EXPECT_FALSE(RequestGlobalTrimAsync(env, true, state));
  EXPECT_FALSE(state.globalTrimRunning.load());
  EXPECT_EQ(held.globalTrims.load(), 0);
}

TEST_F(GlobalTrimTest, FailedSnapshotOrExceptionStillClearsTheFlag) {
  held.Release();
  held.snapshotFails = true;
  ASSERT_TRUE(RequestGlobalTrimAsync(env, true, state));
  ASSERT_TRUE(WaitUntilIdle());

  held.fail = true;
  ASSERT_TRUE(RequestGlobalTrimAsync(env, true, state));
  ASSERT_TRUE(WaitUntilIdle());
  // The task's thread logs the exception after the flag is cleared; wait for
  // it so that nothing outlives the test's platform.
  ASSERT_TRUE(Eventually([&] {
    return ReadableText(u"C:\\Temp\\Quillmor_gdi.log").find("[BackgroundThreadException] global_trim_all") !=
           std::string::npos;
  }));
  held.fail = false;
  EXPECT_TRUE(RequestGlobalTrimAsync(env, true, state));
  ASSERT_TRUE(WaitUntilIdle());
  EXPECT_EQ(held.globalTrims.load(), 3);
}

}  // namespace
}  // namespace quillmor
