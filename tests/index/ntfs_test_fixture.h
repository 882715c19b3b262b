// A simulated NTFS volume mounted as C:, and an index to build from it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "index/ntfs_enumeration.h"
#include "index/volume_index.h"
#include "platform/shutdown.h"
#include "platform/sim/simulated_ntfs_volume.h"
#include "platform/sim/test_env.h"

namespace quillmor {

class NtfsFixture : public ::testing::Test {
 protected:
  static constexpr uint64_t kRoot = SimulatedNtfsVolume::kRootRef;

  NtfsFixture() {
    g_shutdown = false;
    devices.Mount(u'C', disk);
    t.env.volumes = &devices;
    index.notifyWindow = RecordingWindowPoster::TestWindow();
  }
  ~NtfsFixture() override { g_shutdown = false; }

  // Paths of the records that are not deleted, sorted.
  std::vector<std::u16string> Paths() {
    std::shared_lock lock(index.recordsLock);
    std::vector<std::u16string> paths;
    for (size_t i = 0; i < index.records.size(); ++i) {
      if (!index.records[i].deleted) paths.push_back(index.BuildPath(i));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  bool HasPath(const std::u16string& path) {
    const auto paths = Paths();
    return std::find(paths.begin(), paths.end(), path) != paths.end();
  }

  // Waits in real time for a condition a background thread brings about.
  static bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

  SimulatedNtfsVolume disk;
  SimulatedVolumeDevices devices;
  TestEnv t;
  VolumeIndex index{t.env};
};

}  // namespace quillmor
