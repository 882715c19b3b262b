#include "tests/e2e/leak_workload.h"

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "app/core/window_ids.h"
#include "tests/e2e/gui_object_counts.h"
#include "tests/e2e/main_window_probe.h"

namespace quillmor::e2e {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Menu commands the workload sends as WM_COMMAND, as the menus do.
constexpr WORD kCommandViewList = 10018;  // 10019 small icons, 10020 large icons
constexpr WORD kCommandThemeToggle = 20024;
constexpr auto kSearchTimeout = 30s;
constexpr auto kSettleTimeout = 20s;

struct Target {
  HWND main;
  HWND searchBox;
  HWND listScrollBar;
  DWORD processId = 0;
};

// Types the query into the search box and presses Enter (which searches at
// once instead of after the typing delay); true when the title then reports
// `count` results.
bool Search(const Target& t, const std::wstring& query, long long count) {
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(t.searchBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(query.c_str()), SMTO_ABORTIFHUNG, 5000,
                           &ignored)) {
    return false;
  }
  PostMessageW(t.searchBox, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  const auto deadline = Clock::now() + kSearchTimeout;
  while (Clock::now() < deadline) {
    if (IsFinalTitleFor(TitleOf(t.main), count)) return true;
    std::this_thread::sleep_for(2ms);
  }
  return false;
}

struct Posted {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A page down and back by scroll bar, and a turn of the wheel over the list.
std::vector<Posted> ScrollMessages(const Target& t) {
  const LPARAM bar = reinterpret_cast<LPARAM>(t.listScrollBar);
  RECT r{};
  GetWindowRect(t.main, &r);
  const LPARAM overList = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2 + 100);
  return {{WM_VSCROLL, SB_PAGEDOWN, bar},
          {WM_VSCROLL, SB_LINEDOWN, bar},
          {WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), overList},
          {WM_VSCROLL, SB_TOP, bar}};
}

void Scroll(const Target& t) {
  for (const Posted& p : ScrollMessages(t)) PostMessageW(t.main, p.message, p.wParam, p.lParam);
}

void Command(const Target& t, WORD id) { PostMessageW(t.main, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

// One step of the workload: a search, scrolls, the next view mode and a
// theme switch (an even number of steps ends in the theme it began with).
bool Step(const Target& t, const LeakWorkload& w, int i) {
  const bool a = i % 2 == 0;
  if (!Search(t, a ? w.queryA : w.queryB, a ? w.countA : w.countB)) {
    std::printf("leak-check: search %d (%s) never reported %lld results; title '%s'\n", i,
                Utf8(a ? w.queryA : w.queryB).c_str(), a ? w.countA : w.countB, Utf8(TitleOf(t.main)).c_str());
    return false;
  }
  Scroll(t);
  Command(t, static_cast<WORD>(kCommandViewList + (i % 3)));
  Command(t, kCommandThemeToggle);
  return true;
}

// The icon cache keeps one icon per path drawn (up to 2048), and which rows
// a frame draws depends on how the posted scrolls and the paints interleave.
// So that the measured steps meet a full cache, every row they can bring on
// screen is drawn first: line by line over the first pages of both queries in
// each view mode, each position painted at once.
bool DrawEveryReachableRow(const Target& t, const LeakWorkload& w) {
  constexpr int kLines = 40;  // a page, a line and a wheel notch, with room
  const LPARAM bar = reinterpret_cast<LPARAM>(t.listScrollBar);
  for (int query = 0; query < 2; ++query) {
    if (!Search(t, query == 0 ? w.queryA : w.queryB, query == 0 ? w.countA : w.countB)) return false;
    for (WORD mode = 0; mode < 3; ++mode) {
      Command(t, static_cast<WORD>(kCommandViewList + mode));
      PostMessageW(t.main, WM_VSCROLL, SB_TOP, bar);
      for (int line = 0; line <= kLines; ++line) {
        if (!Answers(t.main, 5s)) return false;
        RedrawWindow(t.main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PostMessageW(t.main, WM_VSCROLL, SB_LINEDOWN, bar);
      }
    }
  }
  Command(t, kCommandViewList);
  return true;
}

// Counts once they hold still: painting, icon loading and the other work
// that follows a search come and go.
GuiObjectCounts SettledCounts(const Target& t) {
  GuiObjectCounts last = CountGuiObjects(t.processId);
  const auto deadline = Clock::now() + kSettleTimeout;
  while (Clock::now() < deadline) {
    std::this_thread::sleep_for(400ms);
    Answers(t.main, 5s);
    const GuiObjectCounts now = CountGuiObjects(t.processId);
    if (now.gdi == last.gdi && now.user == last.user) return now;
    last = now;
  }
  return last;
}

// The icon views keep the icons of the rows they showed (a cache of up to
// 2048), loaded whenever scrolling settles. The steps go too fast for that
// to happen at a given place, so which rows they leave icons for varies:
// here every query, view mode and place the steps scroll to is shown until
// its icons are in, so that the cache already holds what the steps can add.
bool FillIconCache(const Target& t, const LeakWorkload& w) {
  for (const bool a : {true, false}) {
    if (!Search(t, a ? w.queryA : w.queryB, a ? w.countA : w.countB)) return false;
    for (WORD view = 0; view < 3; ++view) {
      Command(t, static_cast<WORD>(kCommandViewList + view));
      SettledCounts(t);
      // The last message scrolls back to the top, settled above.
      const std::vector<Posted> scroll = ScrollMessages(t);
      for (size_t i = 0; i < scroll.size(); ++i) {
        PostMessageW(t.main, scroll[i].message, scroll[i].wParam, scroll[i].lParam);
        if (i + 1 < scroll.size()) SettledCounts(t);
      }
    }
  }
  return true;
}

}  // namespace

bool RunLeakCheck(HWND main, const LeakWorkload& w) {
  Target t{main, GetDlgItem(main, kIdSearchEdit), GetDlgItem(main, kIdListVScroll)};
  GetWindowThreadProcessId(main, &t.processId);
  if (t.searchBox == nullptr || t.processId == 0) {
    std::printf("leak-check: no search box\n");
    return false;
  }

  // A first round fills what is meant to stay (fonts, brushes, cached icons)
  // and ends where the measured steps end: list view, the starting theme.
  if (!FillIconCache(t, w)) return false;
  for (int i = 0; i < 6; ++i) {
    if (!Step(t, w, i)) return false;
  }
  if (!DrawEveryReachableRow(t, w)) return false;
  Command(t, kCommandViewList);
  if (!Search(t, w.queryA, w.countA)) return false;
  const GuiObjectCounts before = SettledCounts(t);

  const auto start = Clock::now();
  for (int i = 0; i < w.searches; ++i) {
    if (!Step(t, w, i)) return false;
  }
  Command(t, kCommandViewList);
  if (!Search(t, w.queryA, w.countA)) return false;
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const GuiObjectCounts after = SettledCounts(t);

  std::printf("leak-check: %d searches with scrolls, view and theme switches in %.1f s; counted by %s\n", w.searches,
              seconds, after.how.c_str());
  std::printf("leak-check: GDI objects %ld -> %ld, USER objects %ld -> %ld (tolerance %ld)\n", before.gdi, after.gdi,
              before.user, after.user, w.tolerance);
  if (before.gdi < 0 || before.user < 0 || after.gdi < 0 || after.user < 0) {
    std::printf("leak-check: the objects could not be counted\n");
    return false;
  }
  return after.gdi - before.gdi <= w.tolerance && after.user - before.user <= w.tolerance;
}

}  // namespace quillmor::e2e
