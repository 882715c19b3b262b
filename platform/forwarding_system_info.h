// A SystemInfo that hands every call to another one. Adapters and test fakes
// derive from it and override only the facts they change.
#pragma once

#include "platform/system_info.h"

namespace quillmor {

// Thread-safe as far as the SystemInfo it forwards to is.
class ForwardingSystemInfo : public SystemInfo {
 public:
  // `base` must outlive this object.
  explicit ForwardingSystemInfo(SystemInfo& base) : base_(base) {}

  bool DocumentsFolder(std::u16string& path) override { return base_.DocumentsFolder(path); }
  bool LocalAppDataFolder(std::u16string& path) override { return base_.LocalAppDataFolder(path); }
  bool DesktopFolder(std::u16string& path) override { return base_.DesktopFolder(path); }
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

 protected:
  SystemInfo& base() { return base_; }

 private:
  SystemInfo& base_;
};

}  // namespace quillmor
