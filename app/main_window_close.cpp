// Minimising, closing, activation and the end of the window.
#include "app/core/close_decision.h"
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "engine/attr_cache_summary.h"
#include "platform/shutdown.h"
#include "search/search_pipeline.h"
#include "search/search_scope.h"
#include "settings/memory_trim.h"
#include "settings/message_log.h"

namespace quillmor {
namespace {

// The title bar's close button while the program lives on in the
// notification area: the next show starts from a clean view.
void ResetView(MainWindow& w) {
  if (w.session.scope.load() == kScopeDesktop) {
    SendMessageW(w.controls.scopeBox, CB_SETCURSEL, 0, 0);
    w.session.SetScope({kScopeAll, {}});
  }
  SetWindowTextW(w.controls.searchEdit, L"");
  KillTimer(w.hwnd, ID_TIMER_SEARCH_DELAY);
  w.queryText.clear();
  w.view.StoreSearchText({});
  ClearListSelection(w);
  ScrollListTo(w, 0);
  DoSearchAsync(w.session, u"", false, true);
}

}  // namespace

void HideToTray(MainWindow& w) {
  TrimSelfNow(w.env);
  ShowWindow(w.hwnd, SW_HIDE);
}

LRESULT OnSysCommand(MainWindow& w, WPARAM wParam, LPARAM lParam) {
  switch (wParam & 0xFFF0) {
    case SC_MINIMIZE:
      HideToTray(w);
      return 0;
    case SC_CLOSE:
      w.closeFromSystemCommand = true;
      break;
    default:
      break;
  }
  return DefWindowProcW(w.hwnd, WM_SYSCOMMAND, wParam, lParam);
}

void RequestExit(MainWindow& w) {
  w.exitRequested = true;
  PostMessageW(w.hwnd, WM_CLOSE, 0, 0);
}

void OnClose(MainWindow& w) {
  CloseInput input;
  input.exitRequested = w.exitRequested;
  input.trayIconPresent = w.trayIconPresent;
  input.engineReady = w.app.engine.hasVolumes.load() != 0;
  input.closeFromSystemCommand = w.closeFromSystemCommand;
  input.startedHidden = w.app.startedHidden;
  input.windowsShuttingDown = GetSystemMetrics(SM_SHUTTINGDOWN) != 0;
  if (!input.exitRequested) w.closeFromSystemCommand = false;
  switch (DecideClose(input)) {
    case CloseAction::kDestroy:
      DestroyWindow(w.hwnd);
      return;
    case CloseAction::kHideWithViewReset:
      ResetView(w);
      HideToTray(w);
      return;
    case CloseAction::kHide:
      HideToTray(w);
      return;
  }
}

LRESULT OnActivate(MainWindow& w, WPARAM wParam, LPARAM lParam) {
  // The default processing gives the focus to the window itself, so it runs
  // before the search box takes it.
  const LRESULT result = DefWindowProcW(w.hwnd, WM_ACTIVATE, wParam, lParam);
  if (LOWORD(wParam) != WA_INACTIVE && !HotkeyCaptureActive(w)) {
    FocusSearchBox(w, true);
    KillTimer(w.hwnd, ID_TIMER_TRIM_IDLE);
  } else {
    SetTimer(w.hwnd, ID_TIMER_TRIM_IDLE, kIdleTrimAfterDeactivateMs, nullptr);
  }
  return result;
}

void OnEndSession(MainWindow& w, bool ending) {
  if (!ending) return;
  LogMessage(w.env, u"WM_ENDSESSION");
  SaveWindowSettingsNow(w);
  SaveAttrCacheAtExit(w.app.engine);
}

void OnDestroy(MainWindow& w) {
  LogMessage(w.env, u"WM_DESTROY begin");
  SaveWindowSettingsNow(w);
  for (UINT id :
       {ID_TIMER_TRAY_RETRY, ID_TIMER_SEARCH_DELAY, ID_TIMER_SCROLL_SETTLE, ID_TIMER_STARTUP_SYNC, ID_TIMER_PREWARM,
        ID_TIMER_PREWARM_WATCH, ID_TIMER_FILTER_UI, ID_TIMER_LIST_REPAINT, ID_TIMER_CACHE_AUTOSAVE, ID_TIMER_TRIM_IDLE,
        ID_TIMER_TRIM, ID_TIMER_HOTKEY_CAPTURE, ID_TIMER_SEARCH_RETRY}) {
    KillTimer(w.hwnd, id);
  }
  RemoveTrayIcon(w);
  UnregisterHotKey(w.hwnd, kHotkeyShowHide);
  UnregisterHotKey(w.hwnd, kHotkeyForegroundApp);

  BeginShutdown();
  DeleteThemeBrushes(w.theme);
  SaveAttrCacheAtExit(w.app.engine);
  FreeIconCache(w);
  w.app.engine.Shutdown();

  DeleteBackBuffer(w);
  DeleteFonts(w.fonts);
  DestroyOwnedIcons(w);
  LogMessage(w.env, u"WM_DESTROY end");
  // Jobs still running report to nobody from now on.
  w.app.results.window = nullptr;
  w.view.Attach(nullptr, nullptr);
  w.env.clock->Sleep(500);
  PostQuitMessage(0);
}

}  // namespace quillmor
