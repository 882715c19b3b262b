// Quillmor.exe
#include "app/app_entry.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand) {
  const int code = quillmor::RunApplication(quillmor::DefaultAppEnv(), instance, commandLine, showCommand);
  // The refusal ends the process at once, as the administrator check must.
  if (code != 0) ExitProcess(static_cast<UINT>(code));
  return code;
}
