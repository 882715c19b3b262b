// An engine over an in-memory computer: NTFS drives are simulated volumes,
// other drives live in a memory file system, and every message the engine
// posts is recorded.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <shared_mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/search_engine.h"
#include "platform/shutdown.h"
#include "platform/sim/memory_file_system.h"
#include "platform/sim/mounted_file_system.h"
#include "platform/sim/simulated_ntfs_volume.h"
#include "platform/sim/test_env.h"
#include "platform/win32_constants.h"
#include "settings/background_task.h"

namespace quillmor {

class EngineFixture : public ::testing::Test {
 protected:
  static constexpr uint64_t kRoot = SimulatedNtfsVolume::kRootRef;

  EngineFixture() {
    g_shutdown = false;
    memory.RemoveDrive(u'C');
    // The configuration directory lands in the memory file system's current
    // directory, away from every drive the engine indexes.
    t.system.tempPath = u".\\";
    t.env.files = &files;
    t.env.volumes = &devices;
  }
  ~EngineFixture() override {
    WaitForBackgroundTasks();
    engine.reset();
    g_shutdown = false;
  }

  void MountNtfs(char16_t letter, SimulatedNtfsVolume& volume) {
    files.MountNtfs(letter, volume);
    devices.Mount(letter, volume);
  }
  void AddWalkedDrive(char16_t letter, const char16_t* fileSystem, uint32_t type = win32::kDriveRemovable) {
    memory.AddDrive(letter, type, VolumeInformation{fileSystem, 0x1234, 255, 0});
  }

  // Waits for the engine's n-th message and returns all so far.
  std::vector<PostedMessage> WaitForMessages(size_t count) {
    EXPECT_TRUE(t.poster.WaitForCount(count)) << "only " << t.poster.Messages().size() << " messages";
    return t.poster.Messages();
  }

  static PostedMessage Message(uint32_t message, uint64_t wParam = 0, int64_t lParam = 0) {
    return {RecordingWindowPoster::TestWindow(), message, wParam, lParam};
  }

  // The performance log the engine writes into the configuration directory.
  std::string Log() { return memory.Contents(u".\\Quillmor\\config\\perf_metrics.log").value_or(""); }

  // The engine's volume of `drive` ("C:"), or null.
  VolumePtr VolumeOf(std::u16string_view drive) {
    for (const VolumePtr& v : engine->SnapshotVolumes()) {
      if (v->drive == drive) return v;
    }
    return nullptr;
  }

  std::vector<std::u16string> Drives() {
    std::vector<std::u16string> drives;
    for (const VolumePtr& v : engine->SnapshotVolumes()) drives.push_back(v->drive);
    return drives;
  }

  // How many records have their size and times cached.
  static size_t AttrCacheSize(VolumeIndex& volume) {
    std::shared_lock lock(volume.attrsLock);
    return volume.attrs.size();
  }

  static std::vector<std::u16string> Paths(VolumeIndex& volume) {
    std::shared_lock lock(volume.recordsLock);
    std::vector<std::u16string> paths;
    for (size_t i = 0; i < volume.records.size(); ++i) {
      if (!volume.records[i].deleted) paths.push_back(volume.BuildPath(i));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  // Starts the engine and waits for its start-up to end.
  void StartUp(size_t expectedMessages) {
    engine->InitBackground(RecordingWindowPoster::TestWindow());
    WaitForMessages(expectedMessages);
  }

  TestEnv t;
  // Simulated NTFS disks, to mount where a test wants them; they outlive the
  // engine.
  SimulatedNtfsVolume ntfsC, ntfsD;
  MemoryFileSystem memory{&t.clock};
  MountedFileSystem files{memory};
  SimulatedVolumeDevices devices;
  std::unique_ptr<SearchEngine> engine = std::make_unique<SearchEngine>(t.env);
};

}  // namespace quillmor
