#include "index/drive_poller.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/shutdown.h"
#include "platform/sim/memory_file_system.h"
#include "platform/sim/test_env.h"
#include "platform/win32_constants.h"

namespace quillmor {
namespace {

PostedMessage Message(uint32_t message, uint64_t wParam) {
  return {RecordingWindowPoster::TestWindow(), message, wParam, 0};
}

TEST(DrivePollerTest, NoticesDrivesComingAndGoingAndRunsOnce) {
  g_shutdown = false;
  TestEnv t;
  MemoryFileSystem files(&t.clock);  // C: exists from the start
  t.env.files = &files;

  StartDrivePoller(t.env, RecordingWindowPoster::TestWindow());
  StartDrivePoller(t.env, RecordingWindowPoster::TestWindow());  // the second call starts nothing
  ASSERT_TRUE(DrivePollerRunning());

  // Let the poller take its first look at the drives before one arrives.
  while (t.clock.SleptMilliseconds() < 2000) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  // A USB stick arrives: WMU_INDEX_READY (1, 0); it leaves: WMU_VOLUME_LOST.
  files.AddDrive(u'F', win32::kDriveRemovable, VolumeInformation{u"FAT32", 2, 255, 0});
  ASSERT_TRUE(t.poster.WaitForCount(1));
  files.RemoveDrive(u'F');
  ASSERT_TRUE(t.poster.WaitForCount(2));
  // Each change posts once: a second poller would have doubled them.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(t.poster.Messages(), (std::vector{Message(WMU_INDEX_READY, 1), Message(WMU_VOLUME_LOST, 0)}));

  BeginShutdown();
  while (DrivePollerRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  g_shutdown = false;
}

}  // namespace
}  // namespace quillmor
