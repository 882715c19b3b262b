// Start at logon: a scheduled task that schtasks.exe creates (at logon, after
// 15 seconds, with the highest rights) to run the program with "-hidden". An
// older value under the user's Run key also counts as "on"; it is only ever
// read and removed, never written. Nothing is cached: every question asks
// the system again.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillmor {

inline constexpr char16_t kAutostartTaskName[] = u"Quillmor_AutoStart";
inline constexpr char16_t kRunKeyPath[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char16_t kRunValueName[] = u"Quillmor";

// How long each schtasks call may run before it is ended.
inline constexpr uint32_t kTaskCreateTimeoutMs = 15000;
inline constexpr uint32_t kTaskQueryTimeoutMs = 10000;
inline constexpr uint32_t kTaskDeleteTimeoutMs = 10000;

// The exit code reported when schtasks could not be started at all.
inline constexpr uint32_t kNotStartedExitCode = 0xFFFFFFFFu;
// RunHidden's report for a process that outran its timeout (WAIT_TIMEOUT),
// and the exit code it is ended with (ERROR_TIMEOUT).
inline constexpr uint32_t kTimedOutExitCode = 258;
inline constexpr uint32_t kTerminatedExitCode = 1460;

// The task's command: the executable in quotes, then " -hidden".
std::u16string AutostartTaskCommand(std::u16string_view executablePath);

// schtasks' arguments, one element each (quoted when the command line is
// built).
std::vector<std::u16string> CreateTaskArguments(std::u16string_view taskCommand);
std::vector<std::u16string> QueryTaskArguments();
std::vector<std::u16string> DeleteTaskArguments();

// The failure messages; `chineseUi` is the system's user-interface language
// being Chinese.
std::u16string EnableFailedMessage(uint32_t taskExitCode, bool chineseUi);
std::u16string DisableFailedMessage(uint32_t taskExitCode, uint32_t registryError, bool chineseUi);

// What autostart needs of the system.
class AutostartSystem {
 public:
  virtual ~AutostartSystem() = default;
  // Runs schtasks with `arguments`, hidden, for at most `timeoutMs`. True
  // when it ran to its end; `exitCode` is then its exit code. A process that
  // outran the timeout is ended and gives false with `exitCode` 258; one
  // that could not be started gives false and leaves `exitCode` alone.
  virtual bool RunSchtasks(std::span<const std::u16string> arguments, uint32_t& exitCode, uint32_t timeoutMs) = 0;
  // The Run value exists, is a string (REG_SZ or REG_EXPAND_SZ) and is not
  // empty.
  virtual bool IsRunValuePresent() = 0;
  // Removes the Run value. True when it is gone (removed, or never there);
  // `error` is the registry's code, 0 when it was removed.
  virtual bool DeleteRunValue(uint32_t& error) = 0;
  // The running program's full path.
  virtual std::u16string ExecutablePath() = 0;
};

// The task exists: the query ran to its end and schtasks exited with 0.
bool IsStartupTaskPresent(AutostartSystem& system);
// The task or the Run value is present (the menu's check mark).
bool IsAutostartEnabled(AutostartSystem& system);

// Creates the task; on success removes the Run value and checks that the
// task is there. The message to show when it failed, else nothing.
std::optional<std::u16string> EnableAutostart(AutostartSystem& system, bool chineseUi);
// Deletes the task (when `taskPresent`) and removes the Run value. The
// message to show when either failed, else nothing.
std::optional<std::u16string> DisableAutostart(AutostartSystem& system, bool taskPresent, bool chineseUi);
// Disables when the task or the Run value is present, else enables.
std::optional<std::u16string> ToggleAutostart(AutostartSystem& system, bool chineseUi);

}  // namespace quillmor
