// Known folders, the debugger output, GUI object counts, working-set trims,
// input and keyboard facts from the Win32 API.
#pragma once

#include "platform/system_info.h"

namespace quillmor {

class Win32SystemInfo : public SystemInfo {
 public:
  bool DocumentsFolder(std::u16string& path) override;
  bool LocalAppDataFolder(std::u16string& path) override;
  bool DesktopFolder(std::u16string& path) override;
  std::u16string TempPath() override;

  void DebugOutput(std::string_view text) override;
  void DebugOutput(std::u16string_view text) override;

  uint32_t GdiObjectCount() override;
  uint32_t UserObjectCount() override;
  void TrimOwnWorkingSet() override;
  bool TrimOtherProcesses() override;

  bool LastInputTick(uint32_t& tick) override;
  bool IsForegroundWindow(void* window) override;
  std::u16string KeyName(uint32_t virtualKey) override;
  bool IsUserAnAdmin() override;
};

}  // namespace quillmor
