// Known folders, the debugger output and process facts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillmor {

// Thread-safe.
class SystemInfo {
 public:
  virtual ~SystemInfo() = default;

  // SHGetFolderPathW(CSIDL_PERSONAL). False when there is none.
  virtual bool DocumentsFolder(std::u16string& path) = 0;
  // SHGetFolderPathW(CSIDL_LOCAL_APPDATA). False when there is none.
  virtual bool LocalAppDataFolder(std::u16string& path) = 0;
  // SHGetFolderPathW(CSIDL_DESKTOPDIRECTORY): the user's Desktop folder.
  // False when there is none.
  virtual bool DesktopFolder(std::u16string& path) = 0;
  // GetTempPathW: the temporary directory with its trailing backslash, as
  // Windows returns it (the caller checks the length as the API's users must).
  virtual std::u16string TempPath() = 0;

  // OutputDebugStringA / OutputDebugStringW.
  virtual void DebugOutput(std::string_view text) = 0;
  virtual void DebugOutput(std::u16string_view text) = 0;

  // GetGuiResources(process, 0 / 1): GDI and USER objects; 0 where there are none.
  virtual uint32_t GdiObjectCount() = 0;
  virtual uint32_t UserObjectCount() = 0;
  // SetProcessWorkingSetSize(-1, -1) and K32EmptyWorkingSet on this process.
  virtual void TrimOwnWorkingSet() = 0;
  // Enables SeIncreaseQuotaPrivilege (failure ignored), then trims every other
  // process that can be opened with query-information and set-quota access
  // (0x500). False when the process snapshot cannot be taken.
  virtual bool TrimOtherProcesses() = 0;

  // GetLastInputInfo: the 32-bit tick of the last user input. False when the
  // call fails.
  virtual bool LastInputTick(uint32_t& tick) = 0;
  // GetForegroundWindow() == window.
  virtual bool IsForegroundWindow(void* window) = 0;

  // IsUserAnAdmin: raw volume access (the change journal) needs it.
  virtual bool IsUserAnAdmin() = 0;

  // MapVirtualKeyW(MAPVK_VK_TO_VSC) and GetKeyNameTextW: the keyboard's name
  // for a virtual key, empty when it has none.
  virtual std::u16string KeyName(uint32_t virtualKey) = 0;
};

}  // namespace quillmor
