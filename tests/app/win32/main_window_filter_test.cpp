// The filter bar as a user meets it: tag buttons that count the results and
// filter them when clicked, the sidebar that scrolls its tags, and the
// preset boxes whose custom choices bring their own controls.
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "tests/app/win32/window_fixture.h"

namespace quillmor {
namespace {

class FilterBarTest : public WindowFixture {
 protected:
  // "report" finds six rows: on C: (NTFS) docs\report.pdf, docs\report.txt,
  // docs\report.png and the folder docs\reports; on E: (walked)
  // notes\report-old.txt (10 bytes) and music\report.mp3 (5000 bytes).
  void Drives() {
    const uint64_t docs = ntfsC.AddExistingFile(kRoot, u"docs", true);
    for (const char16_t* name : {u"report.pdf", u"report.txt", u"report.png", u"notes.md"}) {
      ntfsC.AddExistingFile(docs, name);
    }
    ntfsC.AddExistingFile(docs, u"reports", true);
    MountNtfs(u'C', ntfsC);
    AddWalkedDrive(u'E');
    memory.AddFile(u"E:\\notes\\report-old.txt", std::string(10, 'x'));
    memory.AddFile(u"E:\\music\\report.mp3", std::string(5000, 'x'));
  }

  std::u16string Caption(size_t tag) { return WindowText(Window().controls.tagButtons.at(tag), 512); }

  void Choose(HWND combo, int index) {
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  }

  bool Visible(HWND control) { return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

  bool WaitForSettledTitle(std::u16string_view title) {
    const bool ok = WaitForTitle(title);
    EXPECT_TRUE(ok) << "wanted " << testing::PrintToString(std::u16string(title)) << ", title "
                    << testing::PrintToString(Title());
    return ok;
  }
};

TEST_F(FilterBarTest, TagButtonsCountTheResults) {
  Drives();
  OpenReady();
  ASSERT_EQ(Window().controls.tagButtons.size(), 8u);
  EXPECT_EQ(Caption(2), u"Documents\r\n(0)");
  ASSERT_EQ(SearchAndWait(u"report"), 6);
  ASSERT_TRUE(PumpUntil([&] { return Caption(0) == u"All Files\r\n(6)"; })) << testing::PrintToString(Caption(0));
  EXPECT_EQ(Caption(1), u"Folders\r\n(1)");
  EXPECT_EQ(Caption(2), u"Documents\r\n(3)");
  EXPECT_EQ(Caption(3), u"Images\r\n(1)");
  EXPECT_EQ(Caption(4), u"Archives\r\n(0)");
  EXPECT_EQ(Caption(7), u"Audio\r\n(1)");
}

TEST_F(FilterBarTest, ClickingATagFiltersTheListAndNamesItInTheTitle) {
  Drives();
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"report"), 6);
  EXPECT_TRUE(Title() == u"Quillmor - Filter: All Files | Hits: 6") << testing::PrintToString(Title());

  SendMessageW(Window().controls.tagButtons[2], BM_CLICK, 0, 0);
  EXPECT_EQ(state->filters.selectedTag.load(), 2);
  WaitForSettledTitle(u"Quillmor - Filter: Documents | Hits: 3");
  EXPECT_EQ(Window().list.count, 3);
  EXPECT_EQ(GetFocus(), Window().controls.searchEdit);

  SendMessageW(Window().controls.tagButtons[1], BM_CLICK, 0, 0);
  WaitForSettledTitle(u"Quillmor - Filter: Folders | Hits: 1");

  // The tag holds for the next query too.
  EXPECT_EQ(SearchAndWait(u"report.p"), 0);
  SendMessageW(Window().controls.tagButtons[3], BM_CLICK, 0, 0);
  WaitForSettledTitle(u"Quillmor - Filter: Images | Hits: 1");
}

TEST_F(FilterBarTest, CustomPresetsBringTheirOwnControls) {
  Drives();
  OpenReady();
  const MainWindowControls& c = Window().controls;
  for (HWND custom : {c.customSize, c.sizeUnit, c.dateFrom, c.dateTo}) EXPECT_FALSE(Visible(custom));
  RECT wide{};
  GetWindowRect(c.searchEdit, &wide);

  Choose(c.sizePreset, kSizeCustom);
  EXPECT_TRUE(Visible(c.customSize));
  EXPECT_TRUE(Visible(c.sizeUnit));
  EXPECT_FALSE(Visible(c.dateFrom));
  EXPECT_EQ(GetFocus(), c.customSize);  // ready to type the range

  Choose(c.timePreset, kTimeCustom);
  EXPECT_TRUE(Visible(c.dateFrom));
  EXPECT_TRUE(Visible(c.dateTo));
  RECT narrow{};
  GetWindowRect(c.searchEdit, &narrow);
  EXPECT_LT(narrow.right - narrow.left, wide.right - wide.left);
  const std::optional<std::string> ini = memory.Contents(ConfigPath(u"window.ini"));
  ASSERT_TRUE(ini.has_value());
  EXPECT_NE(ini->find("sizePreset=4"), std::string::npos);
  EXPECT_NE(ini->find("timePreset=4"), std::string::npos);

  Choose(c.sizePreset, kSizeAll);
  Choose(c.timePreset, kTimeAll);
  for (HWND custom : {c.customSize, c.sizeUnit, c.dateFrom, c.dateTo}) EXPECT_FALSE(Visible(custom));
}

TEST_F(FilterBarTest, TheCustomSizeRangeFiltersBySize) {
  Drives();
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"report"), 6);
  const MainWindowControls& c = Window().controls;
  // The simulated NTFS files are empty; the note has 10 bytes, the song 5000.
  Choose(c.sizePreset, kSizeCustom);  // "1-100" MB
  WaitForSettledTitle(u"Quillmor - Filter: All Files | Hits: 0");
  Choose(c.sizeUnit, kUnitKB);  // 1 KB to 100 KB
  WaitForSettledTitle(u"Quillmor - Filter: All Files | Hits: 1");
  SendMessageW(c.customSize, EM_SETSEL, 0, -1);
  SendMessageW(c.customSize, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"0-1"));
  WaitForSettledTitle(u"Quillmor - Filter: All Files | Hits: 4");
  EXPECT_EQ(state->filters.presets.customSizeText, u"0-1");
  Choose(c.sizeUnit, kUnitBytes);  // at most 1 byte
  WaitForSettledTitle(u"Quillmor - Filter: All Files | Hits: 3");
}

TEST_F(FilterBarTest, TheDatePickersGiveTheCustomRange) {
  Drives();
  OpenReady();
  const MainWindowControls& c = Window().controls;
  const auto pick = [&](HWND picker, WORD year, WORD month, WORD day) {
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    // The picker tells its parent as a user's choice would.
    NMDATETIMECHANGE change{};
    change.nmhdr = {picker, static_cast<UINT_PTR>(GetDlgCtrlID(picker)), DTN_DATETIMECHANGE};
    change.dwFlags = GDT_VALID;
    change.st = time;
    SendMessageW(hwnd, WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
  };
  pick(c.dateFrom, 2024, 5, 10);
  pick(c.dateTo, 2024, 5, 1);
  int32_t from = 0;
  int32_t to = 0;
  ASSERT_TRUE(Window().view.CustomDateRange(from, to));
  EXPECT_EQ(from, 20240510);  // the filter itself puts them in order
  EXPECT_EQ(to, 20240501);
  EXPECT_EQ(state->filters.presets.customDateFrom, 20240510);
  const std::optional<std::string> ini = memory.Contents(ConfigPath(u"window.ini"));
  ASSERT_TRUE(ini.has_value());
  EXPECT_NE(ini->find("timeStart=20240510"), std::string::npos);
  EXPECT_NE(ini->find("timeEnd=20240501"), std::string::npos);
}

TEST_F(FilterBarTest, ManyTagsScrollInTheSidebar) {
  Drives();
  // Thirty tags do not fit the sidebar of a 700 px window.
  std::string filters;
  for (int i = 0; i < 30; ++i) filters += "Tag" + std::to_string(i) + "=.t" + std::to_string(i) + "\n";
  memory.AddFile(ConfigPath(u"filters.en-us.ini"), filters);
  OpenReady();
  MainWindow& w = Window();
  ASSERT_TRUE(w.app.window.sidebarLayout);
  ASSERT_EQ(w.controls.tagButtons.size(), 31u);  // a folder tag joins them
  EXPECT_TRUE(Visible(w.controls.sidebarScroll));
  EXPECT_TRUE(Visible(w.controls.tagButtons[0]));
  EXPECT_FALSE(Visible(w.controls.tagButtons[30]));  // below the sidebar's view

  for (int i = 0; i < 40; ++i) ScrollFilterSidebarByWheel(w, -WHEEL_DELTA);
  EXPECT_GT(w.sidebarScroll, 0);
  EXPECT_FALSE(Visible(w.controls.tagButtons[0]));
  EXPECT_TRUE(Visible(w.controls.tagButtons[30]));
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS;
  GetScrollInfo(w.controls.sidebarScroll, SB_CTL, &info);
  EXPECT_EQ(info.nPos, w.sidebarScroll);

  // The bar's own messages scroll it too.
  SendMessageW(hwnd, WM_VSCROLL, SB_TOP, reinterpret_cast<LPARAM>(w.controls.sidebarScroll));
  EXPECT_EQ(w.sidebarScroll, 0);
  EXPECT_TRUE(Visible(w.controls.tagButtons[0]));
}

TEST_F(FilterBarTest, TheTopBarWrapsItsButtonsUnderTheInputs) {
  Drives();
  memory.AddFile(ConfigPath(u"window.ini"), "filterLayout=topbar\n");
  OpenReady();
  MainWindow& w = Window();
  ASSERT_FALSE(w.app.window.sidebarLayout);
  EXPECT_FALSE(Visible(w.controls.sidebarScroll));
  RECT search{};
  GetWindowRect(w.controls.searchEdit, &search);
  RECT first{};
  GetWindowRect(w.controls.tagButtons[0], &first);
  EXPECT_GT(first.top, search.bottom);  // never touching the inputs
  RECT last{};
  GetWindowRect(w.controls.tagButtons.back(), &last);
  MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&last), 2);
  EXPECT_LT(last.bottom, w.listTop);
}

}  // namespace
}  // namespace quillmor
