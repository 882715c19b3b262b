// Starting files and programs through the shell, behind an interface: the
// program asks the system (ShellExecuteExW, ShellExecuteW); window tests
// record the requests instead of opening files.
#pragma once

#include <string>

#include "app/win32_app.h"

namespace quillmor {

struct ShellRequest {
  std::u16string verb;        // "open", "runas", "properties"
  std::u16string file;        // a path, or "explorer.exe"
  std::u16string parameters;  // empty for none
  // ShellExecuteExW with these SEE_MASK_* flags; ShellExecuteW when false.
  bool extended = true;
  ULONG mask = 0;
  int show = SW_SHOWNORMAL;
  bool operator==(const ShellRequest&) const = default;
};

class ShellLauncher {
 public:
  virtual ~ShellLauncher() = default;
  // True when the shell started it (ShellExecuteExW's TRUE, or ShellExecuteW
  // answering above 32).
  virtual bool Execute(HWND owner, const ShellRequest& request) = 0;
};

// The system's shell.
ShellLauncher& SystemShellLauncher();

}  // namespace quillmor
