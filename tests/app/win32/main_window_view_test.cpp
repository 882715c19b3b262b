// How the main window looks and keeps looking: the inputs' shape, a DPI
// change, switching the theme, the dark popup menus, and no GDI or USER
// objects left behind by searches and theme switches.
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "app/owner_drawn_menu.h"
#include "engine/attr_cache_state.h"
#include "search/apply_language.h"
#include "settings/localisation.h"
#include "tests/app/win32/window_fixture.h"

namespace quillmor {
namespace {

class MainWindowViewTest : public WindowFixture {
 protected:
  void Drives() {
    const uint64_t docs = ntfsC.AddExistingFile(kRoot, u"docs", true);
    for (const char16_t* name : {u"report.pdf", u"report.txt", u"plan.txt", u"photo.png"}) {
      ntfsC.AddExistingFile(docs, name);
    }
    MountNtfs(u'C', ntfsC);
  }

  RECT ClientRectIn(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    MapWindowPoints(control, hwnd, reinterpret_cast<POINT*>(&client), 2);
    return client;
  }

  RECT RectIn(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  // A pixel of the last frame the window painted.
  COLORREF FramePixel(int x, int y) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return GetPixel(Window().backBuffer.dc, x, y);
  }

  COLORREF BrushColour(LRESULT brush) {
    LOGBRUSH log{};
    GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof log, &log);
    return log.lbColor;
  }

  static int FontHeight(HFONT font) {
    LOGFONTW log{};
    GetObjectW(font, sizeof log, &log);
    return log.lfHeight;
  }

  static DWORD GdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }
  static DWORD UserObjects() { return GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS); }
};

TEST_F(MainWindowViewTest, InputsShareOneHeightAndCentreTheirText) {
  Drives();
  OpenReady();
  const MainWindow& w = Window();
  const int height = Scaled(w, 38);
  for (HWND input : {w.controls.scopeBox, w.controls.searchEdit, w.controls.sizePreset, w.controls.timePreset}) {
    const RECT r = RectIn(input);
    EXPECT_EQ(r.top, Scaled(w, 16)) << GetDlgCtrlID(input);
    EXPECT_EQ(r.bottom - r.top, height) << GetDlgCtrlID(input);
  }
  // The search box's one line of text sits in the middle of the box.
  const RECT box = RectIn(w.controls.searchEdit);
  const RECT text = ClientRectIn(w.controls.searchEdit);
  EXPECT_LE(std::abs((text.top - box.top) - (box.bottom - text.bottom)), 1);
  EXPECT_GT(text.left, box.left);
}

TEST_F(MainWindowViewTest, ADpiChangeRescalesWhatTheWindowKeepsAndTheSameDpiOnlyMoves) {
  Drives();
  OpenReady();
  MainWindow& w = Window();
  ASSERT_EQ(w.dpi, 96u);
  const auto columns = w.list.columnWidths;
  ASSERT_EQ(w.sidebarWidth, 200);
  const int controlFont = FontHeight(w.fonts.control);

  // Within the test desktop, which bounds a window's size.
  const RECT suggested{10, 10, 1010, 710};
  SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(w.dpi, 144u);
  for (size_t i = 0; i < columns.size(); ++i) EXPECT_EQ(w.list.columnWidths[i], columns[i] * 3 / 2) << i;
  EXPECT_EQ(w.sidebarWidth, 300);
  EXPECT_EQ(FontHeight(w.fonts.control), controlFont * 3 / 2);
  EXPECT_EQ(w.listTop, 150);  // 100 at 96 DPI, laid out again
  EXPECT_EQ(RectIn(w.controls.searchEdit).bottom - RectIn(w.controls.searchEdit).top, 57);
  EXPECT_EQ(RectIn(w.controls.tagButtons[0]).bottom - RectIn(w.controls.tagButtons[0]).top, 60);
  RECT moved{};
  GetWindowRect(hwnd, &moved);
  EXPECT_TRUE(EqualRect(&moved, &suggested));

  // The same DPI again: the window moves, nothing is rescaled.
  const auto scaled = w.list.columnWidths;
  const RECT elsewhere{0, 20, 900, 720};
  SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&elsewhere));
  EXPECT_EQ(w.list.columnWidths, scaled);
  EXPECT_EQ(w.sidebarWidth, 300);
  GetWindowRect(hwnd, &moved);
  EXPECT_TRUE(EqualRect(&moved, &elsewhere));
}

// window.ini's column widths were rescaled from the DPI the process started
// with to the window's, then read again unscaled.
TEST_F(MainWindowViewTest, AWindowOnAMonitorOfAnotherDpiStartsWithItsColumnsRescaled) {
  Drives();
  memory.AddFile(ConfigPath(u"window.ini"), "col0=50\ncol1=300\ncol5=500\n");
  state->systemDpi = 192;  // the window itself gets 96 (all Wine gives)
  OpenReady();
  MainWindow& w = Window();
  ASSERT_EQ(w.dpi, 96u);
  EXPECT_EQ(w.list.columnWidths[0], 50);
  EXPECT_EQ(w.list.columnWidths[1], 300);
  EXPECT_EQ(w.list.columnWidths[2], 100);  // the default
  EXPECT_EQ(w.list.columnWidths[5], 500);

  // Saved at the window's DPI, they read back as they were written.
  Exit();
  const std::string ini = memory.Contents(ConfigPath(u"window.ini")).value_or("");
  EXPECT_NE(ini.find("col1=300"), std::string::npos) << ini;
}

TEST_F(MainWindowViewTest, SwitchingTheThemeRepaintsEveryPartInItsColours) {
  Drives();
  OpenReady();
  MainWindow& w = Window();
  ASSERT_TRUE(w.app.window.sidebarLayout);
  // All of it on the test's desktop: Wine paints only what the screen shows.
  SetWindowPos(hwnd, nullptr, 0, 0, 900, 650, SWP_NOZORDER);
  const int inSidebarX = Scaled(w, 4);
  const int inSidebarY = w.clientHeight - Scaled(w, 4);
  const int inBandX = w.clientWidth - Scaled(w, 4);

  for (const bool dark : {true, false, true}) {
    SetTheme(w, dark);
    const ThemePalette& palette = PaletteFor(dark);
    EXPECT_EQ(w.theme.Dark(), dark);
    EXPECT_EQ(FramePixel(inBandX, Scaled(w, 4)), palette.band);
    EXPECT_EQ(FramePixel(inSidebarX, inSidebarY), ControlPaletteFor(dark).sidebarFill);
    const HDC dc = GetDC(w.controls.searchEdit);
    const LRESULT brush = SendMessageW(hwnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(w.controls.searchEdit));
    EXPECT_EQ(BrushColour(brush), palette.controlBackground);
    EXPECT_EQ(GetTextColor(dc), ControlPaletteFor(dark).inputText);
    ReleaseDC(w.controls.searchEdit, dc);
  }
  const std::optional<std::string> ini = memory.Contents(ConfigPath(u"window.ini"));
  ASSERT_TRUE(ini.has_value());
  EXPECT_NE(ini->find("themeMode=dark"), std::string::npos);
}

TEST_F(MainWindowViewTest, DarkPopupMenusAreDrawnByTheWindowAndGivenBackAfterwards) {
  Drives();
  OpenReady();
  MainWindow& w = Window();
  const HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"&Open\tEnter");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  const HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING | MF_CHECKED, 2, L"List");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"View");
  const auto type = [](HMENU m, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(m, position, TRUE, &info);
    return info.fType;
  };

  {  // The light theme leaves menus to the system.
    const auto owned = PrepareOwnerDrawnMenu(w, menu);
    EXPECT_EQ(type(menu, 0) & MFT_OWNERDRAW, 0u);
  }
  SetTheme(w, true);
  {
    const auto owned = PrepareOwnerDrawnMenu(w, menu);
    EXPECT_EQ(owned->items.size(), 4u);
    EXPECT_NE(type(menu, 0) & MFT_OWNERDRAW, 0u);
    EXPECT_NE(type(sub, 0) & MFT_OWNERDRAW, 0u);

    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    GetMenuItemInfoW(menu, 0, TRUE, &info);
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, 1, 0, 0, info.dwItemData};
    ASSERT_EQ(SendMessageW(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
    EXPECT_EQ(measure.itemHeight, static_cast<UINT>(Scaled(w, 28)));
    EXPECT_GT(measure.itemWidth, 0u);

    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 28);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT draw{ODT_MENU,       0, 1, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(menu), dc, {0, 0, 200, 28},
                        info.dwItemData};
    ASSERT_EQ(SendMessageW(hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), TRUE);
    EXPECT_EQ(GetPixel(dc, 199, 1), kDarkControls.menuFill);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
  }
  EXPECT_EQ(type(menu, 0) & MFT_OWNERDRAW, 0u);  // its own type again
  EXPECT_NE(type(menu, 1) & MFT_SEPARATOR, 0u);
  DestroyMenu(menu);
}

TEST_F(MainWindowViewTest, SearchesAndThemeSwitchesLeaveNoObjectsBehind) {
  Drives();
  OpenReady();
  MainWindow& w = Window();
  // Warm up: the first search and switch create what lives for the run.
  SearchAndWait(u"report");
  SetTheme(w, true);
  SetTheme(w, false);
  PumpFor(200);
  const DWORD gdiBefore = GdiObjects();
  const DWORD userBefore = UserObjects();

  for (int i = 0; i < 200; ++i) {
    SearchAndWait(i % 2 == 0 ? u"report" : u"plan", true);
    SetTheme(w, i % 2 == 0);
    ScrollListTo(w, i % 3);
  }
  SetTheme(w, false);
  PumpFor(200);
  // Wine reports 0 for both counts; the check bites on Windows.
  EXPECT_LE(GdiObjects(), gdiBefore + 4) << "GDI objects before: " << gdiBefore;
  EXPECT_LE(UserObjects(), userBefore + 4) << "USER objects before: " << userBefore;
}

TEST_F(MainWindowViewTest, AnotherLanguageRenamesThePresetsTagsAndScope) {
  Drives();
  OpenReady();
  SendMessageW(Window().controls.scopeBox, CB_SETCURSEL, 1, 0);
  SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(kIdScopeBox, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Window().controls.scopeBox));
  struct KeepTags : FilterConflictQuestion {
    FilterConflictAnswer Ask(std::u16string_view, std::u16string_view) override { return FilterConflictAnswer::kNo; }
  } question;
  const AppliedLanguage applied = ApplyLanguage(appEnv.core, u"de-de", state->filters, question);
  OnLanguageApplied(Window(), applied.tagsChanged);

  const MainWindowControls& c = Window().controls;
  std::u16string first(64, u'\0');
  first.resize(
      static_cast<size_t>(SendMessageW(c.sizePreset, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first.data()))));
  EXPECT_EQ(first, u"Alle");
  EXPECT_TRUE(WindowText(c.tagButtons.at(2)).starts_with(u"Dokumente\r\n("))
      << testing::PrintToString(WindowText(c.tagButtons[2]));
  EXPECT_EQ(Title(), Translate(u"App_TitleMain", u"", u""));
  EXPECT_EQ(Window().session.scope.load(), 1);  // the Desktop stays chosen
}

TEST_F(MainWindowViewTest, ThePrewarmTimersEnableSortingWhenThePrewarmEnds) {
  Drives();
  OpenReady();
  SchedulePrewarmTimer(Window(), 7000);
  EXPECT_EQ(g_attrCache.prewarmPending.load(), 1);  // sorting waits
  SendMessageW(hwnd, WM_TIMER, ID_TIMER_PREWARM, 0);
  EXPECT_TRUE(PumpUntil([] { return g_attrCache.prewarmPending.load() == 0; }));
}

}  // namespace
}  // namespace quillmor
