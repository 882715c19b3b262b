// The notification icon: adding it (again after the taskbar restarts), its
// tooltip, and showing the window from it.

#include "app/core/tray_tip.h"
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "app/tray_state.h"
#include "engine/attr_prewarm.h"
#include "search/search_pipeline.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

NOTIFYICONDATAW& IconData(MainWindow& w) { return w.tray.data; }

// Centres a window that no monitor shows (one that was unplugged) on the
// primary screen, its size unchanged.
void MoveOntoScreenIfLost(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int left = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  const int top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LoadTrayIcon(MainWindow& w) {
  TrayState& tray = w.tray;
  if (tray.data.hIcon != nullptr) return;
  tray.ownedIcon = static_cast<HICON>(LoadImageW(w.app.instance, MAKEINTRESOURCEW(104), IMAGE_ICON, 16, 16, 0));
  tray.data.hIcon = tray.ownedIcon != nullptr ? tray.ownedIcon : LoadIconW(nullptr, IDI_APPLICATION);
}

}  // namespace

std::u16string TrayTipText(SystemInfo& system, const HotkeySettings& hotkeys) {
  return ComposeTrayTip(Translate(u"TrayTip", u"Quillmor - {0} 显示/隐藏", u"Quillmor - {0} Show/Hide"),
                        FormatHotkey(system, hotkeys.modifiers, hotkeys.key));
}

void UpdateTrayTip(MainWindow& w) {
  NOTIFYICONDATAW& data = IconData(w);
  static_assert(std::size(NOTIFYICONDATAW{}.szTip) > kMaxTrayTipChars);
  const std::u16string tip = TrayTipText(*w.env.system, w.app.hotkeys);
  std::copy(tip.begin(), tip.end(), data.szTip);
  data.szTip[tip.size()] = L'\0';
  if (w.trayIconPresent && data.hWnd != nullptr) Shell_NotifyIconW(NIM_MODIFY, &data);
}

// The full record of this Windows version, as the shell expects it.
static_assert(sizeof(NOTIFYICONDATAW) == 976);

void SetUpTrayIcon(MainWindow& w) {
  NOTIFYICONDATAW& data = IconData(w);
  data = NOTIFYICONDATAW{};
  data.cbSize = sizeof data;
  data.hWnd = w.hwnd;
  data.uID = 1;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WMU_TRAY_CALLBACK;
  w.trayIconPresent = false;
  EnsureTrayIcon(w);
}

bool EnsureTrayIcon(MainWindow& w) {
  NOTIFYICONDATAW& data = IconData(w);
  data.hWnd = w.hwnd;
  LoadTrayIcon(w);
  UpdateTrayTip(w);
  if (w.trayIconPresent) {
    Shell_NotifyIconW(NIM_MODIFY, &data);
  } else {
    w.trayIconPresent = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    if (w.trayIconPresent) {
      Shell_NotifyIconW(NIM_MODIFY, &data);
    } else if (Shell_NotifyIconW(NIM_MODIFY, &data)) {
      // The shell still holds the icon (a "TaskbarCreated" from a shell that
      // kept its icons, as Wine's does): it is there, and adding it again
      // would fail every 1.5 s for ever.
      w.trayIconPresent = true;
    }
  }
  if (w.trayIconPresent) {
    KillTimer(w.hwnd, ID_TIMER_TRAY_RETRY);
  } else {
    SetTimer(w.hwnd, ID_TIMER_TRAY_RETRY, kTrayRetryMs, nullptr);
  }
  return w.trayIconPresent;
}

void RemoveTrayIcon(MainWindow& w) {
  NOTIFYICONDATAW& data = IconData(w);
  if (data.hWnd != nullptr) Shell_NotifyIconW(NIM_DELETE, &data);
  w.trayIconPresent = false;
}

void DestroyOwnedIcons(MainWindow& w) {
  TrayState& tray = w.tray;
  if (tray.ownedIcon != nullptr) DestroyIcon(tray.ownedIcon);
  tray.ownedIcon = nullptr;
  tray.data.hIcon = nullptr;
}

void OnTrayCallback(MainWindow& w, LPARAM mouseMessage) {
  switch (LOWORD(mouseMessage)) {
    case WM_LBUTTONDBLCLK:
      EnsureTrayIcon(w);
      ShowAndActivate(w);
      break;
    case WM_RBUTTONUP:
      ShowTrayMenu(w);
      break;
    default:
      break;
  }
}

void BringWindowForward(MainWindow& w) {
  w.everShown = true;
  KillTimer(w.hwnd, ID_TIMER_STARTUP_SYNC);
  ShowWindow(w.hwnd, IsIconic(w.hwnd) ? SW_RESTORE : SW_SHOW);
  MoveOntoScreenIfLost(w.hwnd);
  SetWindowPos(w.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  SetForegroundWindow(w.hwnd);
  BringWindowToTop(w.hwnd);
}

void ShowAndActivate(MainWindow& w) {
  BringWindowForward(w);
  FocusSearchBox(w, false);
  if (w.pending.deferredWarmup.exchange(false)) {
    SchedulePrewarmTimer(w, kPrewarmDelayAfterHiddenStartMs);
    DoSearchAsync(w.session, u"", false, true);
  }
}

}  // namespace quillmor
