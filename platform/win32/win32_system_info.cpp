#include "platform/win32/windows_api.h"

#include "platform/win32/win32_system_info.h"

#include <psapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <string>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_string.h"

namespace quillmor {
namespace {

using win32::ScopedHandle;

bool FolderPath(int csidl, std::u16string& path) {
  wchar_t buffer[MAX_PATH] = {};
  if (::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK) return false;
  path = win32::FromWide(buffer);
  return true;
}

void TrimWorkingSet(HANDLE process) {
  ::SetProcessWorkingSetSize(process, static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
  ::K32EmptyWorkingSet(process);
}

void EnableIncreaseQuotaPrivilege() {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return;
  const ScopedHandle token(raw);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!::LookupPrivilegeValueW(nullptr, L"SeIncreaseQuotaPrivilege", &privileges.Privileges[0].Luid)) return;
  ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

}  // namespace

bool Win32SystemInfo::DocumentsFolder(std::u16string& path) { return FolderPath(CSIDL_PERSONAL, path); }

bool Win32SystemInfo::LocalAppDataFolder(std::u16string& path) { return FolderPath(CSIDL_LOCAL_APPDATA, path); }
bool Win32SystemInfo::DesktopFolder(std::u16string& path) { return FolderPath(CSIDL_DESKTOPDIRECTORY, path); }

std::u16string Win32SystemInfo::TempPath() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0) return {};
  if (length <= MAX_PATH) return win32::FromWide(std::wstring_view(buffer, length));
  // Longer than MAX_PATH: the whole path, which callers that need MAX_PATH
  // refuse by its length.
  std::wstring longer(length, L'\0');
  const DWORD again = ::GetTempPathW(length, longer.data());
  if (again == 0 || again >= length) return {};
  longer.resize(again);
  return win32::FromWide(longer);
}

void Win32SystemInfo::DebugOutput(std::string_view text) { ::OutputDebugStringA(std::string(text).c_str()); }

void Win32SystemInfo::DebugOutput(std::u16string_view text) { ::OutputDebugStringW(win32::Wide(text).c_str()); }

uint32_t Win32SystemInfo::GdiObjectCount() { return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); }

uint32_t Win32SystemInfo::UserObjectCount() { return ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS); }

void Win32SystemInfo::TrimOwnWorkingSet() { TrimWorkingSet(::GetCurrentProcess()); }

bool Win32SystemInfo::TrimOtherProcesses() {
  EnableIncreaseQuotaPrivilege();
  const ScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.valid()) return false;
  const DWORD self = ::GetCurrentProcessId();
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == 0 || entry.th32ProcessID == self) continue;
    const ScopedHandle process(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_QUOTA, FALSE, entry.th32ProcessID));  // 0x500
    if (process.valid()) TrimWorkingSet(process.get());
  }
  return true;
}

bool Win32SystemInfo::LastInputTick(uint32_t& tick) {
  LASTINPUTINFO info{};
  info.cbSize = sizeof info;
  if (!::GetLastInputInfo(&info)) return false;
  tick = info.dwTime;
  return true;
}

bool Win32SystemInfo::IsForegroundWindow(void* window) {
  return window != nullptr && ::GetForegroundWindow() == static_cast<HWND>(window);
}

bool Win32SystemInfo::IsUserAnAdmin() { return ::IsUserAnAdmin() != FALSE; }

std::u16string Win32SystemInfo::KeyName(uint32_t virtualKey) {
  const UINT scanCode = ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  if (scanCode == 0) return {};
  wchar_t name[64] = {};
  const int length = ::GetKeyNameTextW(static_cast<LONG>(scanCode << 16), name, 64);
  return length > 0 ? win32::FromWide(std::wstring_view(name, static_cast<size_t>(length))) : std::u16string();
}

}  // namespace quillmor
