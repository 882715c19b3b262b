#include "app/core/autostart_rules.h"

#include <cstdio>

namespace quillmor {
namespace {

// A message with %lu fields filled in. The formats are ASCII apart from the
// Chinese texts, so they are written as UTF-16 here and only the numbers are
// formatted.
std::u16string FillNumbers(std::u16string_view format, std::initializer_list<uint32_t> numbers) {
  std::u16string text;
  auto next = numbers.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format.substr(i, 3) == u"%lu" && next != numbers.end()) {
      char digits[16];
      const int length = std::snprintf(digits, sizeof digits, "%lu", static_cast<unsigned long>(*next++));
      text.append(digits, digits + length);
      i += 2;
    } else {
      text += format[i];
    }
  }
  return text;
}

}  // namespace

std::u16string AutostartTaskCommand(std::u16string_view executablePath) {
  return u"\"" + std::u16string(executablePath) + u"\" -hidden";
}

std::vector<std::u16string> CreateTaskArguments(std::u16string_view taskCommand) {
  return {u"/Create", u"/F",      u"/TN", kAutostartTaskName, u"/SC", u"ONLOGON",
          u"/DELAY",  u"0000:15", u"/RL", u"HIGHEST",         u"/TR", std::u16string(taskCommand)};
}

std::vector<std::u16string> QueryTaskArguments() { return {u"/Query", u"/TN", kAutostartTaskName}; }

std::vector<std::u16string> DeleteTaskArguments() { return {u"/Delete", u"/TN", kAutostartTaskName, u"/F"}; }

std::u16string EnableFailedMessage(uint32_t taskExitCode, bool chineseUi) {
  return FillNumbers(chineseUi ? u"创建开机启动失败。\n计划任务退出码: %lu\n建议：以管理员身份运行后重新开启。"
                               : u"Failed to create startup task.\nTask exit code: %lu\n"
                                 u"Tip: run app as administrator and enable again.",
                     {taskExitCode});
}

std::u16string DisableFailedMessage(uint32_t taskExitCode, uint32_t registryError, bool chineseUi) {
  return FillNumbers(chineseUi ? u"关闭开机启动失败。\n计划任务退出码: %lu\n注册表错误码: %lu"
                               : u"Failed to disable startup.\nTask exit code: %lu\nRegistry error: %lu",
                     {taskExitCode, registryError});
}

bool IsStartupTaskPresent(AutostartSystem& system) {
  uint32_t exitCode = kNotStartedExitCode;
  const std::vector<std::u16string> arguments = QueryTaskArguments();
  return system.RunSchtasks(arguments, exitCode, kTaskQueryTimeoutMs) && exitCode == 0;
}

bool IsAutostartEnabled(AutostartSystem& system) { return IsStartupTaskPresent(system) || system.IsRunValuePresent(); }

std::optional<std::u16string> EnableAutostart(AutostartSystem& system, bool chineseUi) {
  const std::vector<std::u16string> arguments = CreateTaskArguments(AutostartTaskCommand(system.ExecutablePath()));
  uint32_t exitCode = kNotStartedExitCode;
  if (system.RunSchtasks(arguments, exitCode, kTaskCreateTimeoutMs) && exitCode == 0) {
    // The task replaces the older way of starting at logon.
    uint32_t ignored = 0;
    system.DeleteRunValue(ignored);
    if (IsStartupTaskPresent(system)) return std::nullopt;
  }
  return EnableFailedMessage(exitCode, chineseUi);
}

std::optional<std::u16string> DisableAutostart(AutostartSystem& system, bool taskPresent, bool chineseUi) {
  bool taskRemoved = true;
  uint32_t exitCode = 0;
  if (taskPresent) {
    const std::vector<std::u16string> arguments = DeleteTaskArguments();
    taskRemoved = system.RunSchtasks(arguments, exitCode, kTaskDeleteTimeoutMs) && exitCode == 0;
  }
  uint32_t registryError = 0;
  const bool runValueGone = system.DeleteRunValue(registryError);
  if (taskRemoved && runValueGone) return std::nullopt;
  return DisableFailedMessage(exitCode, registryError, chineseUi);
}

std::optional<std::u16string> ToggleAutostart(AutostartSystem& system, bool chineseUi) {
  const bool taskPresent = IsStartupTaskPresent(system);
  if (!taskPresent && !system.IsRunValuePresent()) return EnableAutostart(system, chineseUi);
  return DisableAutostart(system, taskPresent, chineseUi);
}

}  // namespace quillmor
