// The main window as a user meets it: start-up, typing, stale results, the
// scope box and closing.
#include <shared_mutex>

#include "app/core/window_ids.h"
#include "settings/background_task.h"
#include "tests/app/win32/window_fixture.h"

namespace quillmor {
namespace {

class MainWindowTest : public WindowFixture {
 protected:
  // C: NTFS with C:\docs\report.pdf and C:\docs\report.txt; E: walked, with
  // E:\notes\report-old.txt and E:\notes\todo.md.
  void TwoDrives() {
    const uint64_t docs = ntfsC.AddExistingFile(kRoot, u"docs", true);
    ntfsC.AddExistingFile(docs, u"report.pdf");
    ntfsC.AddExistingFile(docs, u"report.txt");
    MountNtfs(u'C', ntfsC);
    AddWalkedDrive(u'E', u"exFAT", u"USB");
    memory.AddFile(u"E:\\notes\\report-old.txt", "old");
    memory.AddFile(u"E:\\notes\\todo.md", "todo");
  }

  std::vector<std::u16string> ScopeEntries() {
    const HWND box = Window().controls.scopeBox;
    std::vector<std::u16string> entries;
    const int count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      const int length = static_cast<int>(SendMessageW(box, CB_GETLBTEXTLEN, i, 0));
      std::u16string text(static_cast<size_t>(length) + 1, u'\0');
      SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
      text.resize(static_cast<size_t>(length));
      entries.push_back(text);
    }
    return entries;
  }
};

TEST_F(MainWindowTest, TitleSaysInitializingUntilTheIndexIsReady) {
  TwoDrives();
  Open();
  EXPECT_TRUE(Title().starts_with(u"Initializing")) << testing::PrintToString(Title());
  EXPECT_FALSE(IsWindowEnabled(Window().controls.searchEdit));
  ASSERT_TRUE(PumpUntil([&] { return SettledCount() >= 0; })) << testing::PrintToString(Title());
  EXPECT_TRUE(IsWindowEnabled(Window().controls.searchEdit));
}

TEST_F(MainWindowTest, TypedQueryReportsItsHitsInTheTitle) {
  TwoDrives();
  OpenReady();
  EXPECT_EQ(SearchAndWait(u"report"), 3);
  EXPECT_EQ(SearchAndWait(u"report and txt"), 2);
  EXPECT_EQ(SearchAndWait(u"nothing-like-this"), 0);
}

TEST_F(MainWindowTest, StaleSearchResultsChangeNothing) {
  TwoDrives();
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"todo"), 1);
  const std::u16string title = Title();
  const uint64_t stale = state->results.searchGeneration.load() - 1;
  PostMessageW(hwnd, WMU_SEARCH_RESULTS, stale, 0);
  PostMessageW(hwnd, WMU_SEARCH_RESULTS, stale, 2);
  PumpFor(300);
  EXPECT_EQ(Title(), title);
}

TEST_F(MainWindowTest, APartialBatchShowsItsCountInTheTitleAndTheStatusLine) {
  TwoDrives();
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"report"), 3);
  const HWND status = Window().controls.statusLine;
  EXPECT_FALSE(IsWindowVisible(status));  // the filter pass cleared it
  const uint64_t current = state->results.searchGeneration.load();

  PostMessageW(hwnd, WMU_SEARCH_RESULTS, current, 2);
  ASSERT_TRUE(WaitForTitle(u"Quillmor - 3+ results...")) << testing::PrintToString(Title());
  EXPECT_EQ(WindowText(status), u"Searching... showing 3 results");
  EXPECT_TRUE(IsWindowVisible(status));

  // The final batch names the count, then the filter pass settles it.
  PostMessageW(hwnd, WMU_SEARCH_RESULTS, current, 0);
  ASSERT_TRUE(WaitForTitle(u"Quillmor - Filter: All Files | Hits: 3")) << testing::PrintToString(Title());
  EXPECT_FALSE(IsWindowVisible(status));
}

TEST_F(MainWindowTest, EscapeCancelsOnlyAContentSearch) {
  TwoDrives();
  OpenReady();
  const HWND status = Window().controls.statusLine;

  TypeQuery(u"todo");
  const uint64_t before = state->results.searchGeneration.load();
  PressKeyInSearchBox(VK_ESCAPE);
  EXPECT_EQ(state->results.searchGeneration.load(), before);
  EXPECT_NE(WindowText(status), u"Content search canceled.");

  TypeQuery(u"s:budget");
  PumpFor(400);  // a content query waits for Enter: no search starts by itself
  const uint64_t waiting = state->results.searchGeneration.load();
  PressKeyInSearchBox(VK_ESCAPE);
  EXPECT_EQ(state->results.searchGeneration.load(), waiting + 1);
  EXPECT_EQ(WindowText(status), u"Content search canceled.");
}

// The default processing of the activation focuses the window itself; the
// search box must still have the focus afterwards, its text selected.
TEST_F(MainWindowTest, ActivationPutsTheFocusInTheSearchBox) {
  TwoDrives();
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"todo"), 1);
  const HWND edit = Window().controls.searchEdit;
  for (const WPARAM activation : {WA_ACTIVE, WA_CLICKACTIVE}) {
    SetFocus(hwnd);
    SendMessageW(hwnd, WM_ACTIVATE, activation, 0);
    EXPECT_EQ(GetFocus(), edit) << activation;
    DWORD start = 1, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);
  }
}

TEST_F(MainWindowTest, ScopeBoxListsAllDesktopAndEachVolume) {
  TwoDrives();
  OpenReady();
  EXPECT_EQ(ScopeEntries(), (std::vector<std::u16string>{u"ALL", u"Desktop", u"Local Disk (C:)", u"USB(E:)"}));
  EXPECT_EQ(SendMessageW(Window().controls.scopeBox, CB_GETCURSEL, 0, 0), 0);
}

// The box leaves out a volume that is not available; the entries after it
// used to search the volume one place before theirs.
TEST_F(MainWindowTest, AScopeEntryAfterAnUnavailableVolumeSearchesItsOwnDrive) {
  TwoDrives();
  OpenReady();
  state->engine.SnapshotVolumes().at(0)->available = 0;  // C:
  SendMessageW(hwnd, WMU_VOLUMES_SYNCED, 0, 0);
  ASSERT_EQ(ScopeEntries(), (std::vector<std::u16string>{u"ALL", u"Desktop", u"USB(E:)"}));

  const HWND box = Window().controls.scopeBox;
  SendMessageW(box, CB_SETCURSEL, 2, 0);
  SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(kIdScopeBox, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
  EXPECT_EQ(SearchAndWait(u"report"), 1);  // E:\notes\report-old.txt
  EXPECT_EQ(SearchAndWait(u"todo"), 1);
}

TEST_F(MainWindowTest, EjectingADriveReleasesItAndTheScopeBoxForgetsIt) {
  TwoDrives();
  OpenReady();
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << ('E' - 'A');
  const auto data = reinterpret_cast<LPARAM>(&volume);

  EXPECT_EQ(SendMessageW(hwnd, WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE, data), TRUE);
  EXPECT_EQ(WindowText(Window().controls.statusLine), u"Drive eject detected; handles were released early.");
  EXPECT_EQ(SendMessageW(hwnd, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, data), TRUE);
  EXPECT_EQ(WindowText(Window().controls.statusLine), u"A disk was removed; the selection was updated automatically.");
  EXPECT_EQ(ScopeEntries(), (std::vector<std::u16string>{u"ALL", u"Desktop", u"Local Disk (C:)"}));

  // A drive the index does not hold changes nothing.
  SetWindowTextW(Window().controls.statusLine, L"");
  volume.dbcv_unitmask = 1u << ('Q' - 'A');
  EXPECT_EQ(SendMessageW(hwnd, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, data), TRUE);
  EXPECT_EQ(WindowText(Window().controls.statusLine), u"");
}

TEST_F(MainWindowTest, CloseHidesToTheNotificationAreaWhileTheEngineIsReady) {
  TwoDrives();
  OpenReady();
  ASSERT_TRUE(Window().trayIconPresent) << "the notification icon could not be added";
  SearchAndWait(u"todo");

  // A posted close only hides.
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_EQ(WindowText(Window().controls.searchEdit), u"todo");

  // The title bar's close button also resets the view.
  ShowWindow(hwnd, SW_SHOW);
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_EQ(WindowText(Window().controls.searchEdit), u"");
}

TEST_F(MainWindowTest, ExitDestroysTheWindowAndWritesWindowIni) {
  TwoDrives();
  OpenReady();
  Exit();
  EXPECT_TRUE(memory.Contents(ConfigPath(u"window.ini")).has_value());
}

// Windows may end the process after WM_ENDSESSION without destroying the
// window: what the window's end saves is saved then.
TEST_F(MainWindowTest, TheEndOfTheSessionSavesWhatTheWindowsEndWould) {
  TwoDrives();
  OpenReady();
  const std::u16string windowIni = ConfigPath(u"window.ini");
  const std::u16string cache = ConfigPath(u"attrcache.v1.bin");
  memory.DeleteFile(windowIni);
  memory.DeleteFile(cache);

  SendMessageW(hwnd, WM_ENDSESSION, FALSE, 0);  // the end was cancelled
  EXPECT_FALSE(memory.Exists(windowIni));
  EXPECT_FALSE(memory.Exists(cache));

  SendMessageW(hwnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_TRUE(memory.Exists(windowIni));
  EXPECT_TRUE(memory.Exists(cache));
  EXPECT_TRUE(IsWindow(hwnd));
}

// The search state used to die with the window while a search or a filter
// pass that was still running went on using it.
TEST_F(MainWindowTest, JobsStillRunningWhenTheWindowEndsFinishQuietly) {
  TwoDrives();
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"report"), 3);
  const uint64_t filterGeneration = state->session.filterGeneration.load();
  const uint64_t searchGeneration = state->results.searchGeneration.load();
  {
    // Both jobs wait at E:'s records (a walked drive: no monitor needs them
    // while the window ends) until the window is gone.
    const VolumePtr e = state->engine.SnapshotVolumes().at(1);
    ASSERT_EQ(e->drive, u"E:");
    std::unique_lock hold(e->recordsLock);
    SendMessageW(Window().controls.tagButtons.at(2), BM_CLICK, 0, 0);  // a filter pass over the three rows
    TypeQuery(u"todo");
    PressKeyInSearchBox(VK_RETURN);
    ASSERT_EQ(state->session.filterGeneration.load(), filterGeneration + 1);
    ASSERT_EQ(state->results.searchGeneration.load(), searchGeneration + 1);
    Exit();
  }
  WaitForBackgroundTasks();
  // Past the shutdown they publish nothing, and the state they used is whole.
  EXPECT_EQ(SnapshotResults(state->results)->size(), 3u);
  EXPECT_EQ(state->session.filterGeneration.load(), filterGeneration + 1);
  EXPECT_EQ(state->session.filtered, nullptr);
  EXPECT_EQ(state->view.SearchText(), u"todo");
}

}  // namespace
}  // namespace quillmor
