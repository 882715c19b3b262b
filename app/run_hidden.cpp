#include "app/run_hidden.h"

#include "app/core/autostart_rules.h"
#include "app/core/command_line_quote.h"
#include "app/win32_app.h"
#include "platform/win32/scoped_handle.h"

namespace quillmor {

bool RunHidden(std::u16string_view executable, std::span<const std::u16string> arguments, uint32_t& exitCode,
               uint32_t timeoutMs) {
  const std::wstring application = win32::Wide(executable);
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring commandLine = win32::Wide(BuildCommandLine(executable, arguments));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &started)) {
    return false;
  }
  const win32::ScopedHandle process(started.hProcess);
  const win32::ScopedHandle thread(started.hThread);
  switch (WaitForSingleObject(process.get(), timeoutMs)) {
    case WAIT_OBJECT_0: {
      DWORD code = 0;
      exitCode = GetExitCodeProcess(process.get(), &code) ? code : 0xFFFFFFFFu;
      return true;
    }
    case WAIT_TIMEOUT:
      TerminateProcess(process.get(), kTerminatedExitCode);
      exitCode = kTimedOutExitCode;
      return false;
    default:
      exitCode = GetLastError();
      return false;
  }
}

}  // namespace quillmor
