// Start at logon on this computer: schtasks.exe and the current user's Run
// key behind AutostartSystem (app/core/autostart_rules.h holds the rules).
#pragma once

#include <string>

#include "app/core/autostart_rules.h"
#include "app/message_boxes.h"

namespace quillmor {

// Where the system's pieces are. Tests point them elsewhere: a stand-in for
// schtasks.exe, a Run key of their own.
struct AutostartPaths {
  std::u16string schtasks;              // the program run for the task
  std::u16string runKey = kRunKeyPath;  // under HKEY_CURRENT_USER
  std::u16string runValue = kRunValueName;
};

// The system directory's schtasks.exe; just "schtasks.exe" when the system
// directory cannot be read.
std::u16string SystemSchtasksPath();

class SystemAutostart : public AutostartSystem {
 public:
  explicit SystemAutostart(AutostartPaths paths) : paths_(std::move(paths)) {}

  bool RunSchtasks(std::span<const std::u16string> arguments, uint32_t& exitCode, uint32_t timeoutMs) override;
  bool IsRunValuePresent() override;
  bool DeleteRunValue(uint32_t& error) override;
  std::u16string ExecutablePath() override;

 private:
  AutostartPaths paths_;
};

// The real schtasks.exe and Run key. Lives for the whole process.
AutostartSystem& MachineAutostart();

// ToggleAutostart, with a failure shown in a message box (MB_ICONERROR,
// titled "Error") owned by `owner`.
void ToggleAutostartWithMessage(AutostartSystem& system, MessageBoxes& boxes, HWND owner, bool chineseUi);

}  // namespace quillmor
