// System facts from another SystemInfo, with the Desktop folder replaced: the
// command line names it with --desktop.
#pragma once

#include "platform/system_info.h"

namespace quillmor {

class DesktopOverride : public SystemInfo {
 public:
  DesktopOverride(SystemInfo& base, std::u16string desktop) : base_(base), desktop_(std::move(desktop)) {}

  bool DesktopFolder(std::u16string& path) override {
    if (desktop_.empty()) return base_.DesktopFolder(path);
    path = desktop_;
    return true;
  }

  bool DocumentsFolder(std::u16string& path) override { return base_.DocumentsFolder(path); }
  bool LocalAppDataFolder(std::u16string& path) override { return base_.LocalAppDataFolder(path); }
  std::u16string TempPath() override { return base_.TempPath(); }
  void DebugOutput(std::string_view text) override { base_.DebugOutput(text); }
  void DebugOutput(std::u16string_view text) override { base_.DebugOutput(text); }
  uint32_t GdiObjectCount() override { return base_.GdiObjectCount(); }
  uint32_t UserObjectCount() override { return base_.UserObjectCount(); }
  void TrimOwnWorkingSet() override { base_.TrimOwnWorkingSet(); }
  bool TrimOtherProcesses() override { return base_.TrimOtherProcesses(); }
  bool LastInputTick(uint32_t& tick) override { return base_.LastInputTick(tick); }
  bool IsForegroundWindow(void* window) override { return base_.IsForegroundWindow(window); }
  bool IsUserAnAdmin() override { return base_.IsUserAnAdmin(); }
  std::u16string KeyName(uint32_t virtualKey) override { return base_.KeyName(virtualKey); }

 private:
  SystemInfo& base_;
  std::u16string desktop_;
};

}  // namespace quillmor
