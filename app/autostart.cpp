#include "app/autostart.h"

#include "app/core/message_titles.h"
#include "app/run_hidden.h"

namespace quillmor {
namespace {

// The Run value is read into a buffer of this size; a longer one does not
// read and so does not count.
constexpr DWORD kRunValueBufferBytes = 4096;

}  // namespace

std::u16string SystemSchtasksPath() {
  wchar_t directory[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return u"schtasks.exe";
  return win32::FromWide(std::wstring_view(directory, length)) + u"\\schtasks.exe";
}

bool SystemAutostart::RunSchtasks(std::span<const std::u16string> arguments, uint32_t& exitCode, uint32_t timeoutMs) {
  return RunHidden(paths_.schtasks, arguments, exitCode, timeoutMs);
}

bool SystemAutostart::IsRunValuePresent() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, W(paths_.runKey), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  // Two spare units keep the text terminated whatever the registry holds.
  wchar_t value[kRunValueBufferBytes / sizeof(wchar_t) + 2] = {};
  DWORD type = 0;
  DWORD bytes = kRunValueBufferBytes;
  const LSTATUS status =
      RegQueryValueExW(key, W(paths_.runValue), nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
  RegCloseKey(key);
  return status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) && bytes >= sizeof(wchar_t) &&
         value[0] != L'\0';
}

bool SystemAutostart::DeleteRunValue(uint32_t& error) {
  HKEY key = nullptr;
  LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, W(paths_.runKey), 0, KEY_SET_VALUE, &key);
  if (status != ERROR_SUCCESS) {
    error = static_cast<uint32_t>(status);
    return status == ERROR_FILE_NOT_FOUND;
  }
  status = RegDeleteValueW(key, W(paths_.runValue));
  RegCloseKey(key);
  error = static_cast<uint32_t>(status);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::u16string SystemAutostart::ExecutablePath() {
  wchar_t path[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return win32::FromWide(path);
}

AutostartSystem& MachineAutostart() {
  static SystemAutostart* system = new SystemAutostart(AutostartPaths{SystemSchtasksPath()});
  return *system;
}

void ToggleAutostartWithMessage(AutostartSystem& system, MessageBoxes& boxes, HWND owner, bool chineseUi) {
  const std::optional<std::u16string> failure = ToggleAutostart(system, chineseUi);
  if (failure) boxes.Show(owner, *failure, ErrorTitle(), MB_ICONERROR);
}

}  // namespace quillmor
