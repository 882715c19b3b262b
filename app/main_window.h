// The main window (class MARLOWEWND): its state and its window procedure.
// WndProc only dispatches; the handlers live in files by topic
// (main_window_*.cpp, list_*.cpp, ...), and what needs no Win32 is decided in
// app/core.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/file_ops_state.h"
#include "app/fonts.h"
#include "app/list_state.h"
#include "app/theme.h"
#include "app/tray_state.h"
#include "app/window_view_state.h"
#include "search/search_session.h"
#include "settings/dpi_scale.h"

namespace quillmor {

inline constexpr wchar_t kMainWindowClass[] = L"MARLOWEWND";

// The child controls (null until created).
struct MainWindowControls {
  HWND searchEdit = nullptr;
  HWND statusLine = nullptr;
  HWND scopeBox = nullptr;
  HWND sizePreset = nullptr;
  HWND timePreset = nullptr;
  HWND customSize = nullptr;
  HWND sizeUnit = nullptr;
  HWND dateFrom = nullptr;
  HWND dateTo = nullptr;
  HWND listVScroll = nullptr;
  HWND listHScroll = nullptr;
  HWND sidebarScroll = nullptr;
  HWND tooltip = nullptr;
  std::vector<HWND> tagButtons;
};

// The off-screen bitmap every frame is drawn into.
struct BackBuffer {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;  // the DC's bitmap before ours was selected
  int width = 0;
  int height = 0;
};

// Flags other threads read or that timers consume once per request.
struct PendingFlags {
  std::atomic<bool> filterBarRefresh{false};
  std::atomic<bool> listRepaint{false};
  std::atomic<bool> deferredWarmup{false};
};

struct MainWindow {
  explicit MainWindow(AppState& state);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  AppState& app;
  Env& env;
  HWND hwnd = nullptr;
  MainWindowControls controls;
  WindowViewState& view;   // app.view
  SearchSession& session;  // app.session

  uint32_t dpi = 96;
  int clientWidth = 0;
  int clientHeight = 0;
  int sidebarWidth = 200;  // pixels at `dpi`
  int listTop = 0;         // where the list (its header) begins
  BackBuffer backBuffer;
  Fonts fonts;
  Theme theme;
  ListState list;
  TrayState tray;
  FileOpsState fileOps;
  UINT taskbarCreatedMessage = 0;

  // Closing and showing.
  bool exitRequested = false;
  bool closeFromSystemCommand = false;
  bool everShown = false;
  bool trayIconPresent = false;
  bool rebuildingScopeBox = false;
  // The drive of each volume entry of the scope box, in its order.
  std::vector<std::u16string> scopeDrives;
  PendingFlags pending;
  struct {
    bool active = false;
    int target = 0;  // 0 the show/hide hotkey, 1 the foreground-application one
    std::u16string savedTitle;
  } hotkeyCapture;

  // The query as the search box last gave it (at most 255 characters).
  std::u16string queryText;

  // The filter bar and the inputs as drawn: the input and the tag under the
  // mouse (null, -1 when none) and how far the sidebar's tags are scrolled.
  HWND hotInput = nullptr;
  int32_t hotTag = -1;
  int32_t sidebarScroll = 0;  // pixels at `dpi`
};

// A measure given at 96 DPI, in pixels at the window's DPI.
inline int32_t Scaled(const MainWindow& w, int32_t pixels96) {
  return ScaleFrom96(pixels96, static_cast<int32_t>(w.dpi));
}

// The main window's state, or null for any other window (and before
// WM_NCCREATE has stored it).
MainWindow* MainWindowOf(HWND window);

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers MARLOWEWND with the background brush of the theme. False when it
// fails (and it was not registered before).
bool RegisterMainWindowClass(HINSTANCE instance, HBRUSH background);

// CreateWindowExW of the main window over `state`, centred on the primary
// screen at the size of `state.window`; WM_CREATE builds the children and
// starts the engine. The MainWindow lives until WM_NCDESTROY. Null on failure.
HWND CreateMainWindow(AppState& state);

}  // namespace quillmor
