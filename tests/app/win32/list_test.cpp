// The result list as a user meets it: what a frame shows, clicks, keys, the
// wheel, the tooltip, sorting by a header and sizes filled in once scrolling
// settles.
#include <algorithm>

#include "app/core/column_layout.h"
#include "app/core/drawn_scroll_bar.h"
#include "app/core/list_keyboard.h"
#include "app/core/theme_palette.h"
#include "app/core/window_ids.h"
#include "engine/attr_cache_state.h"
#include "tests/app/win32/list_fixture.h"

namespace quillmor {
namespace {

class ListTest : public ListFixture {};

// --- What a frame shows, in both themes ---

class ListFrameTest : public ListFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(ListFrameTest, BackgroundSelectionAndHeaderAreWhereTheyMustBe) {
  const bool dark = GetParam();
  WriteWindowIni(dark ? "themeMode=dark\n" : "themeMode=light\n");
  NumberedFiles(40);
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"file-"), 40);
  Click(CellCentre(1, kColumnName));
  ASSERT_EQ(Selected(), std::vector<int64_t>{1});

  const ThemePalette& palette = PaletteFor(dark);
  const PaintedFrame frame = Paint();
  const ListFrame f = Frame();
  const Rect area = ListArea(f);
  const int rowHeight = ViewMetricsFor(f.viewMode, f.dpi).rowHeight;
  const int row1 = area.top + rowHeight;
  const auto edges = ColumnEdges(f, 0);

  // The top band, the background beside a row and below the fills.
  EXPECT_EQ(frame.At(frame.width / 2, 4), palette.band);
  EXPECT_EQ(frame.At(area.left + 3, area.top + rowHeight / 2), palette.background);
  EXPECT_EQ(frame.At(edges[kColumnSize] + 5, row1 - 2), palette.background);  // the gap under row 0
  // Row 1's fill runs from 8 px inside the area, over the row but its last 4 px.
  EXPECT_EQ(frame.At(edges[kColumnSize] + 5, row1 + 3), palette.selection);
  EXPECT_EQ(frame.At(area.right - 20, row1 + rowHeight / 2), palette.selection);
  EXPECT_EQ(frame.At(area.left + 4, row1 + rowHeight / 2), palette.background);
  EXPECT_EQ(frame.At(edges[kColumnSize] + 5, row1 + rowHeight - 2), palette.background);
  // Row 0 is neither selected nor hovered.
  EXPECT_EQ(frame.At(edges[kColumnSize] + 5, area.top + 3), palette.background);

  // The header band: "Name" written in its cell, a line under the band.
  const RECT nameHeader{edges[kColumnName] + 12, f.listTop + 8, edges[kColumnName] + 60, f.listTop + 32};
  const int inked = (nameHeader.right - nameHeader.left) * (nameHeader.bottom - nameHeader.top) -
                    frame.Count(nameHeader, palette.background);
  EXPECT_GT(inked, 20) << "no header text";
  EXPECT_EQ(frame.At(edges[kColumnName] + 100, area.top - 1), palette.gridLine);
  EXPECT_EQ(frame.At(edges[kColumnName] + 150, f.listTop + 20), palette.background);
}

INSTANTIATE_TEST_SUITE_P(BothThemes, ListFrameTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Dark" : "Light"; });

TEST_F(ListTest, TheDrawnBarShowsWhenRowsPassTheView) {
  NumberedFiles(200);
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"file-"), 200);
  const PaintedFrame frame = Paint();
  const DrawnScrollBar bar = VerticalListBar(Frame(), 0, 200);
  ASSERT_TRUE(bar.shown);
  const Rect rect = VerticalBarRect(Frame());
  const int x = (rect.left + rect.right) / 2;
  EXPECT_NE(frame.At(x, bar.thumbStart + bar.thumbLength / 2), PaletteFor(false).background);
  EXPECT_EQ(frame.At(x, bar.thumbStart + bar.thumbLength + 10), PaletteFor(false).background);
}

// --- Selection ---

TEST_F(ListTest, ClicksWithCtrlAndShiftBuildTheSelection) {
  NumberedFiles(6);
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"file-"), 6);

  Click(CellCentre(2, kColumnSize));
  EXPECT_EQ(Selected(), (std::vector<int64_t>{2}));
  EXPECT_EQ(GetFocus(), hwnd);  // the list took the keyboard
  Click(CellCentre(4, kColumnSize), MK_CONTROL);
  EXPECT_EQ(Selected(), (std::vector<int64_t>{2, 4}));
  Click(CellCentre(1, kColumnSize), MK_SHIFT);  // from the anchor, row 4
  EXPECT_EQ(Selected(), (std::vector<int64_t>{1, 2, 3, 4}));
  Click(CellCentre(3, kColumnSize), MK_CONTROL);
  EXPECT_EQ(Selected(), (std::vector<int64_t>{1, 2, 4}));

  // A press on one of several selected rows keeps them (a drag may follow).
  Click(CellCentre(2, kColumnModified));
  EXPECT_EQ(Selected(), (std::vector<int64_t>{1, 2, 4}));
  Click(CellCentre(5, kColumnModified));
  EXPECT_EQ(Selected(), (std::vector<int64_t>{5}));

  // A double click focuses its row (and opens it) without touching the set.
  Click(CellCentre(3, kColumnSize));
  SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON,
               MAKELPARAM(CellCentre(4, kColumnSize).x, CellCentre(4, kColumnSize).y));
  EXPECT_EQ(Window().list.selection.Focused(), 4);
  EXPECT_EQ(Selected(), (std::vector<int64_t>{3}));
  Click(CellCentre(5, kColumnSize));

  // Below the rows: Ctrl keeps, a plain press clears.
  Click(CellCentre(7, kColumnSize), MK_CONTROL);
  EXPECT_EQ(Selected(), (std::vector<int64_t>{5}));
  Click(CellCentre(7, kColumnSize));
  EXPECT_TRUE(Selected().empty());
  EXPECT_EQ(Window().list.selection.Focused(), -1);
}

TEST_F(ListTest, NewResultsClearTheSelection) {
  NumberedFiles(6);
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"file-"), 6);
  Click(CellCentre(2, kColumnSize));
  ASSERT_EQ(Selected(), (std::vector<int64_t>{2}));
  ASSERT_EQ(SearchAndWait(u"file-00"), 6);
  EXPECT_TRUE(Selected().empty());
}

// --- The keyboard ---

TEST_F(ListTest, DownInTheSearchBoxMovesIntoTheListAndKeysMoveTheFocus) {
  NumberedFiles(60);
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"file-"), 60);
  const HWND edit = Window().controls.searchEdit;
  SetFocus(edit);

  SendMessageW(edit, WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(GetFocus(), hwnd);
  EXPECT_EQ(Selected(), (std::vector<int64_t>{0}));
  EXPECT_EQ(WindowText(edit), u"file-");  // the box's text is untouched

  PressListKey(VK_DOWN);
  EXPECT_EQ(Selected(), (std::vector<int64_t>{1}));
  const int32_t page = RowsPerPage(Frame());
  PressListKey(VK_NEXT);
  EXPECT_EQ(Window().list.selection.Focused(), 1 + page);
  PressListKey(VK_END);
  EXPECT_EQ(Selected(), (std::vector<int64_t>{59}));
  EXPECT_EQ(Window().list.scrollOffset, MaxVerticalOffset(Frame(), 60));  // scrolled into view
  PressListKey(VK_UP, false, true);
  PressListKey(VK_UP, false, true);
  EXPECT_EQ(Selected(), (std::vector<int64_t>{57, 58, 59}));
  PressListKey(VK_HOME);
  EXPECT_EQ(Selected(), (std::vector<int64_t>{0}));
  EXPECT_EQ(Window().list.scrollOffset, 0);
  PressListKey('A', true);
  EXPECT_EQ(Window().list.selection.Count(), 60);

  // Up in the search box also goes to the list; Home stays in the box.
  SetFocus(edit);
  SendMessageW(edit, WM_KEYDOWN, VK_HOME, 1);
  EXPECT_EQ(GetFocus(), edit);
  SendMessageW(edit, WM_KEYDOWN, VK_UP, 1);
  EXPECT_EQ(GetFocus(), hwnd);
}

// --- Scrolling ---

TEST_F(ListTest, TheWheelScrollsAHundredPixelsANotch) {
  NumberedFiles(200);
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"file-"), 200);
  const POINT over = CellCentre(2, kColumnName);
  Wheel(over, -1);
  EXPECT_EQ(Window().list.scrollOffset, 100);
  EXPECT_TRUE(ListScrollingActive(Window()));  // for 60 ms
  Wheel(over, -3);
  EXPECT_EQ(Window().list.scrollOffset, 400);
  Wheel(over, 10);
  EXPECT_EQ(Window().list.scrollOffset, 0);
  Wheel(over, -200);
  EXPECT_EQ(Window().list.scrollOffset, MaxVerticalOffset(Frame(), 200));
  // The search box hands the wheel to the list.
  SendMessageW(Window().controls.searchEdit, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(0, 0));
  EXPECT_EQ(Window().list.scrollOffset, MaxVerticalOffset(Frame(), 200) - 100);
}

TEST_F(ListTest, ScrollBarMessagesMoveByRowsAndPages) {
  NumberedFiles(200);
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"file-"), 200);
  const HWND bar = Window().controls.listVScroll;
  const int32_t rowHeight = 44;
  SendMessageW(hwnd, WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(Window().list.scrollOffset, rowHeight);
  SendMessageW(hwnd, WM_VSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(Window().list.scrollOffset, rowHeight * (1 + RowsPerPage(Frame())));
  SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 50), reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(Window().list.scrollOffset, 50 * rowHeight);
  EXPECT_TRUE(Window().list.thumbDragging.load());
  SendMessageW(hwnd, WM_VSCROLL, SB_ENDSCROLL, reinterpret_cast<LPARAM>(bar));
  EXPECT_FALSE(Window().list.thumbDragging.load());
  SendMessageW(hwnd, WM_VSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(Window().list.scrollOffset, MaxVerticalOffset(Frame(), 200));
}

TEST_F(ListTest, DraggingTheThumbLandsOnWholeRows) {
  NumberedFiles(200);
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"file-"), 200);
  const ListFrame f = Frame();
  const Rect rect = VerticalBarRect(f);
  DrawnScrollBar bar = VerticalListBar(f, 0, 200);
  const int x = (rect.left + rect.right) / 2;
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, bar.thumbStart + 2));
  EXPECT_TRUE(ListScrollingActive(Window()));
  for (int y = bar.thumbStart; y < rect.bottom; y += 37) {
    SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    const int64_t offset = Window().list.scrollOffset;
    EXPECT_TRUE(offset % 44 == 0 || offset == MaxVerticalOffset(f, 200)) << offset;
  }
  EXPECT_GT(Window().list.scrollOffset, 0);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, rect.bottom - 1));
  EXPECT_FALSE(Window().list.thumbDragging.load());
  EXPECT_EQ(Window().list.drag, ListDrag::kNone);

  // A press on the track above the thumb jumps back there.
  bar = VerticalListBar(f, Window().list.scrollOffset, 200);
  Click(POINT{x, rect.top + 2});
  EXPECT_EQ(Window().list.scrollOffset, 0);
}

TEST_F(ListTest, SizesAndDatesArriveOnceScrollingSettles) {
  NumberedFiles(200);
  OpenReady();
  AllowSortingNow();  // also keeps the cache prewarm from reading the rows first
  ASSERT_EQ(SearchAndWait(u"file-"), 200);
  PressListKey(VK_END);  // hands the keyboard... and scrolls to the end
  SetFocus(hwnd);
  PressListKey(VK_END);
  ASSERT_EQ(Window().list.scrollOffset, MaxVerticalOffset(Frame(), 200));
  EXPECT_EQ(Cell(199, kColumnSize), u"...");
  EXPECT_EQ(Cell(199, kColumnModified), u"...");
  ASSERT_TRUE(PumpUntil([&] { return Cell(199, kColumnSize) == u"200 B"; }, 10000))
      << testing::PrintToString(Cell(199, kColumnSize));
  EXPECT_EQ(Cell(190, kColumnSize), u"191 B");
  EXPECT_NE(Cell(199, kColumnModified), u"...");
  EXPECT_EQ(Cell(100, kColumnSize), u"...");  // never in view
}

TEST_F(ListTest, TheHoveredCellGivesTheTooltipItsText) {
  NumberedFiles(3);
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"file-"), 3);
  ASSERT_TRUE(PumpUntil([&] { return Cell(2, kColumnSize) == u"3 B"; }, 10000));
  MouseMove(CellCentre(2, kColumnName));
  EXPECT_EQ(Window().list.hovered, 2);
  EXPECT_EQ(Window().list.tooltipText, u"E:\\files\\file-002.txt");
  MouseMove(CellCentre(2, kColumnSize));
  EXPECT_EQ(Window().list.tooltipText, u"3 B");
  MouseMove(CellCentre(0, kColumnRowNumber));
  EXPECT_EQ(Window().list.tooltipText, u"");
  MouseMove(CellCentre(1, kColumnPath));
  EXPECT_EQ(Window().list.tooltipText, u"E:\\files\\file-001.txt");
  MouseMove(HeaderCentre(kColumnName));
  EXPECT_EQ(Window().list.hovered, -1);
  EXPECT_EQ(Window().list.tooltipText, u"");
  MouseMove(CellCentre(0, kColumnName));
  ForgetListHover(Window());
  EXPECT_EQ(Window().list.hovered, -1);
  EXPECT_EQ(Window().list.tooltipText, u"");
}

// --- The header ---

TEST_F(ListTest, AHeaderClickSortsAndTheSameColumnAgainReverses) {
  ntfsC.AddExistingFile(kRoot, u"beta.txt");
  ntfsC.AddExistingFile(kRoot, u"gamma.txt");
  ntfsC.AddExistingFile(kRoot, u"alpha.txt");
  MountNtfs(u'C', ntfsC);
  OpenReady();
  AllowSortingNow();
  ASSERT_EQ(SearchAndWait(u"txt"), 3);
  ASSERT_EQ(RowNames(), (std::vector<std::u16string>{u"beta.txt", u"gamma.txt", u"alpha.txt"}));

  Click(HeaderCentre(kColumnName));
  const std::vector<std::u16string> ascending{u"alpha.txt", u"beta.txt", u"gamma.txt"};
  ASSERT_TRUE(PumpUntil([&] { return RowNames() == ascending; }, 10000));
  EXPECT_EQ(state->results.sortColumn.load(), kColumnName);
  Click(HeaderCentre(kColumnName));
  const std::vector<std::u16string> descending{u"gamma.txt", u"beta.txt", u"alpha.txt"};
  ASSERT_TRUE(PumpUntil([&] { return RowNames() == descending; }, 10000));

  // The row-number column sorts nothing.
  const uint64_t generation = state->results.searchGeneration.load();
  Click(HeaderCentre(kColumnRowNumber));
  PumpFor(200);
  EXPECT_EQ(state->results.searchGeneration.load(), generation);
  EXPECT_EQ(RowNames(), descending);
}

TEST_F(ListTest, DraggingAColumnBorderResizesItAndSavesWindowIni) {
  NumberedFiles(3);
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"file-"), 3);
  const auto edges = ColumnEdges(Frame(), 0);
  const int y = Frame().listTop + 20;
  const int32_t before = Window().list.columnWidths[kColumnSize];
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edges[kColumnSize + 1] - 2, y));
  SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edges[kColumnSize + 1] + 60, y));
  EXPECT_EQ(Window().list.columnWidths[kColumnSize], before + 60);
  SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edges[kColumnSize] + 5, y));
  EXPECT_EQ(Window().list.columnWidths[kColumnSize], 30);  // never narrower
  SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edges[kColumnSize] + 123, y));
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(edges[kColumnSize] + 123, y));
  EXPECT_EQ(Window().list.columnWidths[kColumnSize], 123);
  const std::optional<std::string> ini = memory.Contents(ConfigPath(u"window.ini"));
  ASSERT_TRUE(ini.has_value());
  EXPECT_NE(ini->find("col2=123\r\n"), std::string::npos) << *ini;
}

TEST_F(ListTest, ThePathColumnFillsTheRowOrGrowsWithLongPaths) {
  WriteWindowIni("col0=40\ncol1=150\ncol2=60\ncol3=100\ncol4=100\ncol5=200\n");
  AddWalkedDrive(u'E');
  memory.AddFile(u"E:\\short\\note.txt", "n");
  memory.AddFile(u"E:\\" + std::u16string(300, u'd') + u"\\note2.txt", "n");
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"note.txt"), 1);
  ListFrame f = Frame();
  const int32_t others = 40 + 150 + 60 + 100 + 100;
  ASSERT_GT(ListArea(f).Width(), others + 200) << "the window is too narrow for this test";
  EXPECT_EQ(Window().list.pathWidth, ListArea(f).Width() - others);
  EXPECT_FALSE(ShowsHorizontalBar(f));

  ASSERT_EQ(SearchAndWait(u"note"), 2);
  f = Frame();
  EXPECT_GT(Window().list.pathWidth, 1000);
  EXPECT_TRUE(ShowsHorizontalBar(f));
  EXPECT_EQ(Window().list.columnWidths[kColumnPath], 200);  // what window.ini keeps
  // Shift and the wheel scroll sideways, 40 px a notch.
  Wheel(CellCentre(0, kColumnName), -1, MK_SHIFT);
  EXPECT_EQ(Window().list.hScrollOffset, 40);
  SendMessageW(hwnd, WM_MOUSEHWHEEL, MAKEWPARAM(0, WHEEL_DELTA * 2), 0);
  EXPECT_EQ(Window().list.hScrollOffset, 120);
}

TEST_F(ListTest, DpiChangeScalesTheColumnsByOneAndAHalf) {
  NumberedFiles(3);
  OpenReady();
  Window().list.columnWidths = {60, 280, 100, 160, 160, 400};
  RECT suggested{};
  GetWindowRect(hwnd, &suggested);
  SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(Window().list.columnWidths, (std::array<int32_t, 6>{90, 420, 150, 240, 240, 600}));
}

}  // namespace
}  // namespace quillmor
