// System facts for tests: folders a test chooses, and the debugger output
// captured as lines.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/system_info.h"

namespace quillmor {

class FakeSystemInfo : public SystemInfo {
 public:
  std::optional<std::u16string> documents;
  std::optional<std::u16string> localAppData;
  std::optional<std::u16string> desktop;
  std::u16string tempPath;
  uint32_t gdiObjects = 0;
  uint32_t userObjects = 0;

  bool DocumentsFolder(std::u16string& path) override { return Get(documents, path); }
  bool LocalAppDataFolder(std::u16string& path) override { return Get(localAppData, path); }
  bool DesktopFolder(std::u16string& path) override { return Get(desktop, path); }
  std::u16string TempPath() override { return tempPath; }

  void DebugOutput(std::string_view text) override {
    std::lock_guard lock(mutex_);
    debugLines_.emplace_back(text.begin(), text.end());
  }
  void DebugOutput(std::u16string_view text) override {
    std::lock_guard lock(mutex_);
    debugLines_.emplace_back(text.begin(), text.end());  // tests write ASCII
  }
  std::vector<std::string> DebugLines() {
    std::lock_guard lock(mutex_);
    return debugLines_;
  }

  uint32_t GdiObjectCount() override { return gdiObjects; }
  uint32_t UserObjectCount() override { return userObjects; }
  void TrimOwnWorkingSet() override { ++trims; }
  bool TrimOtherProcesses() override {
    ++globalTrims;
    return true;
  }
  bool LastInputTick(uint32_t& tick) override {
    tick = lastInputTick;
    return hasLastInput;
  }
  bool IsForegroundWindow(void* window) override { return window != nullptr && window == foregroundWindow; }
  std::u16string KeyName(uint32_t) override { return {}; }
  bool IsUserAnAdmin() override { return admin; }
  bool admin = true;

  std::atomic<int> trims{0};
  std::atomic<int> globalTrims{0};
  bool hasLastInput = true;
  uint32_t lastInputTick = 0;
  void* foregroundWindow = nullptr;

 private:
  static bool Get(const std::optional<std::u16string>& value, std::u16string& out) {
    if (!value) return false;
    out = *value;
    return true;
  }

  std::mutex mutex_;
  std::vector<std::string> debugLines_;  // Guarded by mutex_.
};

}  // namespace quillmor
