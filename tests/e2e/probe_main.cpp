// quillmor-probe: looks at and pokes a running Quillmor.exe from outside, for
// the end-to-end run, where the X server cannot see into Wine's windows.
// Every command prints what it saw on one line and exits 0 when the thing it
// waits for or checks holds, 1 when it does not, 2 on bad usage.
//
//   quillmor-probe state                       the main window's state
//   quillmor-probe wait-window MS              until a main window exists
//   quillmor-probe wait-ready MS VOLUMES       until the search box is enabled and
//                                              the scope box lists VOLUMES drives
//   quillmor-probe wait-visible MS | wait-hidden MS | wait-gone MS
//   quillmor-probe wait-foreground MS          until the main window is in front
//   quillmor-probe point search|header         a screen point to click
//   quillmor-probe point row N                 the Name cell of result row N
//   quillmor-probe rect                        the window's place: X Y WIDTH HEIGHT
//   quillmor-probe wait-search QUERY COUNT MS  until the search box holds QUERY and
//                                              the title reports COUNT results (any
//                                              new count for "any"); also prints the
//                                              time from one to the other
//   quillmor-probe wait-count COUNT MS         until the title reports COUNT results
//   quillmor-probe answers MS                  the window's thread takes a message
//   quillmor-probe dragging                    a drag and drop runs: the window's
//                                              thread captured the mouse for
//                                              another window than the main one
//   quillmor-probe close                       post WM_CLOSE
//   quillmor-probe close-button                the title bar's close (WM_SYSCOMMAND SC_CLOSE)
//   quillmor-probe exit                        the notification menu's "Exit"
//   quillmor-probe command ID                  post WM_COMMAND ID (a menu command)
//   quillmor-probe post MSG WPARAM LPARAM      post any message (numbers)
//   quillmor-probe gui-counts                  the process's GDI and USER objects
//   quillmor-probe leak-check N QA CA QB CB [TOLERANCE]
//   quillmor-probe tray-icons [COUNT]          the notification icons (exactly COUNT)
//   quillmor-probe tray-icon-point             the centre of the first icon
//   quillmor-probe wait-tooltip TEXT MS        until a tooltip shows TEXT
//   quillmor-probe taskbar-created             broadcast "TaskbarCreated", as a
//                                              restarted shell does
//   quillmor-probe wait-menu MS                until Quillmor shows a popup menu;
//                                              prints a point in its last item
//   quillmor-probe message-box MS              until Quillmor shows a message box;
//                                              prints its title and text and
//                                              answers it with OK
//   quillmor-probe close-window TEXT MS        until another program shows a window
//                                              whose title has TEXT; closes it
//   quillmor-probe windows                     every window, for a failed run
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/core/window_ids.h"
#include "tests/e2e/gui_object_counts.h"
#include "tests/e2e/leak_workload.h"
#include "tests/e2e/main_window_probe.h"
#include "tests/e2e/tray_probe.h"

namespace quillmor::e2e {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kHeld = 0;
constexpr int kNotHeld = 1;
constexpr int kUsage = 2;
constexpr WORD kCommandExit = 20002;  // the notification menu's "Exit"

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Polls `holds` every `period` until it is true or `timeout` has passed.
bool WaitFor(std::chrono::milliseconds timeout, const std::function<bool()>& holds,
             std::chrono::milliseconds period = 10ms) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (holds()) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(period);
  }
}

// The wall-clock time in seconds since 1970, which the shell's `date` shares.
double UnixSeconds() {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  const uint64_t ticks = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<double>(ticks - 116444736000000000ULL) / 1e7;
}

// Which of the main window's windows has the keyboard focus.
const char* FocusName(HWND main) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) || info.hwndFocus == nullptr) return "none";
  if (info.hwndFocus == main) return "main";
  if (info.hwndFocus == GetDlgItem(main, kIdSearchEdit)) return "search";
  return "other";
}

void PrintState(HWND main) {
  if (main == nullptr) {
    std::printf("found=0 windows=0\n");
    return;
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(main, &processId);
  const auto search = ControlText(GetDlgItem(main, kIdSearchEdit));
  std::printf("found=1 windows=%d pid=%lu visible=%d iconic=%d foreground=%d focus=%s title='%s' search='%s'\n",
              CountMainWindows(), processId, IsWindowVisible(main) ? 1 : 0, IsIconic(main) ? 1 : 0,
              GetForegroundWindow() == main ? 1 : 0, FocusName(main), Utf8(TitleOf(main)).c_str(),
              search ? Utf8(*search).c_str() : "(no answer)");
}

int Verdict(bool held, HWND main) {
  PrintState(main);
  return held ? kHeld : kNotHeld;
}

int WaitForState(std::chrono::milliseconds timeout, const std::function<bool(HWND)>& holds) {
  HWND main = nullptr;
  const bool held = WaitFor(timeout, [&] {
    main = FindMainWindow();
    return holds(main);
  });
  return Verdict(held, main);
}

int WaitReady(std::chrono::milliseconds timeout, size_t volumes) {
  HWND main = nullptr;
  std::vector<std::wstring> scope;
  const bool held = WaitFor(timeout, [&] {
    main = FindMainWindow();
    const HWND box = main != nullptr ? GetDlgItem(main, kIdSearchEdit) : nullptr;
    if (box == nullptr || !IsWindowEnabled(box)) return false;
    scope = ComboEntries(GetDlgItem(main, kIdScopeBox));
    return scope.size() >= 2 + volumes;  // "ALL", "Desktop", then the drives
  });
  std::string entries;
  for (const std::wstring& e : scope) entries += (entries.empty() ? "" : " | ") + Utf8(e);
  std::printf("scope: %s\n", entries.c_str());
  return Verdict(held, main);
}

int WaitSearch(const std::wstring& query, long long count, std::chrono::milliseconds timeout) {
  const HWND main = FindMainWindow();
  const HWND box = main != nullptr ? GetDlgItem(main, kIdSearchEdit) : nullptr;
  if (box == nullptr) return Verdict(false, main);
  std::printf("watching\n");
  std::fflush(stdout);

  // The moment the search box holds the whole query is when the program got
  // the last keystroke; the search starts 260 ms later.
  Clock::time_point typed;
  const bool complete = WaitFor(
      timeout,
      [&] {
        const auto text = ControlText(box);
        if (!text || *text != query) return false;
        typed = Clock::now();
        return true;
      },
      1ms);
  if (!complete) {
    const auto text = ControlText(box);
    std::printf("the search box holds '%s', not '%s'\n", text ? Utf8(*text).c_str() : "(no answer)",
                Utf8(query).c_str());
    return Verdict(false, main);
  }
  // The search's own title comes first; the filter pass's follows at once
  // and is the last word, but the count is the same in both. Without a
  // count, any new final title will do.
  const std::wstring before = TitleOf(main);
  double searchTitleMs = -1, filterTitleMs = -1, finalAt = 0;
  const auto watchTitles = [&] {
    const std::wstring title = TitleOf(main);
    if (count >= 0 ? !IsFinalTitleFor(title, count) : title == before || FinalTitleCount(title) < 0) return false;
    const bool filter = title.rfind(L"Quillmor - Filter:", 0) == 0;
    double& seen = filter ? filterTitleMs : searchTitleMs;
    if (seen < 0) {
      seen = MillisecondsSince(typed);
      finalAt = UnixSeconds();
    }
    return filter;
  };
  const bool held = WaitFor(
      timeout, [&] { return watchTitles() || searchTitleMs >= 0; }, 1ms);
  if (held && filterTitleMs < 0) WaitFor(2s, watchTitles, 1ms);
  std::printf("keystroke_to_results_title_ms=%.0f keystroke_to_final_title_ms=%.0f final_title_at=%.3f\n",
              searchTitleMs, filterTitleMs >= 0 ? filterTitleMs : searchTitleMs, finalAt);
  return Verdict(held, main);
}

int PrintPoint(const std::string& what, int row) {
  const HWND main = FindMainWindow();
  if (main == nullptr) return Verdict(false, main);
  std::optional<ScreenPoint> point;
  if (what == "search") point = CentreOf(GetDlgItem(main, kIdSearchEdit));
  if (what == "header") point = NameHeaderPoint(main);
  if (what == "row") point = RowPoint(main, row);
  if (!point) return kUsage;
  std::printf("%d %d\n", point->x, point->y);
  return kHeld;
}

int PrintRect() {
  const HWND main = FindMainWindow();
  RECT r{};
  if (main == nullptr || !GetWindowRect(main, &r)) return Verdict(false, main);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return kHeld;
}

int Dragging() {
  const HWND main = FindMainWindow();
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = main != nullptr ? GetWindowThreadProcessId(main, nullptr) : 0;
  const bool dragging =
      thread != 0 && GetGUIThreadInfo(thread, &info) && info.hwndCapture != nullptr && info.hwndCapture != main;
  return Verdict(dragging, main);
}

int Post(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND main = FindMainWindow();
  const bool posted = main != nullptr && PostMessageW(main, message, wParam, lParam);
  return Verdict(posted, main);
}

int PrintGuiCounts() {
  const HWND main = FindMainWindow();
  DWORD processId = 0;
  if (main != nullptr) GetWindowThreadProcessId(main, &processId);
  const GuiObjectCounts c = CountGuiObjects(processId);
  std::printf("gdi=%ld user=%ld how=%s\n", c.gdi, c.user, c.how.c_str());
  return c.gdi >= 0 && c.user >= 0 ? kHeld : kNotHeld;
}

DWORD MainProcess() {
  DWORD processId = 0;
  if (const HWND main = FindMainWindow()) GetWindowThreadProcessId(main, &processId);
  return processId;
}

int TrayIcons(long expected) {
  const long icons = TrayIconCount();
  std::printf("icons=%ld\n", icons);
  return expected < 0 ? (icons > 0 ? kHeld : kNotHeld) : (icons == expected ? kHeld : kNotHeld);
}

int PrintTrayIconPoint() {
  const std::optional<POINT> point = TrayIconPoint();
  if (!point) return kNotHeld;
  std::printf("%ld %ld\n", point->x, point->y);
  return kHeld;
}

int WaitTooltip(const std::wstring& text, std::chrono::milliseconds timeout) {
  std::wstring seen;
  const bool held = WaitFor(timeout, [&] {
    const std::optional<std::wstring> tip = VisibleTooltipText();
    if (tip) seen = *tip;
    return tip && *tip == text;
  });
  std::printf("tooltip='%s'\n", Utf8(seen).c_str());
  return held ? kHeld : kNotHeld;
}

int WaitMenu(std::chrono::milliseconds timeout) {
  HWND menu = nullptr;
  const bool held = WaitFor(timeout, [&] { return (menu = FindPopupMenu(MainProcess())) != nullptr; });
  if (!held) {
    std::printf("no menu\n");
    return kNotHeld;
  }
  RECT r{};
  GetWindowRect(menu, &r);
  // The last item ends a few pixels above the menu's bottom edge.
  std::printf("%ld %ld\n", (r.left + r.right) / 2, r.bottom - 8);
  std::fprintf(stderr, "menu at %ld,%ld-%ld,%ld\n", r.left, r.top, r.right, r.bottom);
  return kHeld;
}

int AnswerMessageBox(std::chrono::milliseconds timeout) {
  HWND box = nullptr;
  const bool held = WaitFor(timeout, [&] { return (box = FindDialog(MainProcess())) != nullptr; });
  if (!held) {
    std::printf("no message box\n");
    return kNotHeld;
  }
  std::wstring text = DialogText(box);
  for (wchar_t& c : text) {
    if (c == L'\n' || c == L'\r') c = L' ';
  }
  std::printf("title='%s' text='%s'\n", Utf8(TitleOf(box)).c_str(), Utf8(text).c_str());
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  WaitFor(10s, [&] { return !IsWindow(box) || !IsWindowVisible(box); });
  return kHeld;
}

int CloseWindowTitled(const std::wstring& text, std::chrono::milliseconds timeout) {
  HWND window = nullptr;
  const DWORD quillmor = MainProcess();
  if (!WaitFor(timeout, [&] { return (window = FindWindowTitled(text, quillmor)) != nullptr; })) {
    std::printf("no window titled '%s'\n", Utf8(text).c_str());
    return kNotHeld;
  }
  std::printf("window title='%s'\n", Utf8(TitleOf(window)).c_str());
  PostMessageW(window, WM_CLOSE, 0, 0);
  WaitFor(10s, [&] { return !IsWindow(window) || !IsWindowVisible(window); });
  return kHeld;
}

int BroadcastTaskbarCreated() {
  const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  const bool posted = message != 0 && PostMessageW(HWND_BROADCAST, message, 0, 0);
  return Verdict(posted, FindMainWindow());
}

std::chrono::milliseconds Ms(const wchar_t* text) { return std::chrono::milliseconds(_wtoi(text)); }

int Run(int argc, wchar_t** argv) {
  if (argc < 2) return kUsage;
  const std::wstring command = argv[1];
  const auto arg = [&](int i) { return i < argc ? argv[i] : L"0"; };
  if (command == L"state") return Verdict(FindMainWindow() != nullptr, FindMainWindow());
  if (command == L"wait-window") return WaitForState(Ms(arg(2)), [](HWND w) { return w != nullptr; });
  if (command == L"wait-visible") return WaitForState(Ms(arg(2)), [](HWND w) { return w && IsWindowVisible(w); });
  if (command == L"wait-hidden") return WaitForState(Ms(arg(2)), [](HWND w) { return w && !IsWindowVisible(w); });
  if (command == L"wait-gone") return WaitForState(Ms(arg(2)), [](HWND w) { return w == nullptr; });
  if (command == L"wait-foreground") {
    return WaitForState(Ms(arg(2)), [](HWND w) { return w && IsWindowVisible(w) && GetForegroundWindow() == w; });
  }
  if (command == L"wait-ready") return WaitReady(Ms(arg(2)), static_cast<size_t>(_wtoi(arg(3))));
  if (command == L"wait-search" && argc >= 5) {
    const long long count = std::wstring(argv[3]) == L"any" ? -1 : _wtoi64(argv[3]);
    return WaitSearch(argv[2], count, Ms(argv[4]));
  }
  if (command == L"wait-count" && argc >= 4) {
    const long long count = _wtoi64(argv[2]);
    return WaitForState(Ms(argv[3]), [count](HWND w) { return w && IsFinalTitleFor(TitleOf(w), count); });
  }
  if (command == L"point" && argc >= 3) return PrintPoint(Utf8(argv[2]), _wtoi(arg(3)));
  if (command == L"rect") return PrintRect();
  if (command == L"answers") {
    const HWND main = FindMainWindow();
    return Verdict(main != nullptr && Answers(main, Ms(arg(2))), main);
  }
  if (command == L"dragging") return Dragging();
  if (command == L"close") return Post(WM_CLOSE, 0, 0);
  if (command == L"close-button") return Post(WM_SYSCOMMAND, SC_CLOSE, 0);
  if (command == L"exit") return Post(WM_COMMAND, MAKEWPARAM(kCommandExit, 0), 0);
  if (command == L"command" && argc >= 3) return Post(WM_COMMAND, MAKEWPARAM(_wtoi(argv[2]), 0), 0);
  if (command == L"post" && argc >= 5) return Post(_wtoi(argv[2]), _wtoi64(argv[3]), _wtoi64(argv[4]));
  if (command == L"gui-counts") return PrintGuiCounts();
  if (command == L"tray-icons") return TrayIcons(argc >= 3 ? _wtoi(argv[2]) : -1);
  if (command == L"tray-icon-point") return PrintTrayIconPoint();
  if (command == L"wait-tooltip" && argc >= 4) return WaitTooltip(argv[2], Ms(argv[3]));
  if (command == L"taskbar-created") return BroadcastTaskbarCreated();
  if (command == L"wait-menu") return WaitMenu(Ms(arg(2)));
  if (command == L"message-box") return AnswerMessageBox(Ms(arg(2)));
  if (command == L"close-window" && argc >= 4) return CloseWindowTitled(argv[2], Ms(argv[3]));
  if (command == L"windows") {
    PrintWindows();
    return kHeld;
  }
  if (command == L"leak-check" && argc >= 7) {
    LeakWorkload w{_wtoi(argv[2]), argv[3], _wtoi64(argv[4]), argv[5], _wtoi64(argv[6])};
    if (argc >= 8) w.tolerance = _wtol(argv[7]);
    const HWND main = FindMainWindow();
    return main != nullptr && RunLeakCheck(main, w) ? kHeld : kNotHeld;
  }
  return kUsage;
}

}  // namespace
}  // namespace quillmor::e2e

int wmain(int argc, wchar_t** argv) {
  const int result = quillmor::e2e::Run(argc, argv);
  if (result == 2) std::printf("quillmor-probe: bad usage; see the top of probe_main.cpp\n");
  std::fflush(stdout);
  return result;
}
