// System facts on a POSIX system: XDG-style folders, stderr as the debugger
// output, and no window system (no GUI objects, no keyboard names, nothing to
// trim).
#pragma once

#include <string>

#include "platform/system_info.h"

namespace quillmor {

// Thread-safe. Reads the environment once, when constructed.
class PosixSystemInfo : public SystemInfo {
 public:
  PosixSystemInfo();

  // $HOME/Documents, when that directory exists.
  bool DocumentsFolder(std::u16string& path) override;
  // $XDG_DATA_HOME, else $HOME/.local/share, when that directory exists.
  bool LocalAppDataFolder(std::u16string& path) override;
  // $HOME/Desktop when it exists.
  bool DesktopFolder(std::u16string& path) override;
  // $TMPDIR, else /tmp, with a trailing "/".
  std::u16string TempPath() override { return tempPath_; }

  // Written to stderr only when QUILLMOR_DEBUG_OUTPUT is set, as a debugger
  // would show it only when one is attached.
  void DebugOutput(std::string_view text) override;
  void DebugOutput(std::u16string_view text) override;

  uint32_t GdiObjectCount() override { return 0; }
  uint32_t UserObjectCount() override { return 0; }
  void TrimOwnWorkingSet() override {}
  bool TrimOtherProcesses() override { return true; }
  bool LastInputTick(uint32_t&) override { return false; }
  bool IsForegroundWindow(void*) override { return false; }
  std::u16string KeyName(uint32_t) override { return {}; }
  // The superuser stands in for an administrator.
  bool IsUserAnAdmin() override;

 private:
  std::string documents_;     // empty when unknown
  std::string localAppData_;  // empty when unknown
  std::string desktop_;       // empty when unknown
  std::u16string tempPath_;
  bool debugOutput_ = false;
};

}  // namespace quillmor
