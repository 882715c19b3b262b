// The result list's menu as the window opens it, its commands, the shell's
// context menu, the file actions' shell calls and the key table's focus
// conditions, in the real window.
#include <functional>

#include "app/core/command_ids.h"
#include "app/core/window_ids.h"
#include "app/shell_context_menu.h"
#include "search/filters_file.h"
#include "search/size_time_filter.h"
#include "tests/app/win32/file_ops_fixture.h"

namespace quillmor {
namespace {

struct MenuItem {
  UINT id = 0;
  std::u16string text;
  bool grayed = false;
  bool checked = false;
  bool separator = false;
  std::vector<MenuItem> children;
};

std::vector<MenuItem> ReadMenu(HMENU menu) {
  std::vector<MenuItem> items;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = L"";
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 256;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    MenuItem item;
    item.id = info.wID;
    item.text = win32::FromWide(text);
    item.grayed = (info.fState & MFS_GRAYED) != 0;
    item.checked = (info.fState & MFS_CHECKED) != 0;
    item.separator = (info.fType & MFT_SEPARATOR) != 0;
    if (info.hSubMenu != nullptr) item.children = ReadMenu(info.hSubMenu);
    items.push_back(std::move(item));
  }
  return items;
}

const MenuItem* FindItem(const std::vector<MenuItem>& items, UINT id) {
  for (const MenuItem& item : items) {
    if (item.id == id && item.children.empty()) return &item;
    if (const MenuItem* inner = FindItem(item.children, id)) return inner;
  }
  return nullptr;
}

// While a popup menu of this thread is open (the menu's own loop runs the
// timer), `look` sees it; then the menu closes as Escape would close it.
struct MenuWatch {
  std::function<void(HMENU)> look;
  bool seen = false;
  RECT where{};  // the open menu's window, in screen coordinates
};
MenuWatch* g_watch = nullptr;

void CALLBACK LookAtOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND popup = nullptr;
  while ((popup = FindWindowExW(nullptr, popup, L"#32768", nullptr)) != nullptr) {
    if (IsWindowVisible(popup) && GetWindowThreadProcessId(popup, nullptr) == GetCurrentThreadId()) break;
  }
  if (popup == nullptr || g_watch == nullptr) return;  // not open yet
  KillTimer(nullptr, timer);
  g_watch->seen = true;
  GetWindowRect(popup, &g_watch->where);
  if (g_watch->look) g_watch->look(reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)));
  EndMenu();
}

class ListCommandsTest : public FileOpsFixture {
 protected:
  // Runs `open` (which opens a menu and returns once it closed) with `look`
  // called on the open menu; false when no menu opened.
  // `where` receives the menu's window rectangle on the screen.
  bool WithOpenMenu(const std::function<void()>& open, std::function<void(HMENU)> look, RECT* where = nullptr) {
    MenuWatch watch{std::move(look)};
    g_watch = &watch;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, LookAtOpenMenu);
    open();
    KillTimer(nullptr, timer);
    g_watch = nullptr;
    if (where != nullptr) *where = watch.where;
    return watch.seen;
  }
  void RightClick(POINT at) {
    POINT screen = at;
    ClientToScreen(hwnd, &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(hwnd, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }
  std::string WindowIni() { return memory.Contents(ConfigPath(u"window.ini")).value_or(""); }
};

TEST_F(ListCommandsTest, ARightClickOnARowFocusesItAndEnablesTheItemCommands) {
  NumberedFiles(5);
  ASSERT_EQ(OpenAndSearch(u"file-"), 5);
  Click(CellCentre(0, kColumnSize));
  Click(CellCentre(1, kColumnSize), MK_CONTROL);
  std::vector<MenuItem> menu;
  // On a selected row the selection stays; the row is focused.
  ASSERT_TRUE(
      WithOpenMenu([&] { RightClick(CellCentre(0, kColumnSize)); }, [&](HMENU open) { menu = ReadMenu(open); }));
  EXPECT_EQ(Selected(), (std::vector<int64_t>{0, 1}));
  EXPECT_EQ(Window().list.selection.Focused(), 0);
  ASSERT_EQ(menu.size(), 26u);
  EXPECT_EQ(menu[0].text, u"Open");
  EXPECT_EQ(menu[25].text, u"Reset Filter Tags to Defaults");
  for (const UINT id : {10001, 10009, 10010, 10002, 10005, 10004, 10014, 10013, 10003, 10026, 10006}) {
    ASSERT_NE(FindItem(menu, id), nullptr) << id;
    EXPECT_FALSE(FindItem(menu, id)->grayed) << id;
  }
  EXPECT_TRUE(FindItem(menu, 10018)->checked);  // the list view

  // On a row that is not selected it becomes the only selection.
  ASSERT_TRUE(WithOpenMenu([&] { RightClick(CellCentre(3, kColumnPath)); }, nullptr));
  EXPECT_EQ(Selected(), (std::vector<int64_t>{3}));
  EXPECT_EQ(Window().list.selection.Focused(), 3);
}

TEST_F(ListCommandsTest, ARightClickBelowTheRowsGreysTheItemCommandsAndTheRestStillWorks) {
  NumberedFiles(3);
  ASSERT_EQ(OpenAndSearch(u"file-"), 3);
  SetTheme(Window(), true);  // the dark theme draws the items itself
  std::vector<MenuItem> menu;
  ASSERT_TRUE(
      WithOpenMenu([&] { RightClick(CellCentre(6, kColumnSize)); }, [&](HMENU open) { menu = ReadMenu(open); }));
  for (const UINT id : {10001, 10009, 10010, 10002, 10005, 10004, 10014, 10013, 10003, 10026, 10006}) {
    EXPECT_TRUE(FindItem(menu, id)->grayed) << id;
  }
  for (const UINT id : {10015, 10018, 10021, 10011, 10016, 10017, 10027, 10028, 10007, 10008}) {
    EXPECT_FALSE(FindItem(menu, id)->grayed) << id;
  }
  EXPECT_TRUE(FindItem(menu, 10016)->checked);  // the sidebar layout
  EXPECT_FALSE(FindItem(menu, 10017)->checked);
  EXPECT_FALSE(FindItem(menu, 10027)->checked);
  EXPECT_TRUE(FindItem(menu, 10028)->checked);

  // The view, layout and toggles work and show as checked the next time.
  SendMessageW(hwnd, WM_COMMAND, kCommandViewLargeIcons, 0);
  EXPECT_EQ(Window().list.viewMode, 2);
  EXPECT_NE(WindowIni().find("viewMode=2"), std::string::npos);
  SendMessageW(hwnd, WM_COMMAND, kCommandLayoutTopBar, 0);
  EXPECT_FALSE(state->window.sidebarLayout);
  SendMessageW(hwnd, WM_COMMAND, kCommandGridLines, 0);
  EXPECT_TRUE(state->window.tableGridLines);
  EXPECT_NE(WindowIni().find("tableGridLines=1"), std::string::npos);
  SendMessageW(hwnd, WM_COMMAND, kCommandInitialSearch, 0);
  EXPECT_FALSE(Window().session.initialSearch.load());
  EXPECT_EQ(WindowText(Window().controls.statusLine), u"Initial search disabled.");
  SendMessageW(hwnd, WM_COMMAND, kCommandInitialSearch, 0);
  EXPECT_EQ(WindowText(Window().controls.statusLine), u"Initial search enabled.");
  ASSERT_TRUE(WithOpenMenu(
      [&] {
        RightClick(POINT{Window().clientWidth / 2, Window().clientHeight - 30});
      },
      [&](HMENU open) { menu = ReadMenu(open); }));
  EXPECT_TRUE(FindItem(menu, 10020)->checked);
  EXPECT_FALSE(FindItem(menu, 10018)->checked);
  EXPECT_TRUE(FindItem(menu, 10017)->checked);
  EXPECT_TRUE(FindItem(menu, 10027)->checked);
}

// The menu key and Shift+F10 send the point (-1, -1), which Windows packs as
// MAKELPARAM(-1, -1); -1 as a whole LPARAM is taken the same way.
TEST_F(ListCommandsTest, TheMenuKeyOpensTheMenuAtTheFocusedRow) {
  NumberedFiles(3);
  ASSERT_EQ(OpenAndSearch(u"file-"), 3);
  for (const LPARAM keyboard : {static_cast<LPARAM>(MAKELPARAM(-1, -1)), LPARAM{-1}}) {
    ClearListSelection(Window());
    std::vector<MenuItem> menu;
    const auto menuKey = [&] { SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), keyboard); };
    RECT where{};
    ASSERT_TRUE(WithOpenMenu(
        menuKey, [&](HMENU open) { menu = ReadMenu(open); }, &where))
        << keyboard;
    EXPECT_TRUE(FindItem(menu, kCommandOpen)->grayed) << "no focused row";
    // At the list's top left corner.
    const Rect area = ListArea(Frame());
    POINT corner{area.left, area.top};
    ClientToScreen(hwnd, &corner);
    EXPECT_GE(where.left, corner.x);
    EXPECT_GE(where.top, corner.y);
    EXPECT_LT(where.top, corner.y + 44);

    const POINT cell = CellCentre(1, kColumnSize);
    Click(cell);
    ASSERT_TRUE(WithOpenMenu(
        menuKey, [&](HMENU open) { menu = ReadMenu(open); }, &where))
        << keyboard;
    EXPECT_FALSE(FindItem(menu, kCommandOpen)->grayed);
    // At the middle of the focused row.
    POINT row = cell;
    ClientToScreen(hwnd, &row);
    EXPECT_NEAR(where.top, row.y, 1) << keyboard;
  }
}

TEST_F(ListCommandsTest, ARightClickOutsideTheResultAreaOpensNoMenu) {
  NumberedFiles(3);
  ASSERT_EQ(OpenAndSearch(u"file-"), 3);
  const ListFrame frame = Frame();
  EXPECT_FALSE(WithOpenMenu(
      [&] {
        RightClick(POINT{ListAreaLeft(frame) - 20, frame.listTop + 100});
      },
      nullptr))
      << "the sidebar";
  EXPECT_FALSE(WithOpenMenu(
      [&] {
        RightClick(POINT{ListAreaLeft(frame) + 100, frame.listTop - 5});
      },
      nullptr))
      << "the band above the list";
}

TEST_F(ListCommandsTest, SortCommandsSortByTheirColumnAndTheMenuChecksIt) {
  NumberedFiles(4);
  ASSERT_EQ(OpenAndSearch(u"file-"), 4);
  AllowSortingNow();
  SendMessageW(hwnd, WM_COMMAND, kCommandSortBySize, 0);
  ASSERT_TRUE(PumpUntil([&] { return state->results.sortColumn.load() == kColumnSize; }));
  HMENU menu = CreateListContextMenu(Window(), false);
  const std::vector<MenuItem> items = ReadMenu(menu);
  DestroyMenu(menu);
  EXPECT_TRUE(FindItem(items, kCommandSortBySize)->checked);
  EXPECT_FALSE(FindItem(items, kCommandSortByName)->checked);
}

TEST_F(ListCommandsTest, OpeningRunsTheShellOnEachItemInRowOrderAndRecordsIt) {
  NumberedFiles(5);
  ASSERT_EQ(OpenAndSearch(u"file-"), 5);
  Click(CellCentre(3, kColumnSize));
  Click(CellCentre(1, kColumnSize), MK_CONTROL);
  PressListKey(VK_RETURN);
  const ULONG noUi = SEE_MASK_FLAG_NO_UI;
  EXPECT_EQ(shell.requests, (std::vector<ShellRequest>{{u"open", u"E:\\files\\file-001.txt", u"", true, noUi},
                                                       {u"open", u"E:\\files\\file-003.txt", u"", true, noUi}}));
  const std::vector<RecentOpen> recent = state->recent.Entries();
  ASSERT_EQ(recent.size(), 2u);
  EXPECT_EQ(recent[0].path, u"E:\\files\\file-003.txt");  // the newest first

  // Opening the same file again keeps one entry, at the front.
  Click(CellCentre(4, kColumnSize));
  Click(CellCentre(1, kColumnSize));
  PressListKey(VK_RETURN);
  ASSERT_EQ(state->recent.Entries().size(), 2u);
  EXPECT_EQ(state->recent.Entries()[0].path, u"E:\\files\\file-001.txt");

  // Enter in the search box runs the query instead.
  shell.requests.clear();
  PressKey(Window().controls.searchEdit, VK_RETURN);
  PressKey(Window().controls.customSize, VK_RETURN);
  EXPECT_TRUE(shell.requests.empty());

  // The other shell actions act on the first item.
  Click(CellCentre(2, kColumnSize));
  Click(CellCentre(4, kColumnSize), MK_CONTROL);
  for (const int32_t id : {kCommandOpenContainingFolder, kCommandRunAsAdministrator, kCommandProperties}) {
    SendMessageW(hwnd, WM_COMMAND, id, 0);
  }
  EXPECT_EQ(shell.requests, (std::vector<ShellRequest>{
                                {u"open", u"explorer.exe", u"/select,\"E:\\files\\file-002.txt\"", false, 0},
                                {u"runas", u"E:\\files\\file-002.txt", u"", true, noUi},
                                {u"properties", u"E:\\files\\file-002.txt", u"", true, SEE_MASK_INVOKEIDLIST | noUi},
                            }));
  EXPECT_EQ(state->recent.Entries()[0].path, u"E:\\files\\file-002.txt") << "run as administrator is an open";

  // Without rows to act on nothing is asked of the shell.
  shell.requests.clear();
  Window().list.selection.Clear();
  PressListKey(VK_RETURN);
  EXPECT_TRUE(shell.requests.empty());
}

TEST_F(ListCommandsTest, ClearRecentOpensEmptiesTheListAndItsFile) {
  NumberedFiles(2);
  ASSERT_EQ(OpenAndSearch(u"file-"), 2);
  Click(CellCentre(0, kColumnSize));
  PressListKey(VK_RETURN);
  ASSERT_EQ(state->recent.Entries().size(), 1u);
  SendMessageW(hwnd, WM_COMMAND, kCommandClearRecent, 0);
  EXPECT_TRUE(state->recent.Entries().empty());
  EXPECT_EQ(memory.Contents(ConfigPath(u"recent.ini")).value_or("gone"), "\xEF\xBB\xBF") << "a BOM and no line";
  // With an empty query the recent view (now empty) comes back.
  TypeQuery(u"");
  const uint64_t before = SearchGeneration();
  SendMessageW(hwnd, WM_COMMAND, kCommandClearRecent, 0);
  EXPECT_TRUE(PumpUntil([&] { return SearchGeneration() > before && Settled(); }));
  EXPECT_EQ(Window().list.count, 0);
}

TEST_F(ListCommandsTest, FilterConfigFolderAndTheResetOfTheTags) {
  NumberedFiles(2);
  OpenReady();
  const std::u16string filters = FilterFilePath(appEnv.core);
  memory.DeleteFile(filters);
  SendMessageW(hwnd, WM_COMMAND, kCommandOpenFilterConfig, 0);
  EXPECT_TRUE(memory.Contents(filters).has_value()) << "written with the current tags first";
  ASSERT_EQ(shell.requests.size(), 1u);
  EXPECT_EQ(shell.requests[0], (ShellRequest{u"open", u"explorer.exe", u"/select,\"" + filters + u"\"", false, 0}));
  // When Explorer will not select it, the folder opens.
  shell.answer = false;
  SendMessageW(hwnd, WM_COMMAND, kCommandOpenFilterConfig, 0);
  ASSERT_EQ(shell.requests.size(), 3u);
  EXPECT_EQ(shell.requests[2].file, filters.substr(0, filters.rfind(u'\\')));

  // Reset asks; No keeps the tags.
  FilterTagList one{{u"Only", {u".x"}}};
  state->filters.SetTags(one);
  RebuildTagButtons(Window());
  hookedBoxes.answer = IDNO;
  SendMessageW(hwnd, WM_COMMAND, kCommandResetFilterTags, 0);
  ASSERT_EQ(hookedBoxes.shown.size(), 1u);
  EXPECT_EQ(hookedBoxes.shown[0].title, u"Confirm Reset");
  EXPECT_EQ(hookedBoxes.shown[0].text,
            u"Reset filter tags to defaults?\n\n(Restart the app to refresh filter buttons.)");
  EXPECT_EQ(hookedBoxes.shown[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(state->filters.Tags()->size(), 1u);
  hookedBoxes.answer = IDYES;
  SendMessageW(hwnd, WM_COMMAND, kCommandResetFilterTags, 0);
  ASSERT_EQ(hookedBoxes.shown.size(), 3u);
  EXPECT_EQ(hookedBoxes.shown[2].text, u"Settings have been reset.");
  EXPECT_EQ(hookedBoxes.shown[2].title, u"Completed");
  EXPECT_GT(state->filters.Tags()->size(), 1u);
  EXPECT_EQ(Window().controls.tagButtons.size(), state->filters.Tags()->size());
}

TEST_F(ListCommandsTest, RefreshNonNtfsRunsOnlyWithAWalkedVolume) {
  NumberedFiles(2);
  ASSERT_EQ(OpenAndSearch(u"file-"), 2);
  std::vector<VolumePtr> volumes = state->engine.SnapshotVolumes();
  ASSERT_FALSE(volumes.empty());
  const uint64_t build = volumes.back()->buildNumber.load();  // E:, walked
  SendMessageW(hwnd, WM_COMMAND, kCommandRefreshNonNtfs, 0);
  EXPECT_EQ(WindowText(Window().controls.statusLine), u"Refreshing all non-NTFS volume indexes...");
  EXPECT_TRUE(PumpUntil([&] {
    volumes = state->engine.SnapshotVolumes();
    return !volumes.empty() && volumes.back()->buildNumber.load() > build && Settled();
  }));
}

TEST_F(ListCommandsTest, TheCustomSizeEditRefiltersOnlyUnderTheCustomSizePreset) {
  NumberedFiles(4);
  ASSERT_EQ(OpenAndSearch(u"file-"), 4);
  const HWND edit = Window().controls.customSize;
  const uint64_t before = Window().session.filterGeneration.load();
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"0-2"));
  EXPECT_EQ(Window().session.filterGeneration.load(), before) << "the size preset is not custom";
  EXPECT_EQ(state->filters.presets.customSizeText, u"0-2");
  SendMessageW(Window().controls.sizePreset, CB_SETCURSEL, kSizeCustom, 0);
  SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(kIdSizePreset, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Window().controls.sizePreset));
  const uint64_t custom = Window().session.filterGeneration.load();
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"0-3"));
  EXPECT_GT(Window().session.filterGeneration.load(), custom);
}

// The shell's own menu under Wine: built for the items of one folder, its
// command run by number.
TEST_F(ListCommandsTest, TheShellsContextMenuBuildsForOneFolderAndRunsAChosenCommand) {
  scratch.MakeFile(u"one.txt");
  scratch.MakeFile(u"two.txt");
  scratch.MakeFolder(u"elsewhere");
  scratch.MakeFile(u"elsewhere\\three.txt");
  const std::vector<std::u16string> paths{scratch.Path(u"one.txt"), scratch.Path(u"elsewhere\\three.txt"),
                                          scratch.Path(u"two.txt")};
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  {
    ShellContextMenu menu;
    ASSERT_TRUE(menu.Build(nullptr, paths, false));
    EXPECT_EQ(menu.ItemCount(), 2u) << "three.txt lies in another folder";
    const std::vector<MenuItem> items = ReadMenu(menu.menu());
    ASSERT_FALSE(items.empty());
    UINT copy = 0;
    for (const MenuItem& item : items) {
      if (item.separator || item.id < kFirstShellCommand || item.id > kLastShellCommand) continue;
      wchar_t verb[64] = L"";
      if (SUCCEEDED(menu.handler()->GetCommandString(item.id - kFirstShellCommand, GCS_VERBW, nullptr,
                                                     reinterpret_cast<char*>(verb), 64)) &&
          std::wstring(verb) == L"copy") {
        copy = item.id;
      }
    }
    ASSERT_NE(copy, 0u) << "no copy verb";
    EXPECT_EQ(menu.Invoke(nullptr, copy, POINT{10, 10}), S_OK);
  }  // the menu is gone and what the verb put on the clipboard stays
  ASSERT_TRUE(OpenClipboard(nullptr));
  const auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
  const UINT count = drop != nullptr ? DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) : 0;
  wchar_t first[MAX_PATH] = L"";
  if (drop != nullptr) DragQueryFileW(drop, 0, first, MAX_PATH);
  CloseClipboard();
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(win32::FromWide(first), paths[0]);
}

TEST_F(ListCommandsTest, WhileTheShellsMenuIsOpenItsHandlerGetsTheMenuMessages) {
  scratch.MakeFile(u"menu-me.txt");
  ASSERT_EQ(OpenAndSearch(u"menu-me"), 1);
  SelectRows({u"menu-me.txt"});
  bool held = false;
  LRESULT initAnswer = -1;
  ASSERT_TRUE(WithOpenMenu([&] { SendMessageW(hwnd, WM_COMMAND, kCommandSystemContextMenu, 0); },
                           [&](HMENU open) {
                             held = Window().fileOps.shellMenu3 != nullptr || Window().fileOps.shellMenu2 != nullptr;
                             initAnswer = SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(open), 0);
                           }));
  EXPECT_TRUE(held);
  EXPECT_EQ(initAnswer, 0);
  EXPECT_EQ(Window().fileOps.shellMenu3, nullptr) << "let go once the menu closed";
  EXPECT_EQ(Window().fileOps.shellMenu2, nullptr);
  EXPECT_TRUE(scratch.Exists(u"menu-me.txt"));
}

}  // namespace
}  // namespace quillmor
