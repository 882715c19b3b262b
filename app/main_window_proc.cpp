// WndProc: every case is a call to a named handler.

#include "app/core/window_ids.h"
#include "app/file_operations.h"
#include "app/main_window_handlers.h"
#include "app/themed_controls.h"
#include "engine/hydrate_attributes.h"
#include "settings/localisation.h"
#include "settings/message_log.h"

namespace quillmor {

MainWindow::MainWindow(AppState& state) : app(state), env(state.env), view(state.view), session(state.session) {
  session.initialSearch = state.window.initialSearchEnabled;
  // The size and time filters read what the cache lacks from the disk.
  session.hydrate = [](VolumeIndex& volume, uint32_t recordIndex, AttrEntry& out) {
    HydrateAttributes(&volume, recordIndex, out);
    return out.known != 0;
  };
}

MainWindow* MainWindowOf(HWND window) {
  return window != nullptr ? reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

namespace {

// The state CreateMainWindow hands to a window that has not yet taken it.
thread_local MainWindow* t_unclaimed = nullptr;

LRESULT Dispatch(MainWindow& w, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = w.hwnd;
  if (w.taskbarCreatedMessage != 0 && message == w.taskbarCreatedMessage) {
    OnTaskbarCreated(w);
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      return OnCreate(w);
    case WM_SIZE:
      OnSize(w, static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      OnPaint(w);
      return 0;
    case WM_TIMER:
      OnTimer(w, wParam);
      return 0;
    case WM_COMMAND:
      return OnCommand(w, wParam, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return OnKeyDown(w, message, wParam, lParam);

    case WM_LBUTTONDOWN:
      OnListLButtonDown(w, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnListLButtonUp(w, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      OnListLButtonDblClk(w, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnListMouseMove(w, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      OnListCaptureChanged(w);
      return 0;
    case WM_MOUSEWHEEL:
      OnListMouseWheel(w, wParam, lParam);
      return 0;
    case WM_MOUSEHWHEEL:
      OnListMouseHWheel(w, wParam, lParam);
      return 0;
    case WM_VSCROLL:
      OnListVScroll(w, wParam, reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_HSCROLL:
      OnListHScroll(w, wParam, reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_SETCURSOR:
      return OnListSetCursor(w, wParam, lParam);
    case WM_NOTIFY:
      return OnNotify(w, reinterpret_cast<const NMHDR*>(lParam));
    case WM_MEASUREITEM:
      return OnMeasureItem(w, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM:
      return OnDrawItem(w, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      return OnCtlColor(w, message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_MOUSELEAVE:
      OnMouseLeave(w);
      return 0;
    case WM_RBUTTONUP:
      return OnListRButtonUp(w, wParam, lParam);
    case WM_CONTEXTMENU:
      return OnListContextMenu(w, wParam, lParam);
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
      return OnShellMenuMessage(w, message, wParam, lParam);

    case WMU_INDEX_READY:
      OnIndexReady(w, wParam);
      return 0;
    case WMU_SEARCH_RESULTS:
      OnSearchResults(w, wParam, lParam);
      return 0;
    case WMU_STATUS_TEXT:
      OnStatusTextMessage(w, wParam, lParam);
      return 0;
    case WMU_FILTER_RESULTS:
      OnFilterResults(w);
      return 0;
    case WMU_RECENT_LOADED:
      OnRecentLoaded(w);
      return 0;
    case WMU_HYDRATION_DONE:
      OnHydrationDone(w, wParam);
      return 0;
    case WMU_NONNTFS_REFRESHED:
      OnNonNtfsRefreshed(w, wParam, lParam);
      return 0;
    case WMU_VOLUME_LOST:
      OnVolumeLost(w);
      return 0;
    case WMU_VOLUMES_SYNCED:
      OnVolumesSynced(w);
      return 0;
    case WMU_TRAY_CALLBACK:
      OnTrayCallback(w, lParam);
      return 0;
    case WMU_APP_STATUS_TEXT:
      OnAppStatusText(w, lParam);
      return 0;
    case WMU_APP_SCHEDULE_RETRY:
      OnScheduleSearchRetry(w, wParam);
      return 0;

    case WM_DEVICECHANGE:
      return OnDeviceChange(w, wParam, lParam);
    case WM_POWERBROADCAST:
      return OnPowerBroadcast(w, wParam, lParam);
    case WM_DPICHANGED:
      OnDpiChanged(w, wParam, reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DISPLAYCHANGE:
      OnDisplayChange(w);
      return 0;

    case WM_HOTKEY:
      OnHotkey(w, wParam, lParam);
      return 0;
    case WM_SYSCOMMAND:
      return OnSysCommand(w, wParam, lParam);
    case WM_CLOSE:
      OnClose(w);
      return 0;
    case WM_ACTIVATE:
      return OnActivate(w, wParam, lParam);
    case WM_ENDSESSION:
      OnEndSession(w, wParam != FALSE);
      return 0;
    case WM_DESTROY:
      OnDestroy(w);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // The state comes with CreateWindowExW and lives until WM_NCDESTROY.
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* state = static_cast<MainWindow*>(create->lpCreateParams);
    state->hwnd = window;
    t_unclaimed = nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  MainWindow* w = MainWindowOf(window);
  if (w == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    delete w;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return Dispatch(*w, message, wParam, lParam);
}

bool RegisterMainWindowClass(HINSTANCE instance, HBRUSH background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(104), IMAGE_ICON, 32, 32, 0));
  if (wc.hIcon == nullptr) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(104), IMAGE_ICON, 16, 16, 0));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateMainWindow(AppState& state) {
  auto* w = new MainWindow(state);
  t_unclaimed = w;
  const int width = state.window.width;
  const int height = state.window.height;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  const std::u16string title = Translate(u"Status_InitializingSimple", u"初始化中...", u"Initializing...");
  const HWND window =
      CreateWindowExW(WS_EX_COMPOSITED, kMainWindowClass, W(title), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, left, top,
                      width, height, nullptr, nullptr, state.instance, w);
  // A window that took the state frees it at WM_NCDESTROY, even when its
  // creation failed later on; otherwise it is still ours.
  if (t_unclaimed == w) delete w;
  t_unclaimed = nullptr;
  return window;
}

}  // namespace quillmor
