// The two global hotkeys: show or hide the window, and reveal the foreground
// application's program in Explorer.

#include "app/core/message_titles.h"
#include "app/core/window_ids.h"
#include "app/file_operations.h"
#include "app/main_window_handlers.h"
#include "settings/background_task.h"
#include "settings/localisation.h"
#include "settings/memory_trim.h"
#include "settings/message_log.h"

namespace quillmor {

bool HotkeyCaptureActive(const MainWindow& w) { return w.hotkeyCapture.active; }

bool RegisterShowHideHotkey(MainWindow& w, uint32_t modifiers, uint32_t key, bool save) {
  HotkeySettings& hotkeys = w.app.hotkeys;
  if (modifiers == hotkeys.fgModifiers && key == hotkeys.fgKey) return false;
  UnregisterHotKey(w.hwnd, kHotkeyShowHide);
  if (!RegisterHotKey(w.hwnd, kHotkeyShowHide, modifiers, key)) {
    RegisterHotKey(w.hwnd, kHotkeyShowHide, hotkeys.modifiers, hotkeys.key);
    return false;
  }
  hotkeys.modifiers = modifiers;
  hotkeys.key = key;
  UpdateTrayTip(w);
  if (save) SaveHotkeySettings(w.env, hotkeys);
  return true;
}

void RegisterHotkeysAtCreate(MainWindow& w) {
  const HotkeySettings loaded = w.app.hotkeys;
  RegisterShowHideHotkey(w, loaded.modifiers, loaded.key, false);
  UnregisterHotKey(w.hwnd, kHotkeyForegroundApp);
  RegisterHotKey(w.hwnd, kHotkeyForegroundApp, loaded.fgModifiers, loaded.fgKey);
}

void OnHotkey(MainWindow& w, WPARAM id, LPARAM lParam) {
  if (HandleCaptureHotkey(w, lParam)) return;
  if (id == kHotkeyShowHide) {
    LogMessage(w.env, u"WM_HOTKEY toggle");
    if (!IsWindowVisible(w.hwnd)) {
      EnsureTrayIcon(w);
      ShowAndActivate(w);
      return;
    }
    ShowWindow(w.hwnd, SW_HIDE);
    Env& env = w.env;
    StartBackgroundTask(env, u"hotkey_hide_trim_self", [&env] { TrimSelfNow(env); });
    RequestGlobalTrimAsync(env, w.app.window.globalTrimOnToggle);
    return;
  }
  if (id == kHotkeyForegroundApp && !RevealForegroundApp(w)) {
    w.app.app.boxes->Show(w.hwnd,
                          Translate(u"Msg_ForegroundExeOpenFailed", u"无法获取前台进程路径（可能受保护）。",
                                    u"Could not get the foreground process path (it may be protected)."),
                          InformationTitle(), MB_ICONINFORMATION);
  }
}

bool RevealForegroundApp(MainWindow& w) {
  const HWND foreground = GetForegroundWindow();
  if (foreground == nullptr) return false;
  DWORD processId = 0;
  GetWindowThreadProcessId(foreground, &processId);
  if (processId == 0) return false;
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return false;
  std::wstring image(32768, L'\0');
  DWORD size = static_cast<DWORD>(image.size());
  const BOOL ok = QueryFullProcessImageNameW(process, 0, image.data(), &size);
  CloseHandle(process);
  if (!ok || size == 0) return false;
  image.resize(size);
  wchar_t windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::u16string explorer = win32::FromWide(std::wstring(windows, length)) + u"\\explorer.exe";
  const std::u16string parameters = u"/select,\"" + win32::FromWide(image) + u"\"";
  return ShellOf(w).Execute(nullptr, {u"", explorer, parameters, false, 0, SW_SHOWNORMAL});
}

}  // namespace quillmor
