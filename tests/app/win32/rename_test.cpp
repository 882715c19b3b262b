// Renaming in place for real: the edit over the name, what it selects, the
// file renamed on disk, the index and the recent list following.
#include <algorithm>

#include "app/core/inline_rename.h"
#include "app/core/list_geometry.h"
#include "search/filter_pass.h"
#include "tests/app/win32/file_ops_fixture.h"

namespace quillmor {
namespace {

class RenameTest : public FileOpsFixture {
 protected:
  // Focuses `name`'s row and presses F2 in the list.
  void StartRename(std::u16string_view name) {
    SelectRows({name});
    PressListKey(VK_F2);
    ASSERT_NE(RenameEdit(), nullptr) << "F2 opened no edit";
  }
  void TypeAndPress(const std::u16string& text, UINT key) {
    SetWindowTextW(RenameEdit(), W(text));
    SendMessageW(RenameEdit(), WM_KEYDOWN, key, 1);
  }
  bool OnDisk(std::u16string_view name) {
    const std::vector<std::u16string> names = scratch.Names();
    return std::find(names.begin(), names.end(), name) != names.end();
  }
};

TEST_F(RenameTest, TheEditSelectsTheNameWithoutItsExtensionForFilesAndAllOfAFolder) {
  scratch.MakeFile(u"report.txt");
  scratch.MakeFolder(u"a.b");
  scratch.MakeFile(u".bashrc");
  scratch.MakeFile(u"archive.tar.gz");
  OpenReady();
  const struct {
    const char16_t* query;
    const char16_t* name;
    std::pair<int, int> selection;
  } cases[] = {
      {u"report", u"report.txt", {0, 6}},
      {u"a.b", u"a.b", {0, 3}},
      {u"bashrc", u".bashrc", {0, 7}},
      {u"archive", u"archive.tar.gz", {0, 11}},
  };
  for (const auto& c : cases) {
    ASSERT_GE(SearchAndWait(c.query), 1);
    StartRename(c.name);
    EXPECT_EQ(WindowText(RenameEdit()), c.name);
    EXPECT_EQ(RenameSelection(), c.selection) << testing::PrintToString(std::u16string(c.name));
    EXPECT_EQ(GetFocus(), RenameEdit());

    // Over the name cell of its row, inside the list.
    RECT edit{};
    GetWindowRect(RenameEdit(), &edit);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&edit), 2);
    const MainWindow& w = Window();
    const int64_t row = RowOf(c.name);
    const Rect area = ListArea(Frame());
    const Rect expected =
        RenameEditRect(area.left, w.list.columnWidths[kColumnRowNumber], w.list.columnWidths[kColumnName],
                       w.list.hScrollOffset, static_cast<int32_t>(area.top + row * 44 - w.list.scrollOffset), 44);
    EXPECT_EQ(edit.left, expected.left);
    EXPECT_EQ(edit.top, expected.top);
    EXPECT_EQ(edit.right - edit.left, expected.right - expected.left);

    // Escape leaves the name alone and goes back to the search box, the
    // caret after the query.
    SendMessageW(RenameEdit(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(RenameEdit(), nullptr);
    EXPECT_EQ(GetFocus(), Window().controls.searchEdit);
    DWORD start = 0, end = 0;
    SendMessageW(Window().controls.searchEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, std::u16string_view(c.query).size());
    EXPECT_EQ(end, start);
  }
  EXPECT_TRUE(OnDisk(u"report.txt") && OnDisk(u"a.b") && OnDisk(u".bashrc"));
}

TEST_F(RenameTest, EnterRenamesOnDiskInTheIndexAndInTheRecentListAndTheListShowsItAtOnce) {
  scratch.MakeFile(u"report.txt", "quarterly");
  ASSERT_EQ(OpenAndSearch(u"report"), 1);
  // Opened once before, so the recent list knows it.
  SelectRows({u"report.txt"});
  PressListKey(VK_RETURN);
  ASSERT_EQ(state->recent.Entries().size(), 1u);

  StartRename(u"report.txt");
  TypeAndPress(u"  summary.txt \t", VK_RETURN);  // trimmed
  EXPECT_EQ(RenameEdit(), nullptr);
  EXPECT_TRUE(hookedBoxes.shown.empty());
  EXPECT_TRUE(OnDisk(u"summary.txt"));
  EXPECT_FALSE(OnDisk(u"report.txt"));
  EXPECT_EQ(Cell(0, kColumnName), u"summary.txt") << "the row reads the renamed record";
  EXPECT_EQ(Cell(0, kColumnPath), scratch.Path(u"summary.txt"));
  EXPECT_EQ(Selected(), (std::vector<int64_t>{0}));
  EXPECT_EQ(GetFocus(), hwnd);
  EXPECT_EQ(Window().list.lastClickedRow, -1);
  ASSERT_EQ(state->recent.Entries().size(), 1u);
  EXPECT_EQ(state->recent.Entries().front().path, scratch.Path(u"summary.txt"));

  // Opening it again records the new path, once.
  shell.requests.clear();
  PressListKey(VK_RETURN);
  ASSERT_EQ(shell.requests.size(), 1u);
  EXPECT_EQ(shell.requests.front().file, scratch.Path(u"summary.txt"));
  const std::vector<RecentOpen> recent = state->recent.Entries();
  ASSERT_EQ(recent.size(), 1u);
  EXPECT_EQ(recent.front().path, scratch.Path(u"summary.txt"));
  std::string file;
  ASSERT_TRUE(memory.ReadFile(ConfigPath(u"recent.ini"), file, 1 << 20));
  EXPECT_NE(file.find("summary.txt"), std::string::npos);
  EXPECT_EQ(file.find("report.txt"), std::string::npos);

  // The index itself holds the new name: a search finds it.
  EXPECT_EQ(SearchAndWait(u"summary"), 1);
  EXPECT_EQ(SearchAndWait(u"report"), 0);
}

// Wine's MoveFileW reports success for a change of case only and leaves the
// name as it was; the rename still happens.
TEST_F(RenameTest, AChangeOfCaseOnlyRenamesTheFileOnDisk) {
  scratch.MakeFile(u"notes.txt", "n");
  scratch.MakeFolder(u"photos");
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"notes"), 1);
  StartRename(u"notes.txt");
  TypeAndPress(u"Notes.TXT", VK_RETURN);
  EXPECT_TRUE(OnDisk(u"Notes.TXT"));
  EXPECT_FALSE(OnDisk(u"notes.txt"));
  EXPECT_EQ(scratch.Names().size(), 2u) << "no temporary name is left behind";
  EXPECT_EQ(Cell(0, kColumnName), u"Notes.TXT");
  EXPECT_TRUE(hookedBoxes.shown.empty());

  ASSERT_EQ(SearchAndWait(u"photos"), 1);
  StartRename(u"photos");
  TypeAndPress(u"Photos", VK_RETURN);
  EXPECT_TRUE(OnDisk(u"Photos"));
  EXPECT_FALSE(OnDisk(u"photos"));
}

TEST_F(RenameTest, InvalidCharactersKeepTheEditOpenWithTheMessageAndRenameNothing) {
  scratch.MakeFile(u"report.txt");
  ASSERT_EQ(OpenAndSearch(u"report"), 1);
  StartRename(u"report.txt");
  // A real message box takes the focus from the edit: that must not commit
  // (and show the message) a second time.
  hookedBoxes.onShow = [&] { SetFocus(hwnd); };
  TypeAndPress(u"what?.txt", VK_RETURN);
  ASSERT_EQ(hookedBoxes.shown.size(), 1u);
  EXPECT_EQ(hookedBoxes.shown[0].text, u"The name contains invalid characters and cannot be used.");
  EXPECT_EQ(hookedBoxes.shown[0].title, u"Error");
  EXPECT_EQ(hookedBoxes.shown[0].type, static_cast<UINT>(MB_ICONERROR));
  ASSERT_NE(RenameEdit(), nullptr) << "the edit stays for a correction";
  EXPECT_EQ(GetFocus(), RenameEdit());
  EXPECT_EQ(WindowText(RenameEdit()), u"what?.txt");
  EXPECT_TRUE(OnDisk(u"report.txt"));
  EXPECT_EQ(scratch.Names().size(), 1u);

  // Corrected, it goes through.
  hookedBoxes.onShow = nullptr;
  TypeAndPress(u"what.txt", VK_RETURN);
  EXPECT_TRUE(OnDisk(u"what.txt"));
  EXPECT_EQ(hookedBoxes.shown.size(), 1u);
}

TEST_F(RenameTest, LosingTheFocusCommitsAndTheSameNameOrAnEmptyOneCancels) {
  scratch.MakeFile(u"report.txt");
  scratch.MakeFile(u"report-2.txt");
  ASSERT_EQ(OpenAndSearch(u"report"), 2);
  StartRename(u"report.txt");
  SetWindowTextW(RenameEdit(), L"final.txt");
  SetFocus(Window().controls.searchEdit);
  EXPECT_EQ(RenameEdit(), nullptr);
  EXPECT_TRUE(OnDisk(u"final.txt"));
  EXPECT_EQ(GetFocus(), Window().controls.searchEdit) << "a commit on focus loss leaves the focus where it went";

  for (const char16_t* text : {u"report-2.txt", u"   ", u""}) {
    StartRename(u"report-2.txt");
    TypeAndPress(text, VK_RETURN);
    EXPECT_EQ(RenameEdit(), nullptr);
  }
  EXPECT_TRUE(OnDisk(u"report-2.txt"));
  EXPECT_EQ(scratch.Names().size(), 2u);
  EXPECT_TRUE(hookedBoxes.shown.empty());
}

// A filter pass replaces the rows the list shows, as a new search does: the
// edit would otherwise stay over a row that may now be another file.
TEST_F(RenameTest, AFilterPassCancelsTheRenameAsANewSearchDoes) {
  scratch.MakeFile(u"report.txt");
  scratch.MakeFile(u"report-2.txt");
  ASSERT_EQ(OpenAndSearch(u"report"), 2);
  StartRename(u"report.txt");
  SetWindowTextW(RenameEdit(), L"final.txt");
  RefreshFilteredResultsAsync(Window().session);
  EXPECT_TRUE(PumpUntil([&] { return RenameEdit() == nullptr; }));
  EXPECT_TRUE(OnDisk(u"report.txt"));
  EXPECT_FALSE(OnDisk(u"final.txt"));
}

TEST_F(RenameTest, AFailedMoveSaysSoWithTheErrorAndKeepsTheEdit) {
  scratch.MakeFile(u"report.txt");
  scratch.MakeFile(u"taken.txt");
  ASSERT_EQ(OpenAndSearch(u"report"), 1);
  StartRename(u"report.txt");
  hookedBoxes.onShow = [&] { SetFocus(hwnd); };
  TypeAndPress(u"taken.txt", VK_RETURN);
  ASSERT_EQ(hookedBoxes.shown.size(), 1u);
  EXPECT_EQ(hookedBoxes.shown[0].text, u"Rename failed.\nError code: 183");  // ERROR_ALREADY_EXISTS
  ASSERT_NE(RenameEdit(), nullptr);
  EXPECT_EQ(GetFocus(), RenameEdit());
  EXPECT_EQ(RenameSelection(), (std::pair<int, int>{0, 9})) << "all of it selected for a correction";
  EXPECT_TRUE(OnDisk(u"report.txt"));
}

TEST_F(RenameTest, F2WorksOnlyInTheListViewOnARowInViewAndNotFromTheEditItself) {
  scratch.MakeFile(u"report.txt");
  ASSERT_EQ(OpenAndSearch(u"report"), 1);
  SelectRows({u"report.txt"});
  // From the search box too.
  PressKey(Window().controls.searchEdit, VK_F2);
  const HWND edit = RenameEdit();
  ASSERT_NE(edit, nullptr);
  // F2 in the edit is the edit's own: no second edit, nothing else.
  PressKey(edit, VK_F2);
  EXPECT_EQ(RenameEdit(), edit);
  CancelRename(Window(), false);

  RunListCommand(Window(), 10019);  // small icons
  PressListKey(VK_F2);
  EXPECT_EQ(RenameEdit(), nullptr);
  RunListCommand(Window(), 10018);
  Window().list.selection.Clear();
  PressListKey(VK_F2);
  EXPECT_EQ(RenameEdit(), nullptr) << "no focused row";
}

}  // namespace
}  // namespace quillmor
