// The notification icon, its menu's commands, the two hotkeys and capture
// mode, in the real main window over simulated drives.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/core/tray_menu_items.h"
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "settings/localisation.h"
#include "settings/localisation_languages.h"
#include "tests/app/win32/window_fixture.h"

namespace quillmor {
namespace {

// Key names as a keyboard gives them, for the keys these tests press.
class NamedKeysSystem : public FakeSystemInfo {
 public:
  std::u16string KeyName(uint32_t key) override {
    if (key >= VK_F1 && key <= VK_F12) {
      const std::string name = "F" + std::to_string(key - VK_F1 + 1);
      return std::u16string(name.begin(), name.end());
    }
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::u16string(1, static_cast<char16_t>(key));
    return {};
  }
};

// schtasks and the Run value as the tests set them.
class FakeAutostart : public AutostartSystem {
 public:
  bool RunSchtasks(std::span<const std::u16string> arguments, uint32_t& exitCode, uint32_t) override {
    verbs.push_back(arguments.empty() ? u"" : arguments[0]);
    if (arguments[0] == u"/Create") {
      exitCode = createExitCode;
      taskPresent = createExitCode == 0;
    } else if (arguments[0] == u"/Delete") {
      exitCode = 0;
      taskPresent = false;
    } else {
      exitCode = taskPresent ? 0 : 1;
    }
    return true;
  }
  bool IsRunValuePresent() override { return false; }
  bool DeleteRunValue(uint32_t& error) override {
    error = 2;
    return true;
  }
  std::u16string ExecutablePath() override { return u"C:\\Program Files\\Quillmor\\Quillmor.exe"; }

  bool taskPresent = false;
  uint32_t createExitCode = 0;
  std::vector<std::u16string> verbs;
};

class TrayTest : public WindowFixture {
 protected:
  TrayTest() {
    named.tempPath = system.tempPath;
    appEnv.core.system = &named;
    appEnv.autostart = &autostart;
    appEnv.shell = &shell;
    const uint64_t docs = ntfsC.AddExistingFile(kRoot, u"docs", true);
    ntfsC.AddExistingFile(docs, u"report.txt");
    MountNtfs(u'C', ntfsC);
  }
  ~TrayTest() override { SetKeys({}); }

  // Holds exactly these keys for GetKeyState on this thread.
  static void SetKeys(std::initializer_list<int> held) {
    BYTE keys[256] = {};
    for (const int key : held) keys[key] = 0x80;
    SetKeyboardState(keys);
  }
  // A key pressed while `held` are down, sent to the main window as the
  // keyboard would.
  void Press(UINT key, std::initializer_list<int> held = {}) {
    SetKeys(held);
    const bool alt = std::find(held.begin(), held.end(), VK_MENU) != held.end();
    const bool control = std::find(held.begin(), held.end(), VK_CONTROL) != held.end();
    SendMessageW(hwnd, alt && !control ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
    SetKeys({});
  }
  void Command(int id) { SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  std::u16string Status() { return WindowText(Window().controls.statusLine); }
  std::u16string Tip() { return win32::FromWide(Window().tray.data.szTip); }

  // The settings file's lines without the byte-order mark and line ends.
  std::map<std::string, std::string> SettingsFile(std::u16string_view name) {
    std::map<std::string, std::string> values;
    std::string bytes = memory.Contents(ConfigPath(name)).value_or("");
    if (bytes.empty()) return values;
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    size_t start = 0;
    while (start < bytes.size()) {
      size_t end = bytes.find('\n', start);
      if (end == std::string::npos) end = bytes.size();
      std::string line = bytes.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const size_t eq = line.find('=');
      if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
      start = end + 1;
    }
    return values;
  }

  // Whether the pair is registered as a hotkey by anyone: this thread
  // cannot register it too.
  static bool HotkeyTaken(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 0xBEEF, modifiers, key)) return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
    UnregisterHotKey(nullptr, 0xBEEF);
    return false;
  }

  RecordingMessageBoxes::Shown LastBox() {
    return boxes.shown.empty() ? RecordingMessageBoxes::Shown{} : boxes.shown.back();
  }

  NamedKeysSystem named;
  FakeAutostart autostart;
  RecordingShell shell;
};

TEST_F(TrayTest, IconRecordAndDefaultTooltip) {
  OpenReady();
  const NOTIFYICONDATAW& data = Window().tray.data;
  EXPECT_EQ(data.cbSize, 976u);
  EXPECT_EQ(data.hWnd, hwnd);
  EXPECT_EQ(data.uID, 1u);
  EXPECT_EQ(data.uFlags, 7u);
  EXPECT_EQ(data.uCallbackMessage, 0x8001u);
  EXPECT_NE(data.hIcon, nullptr);
  EXPECT_EQ(Tip(), u"Quillmor - Alt+Z Show/Hide");
  EXPECT_TRUE(Window().trayIconPresent);
  EXPECT_FALSE(KillTimer(hwnd, ID_TIMER_TRAY_RETRY)) << "the icon was added: no retry timer";
}

// Wine's shell keeps the icon when "TaskbarCreated" arrives: NIM_ADD fails
// and NIM_MODIFY succeeds. The icon counts as there; nothing retries.
TEST_F(TrayTest, TaskbarCreatedWhileTheShellHoldsTheIconKeepsItWithoutRetrying) {
  OpenReady();
  SendMessageW(hwnd, Window().taskbarCreatedMessage, 0, 0);
  EXPECT_TRUE(Window().trayIconPresent);
  EXPECT_FALSE(KillTimer(hwnd, ID_TIMER_TRAY_RETRY));
  // Exactly one icon: it can be deleted once.
  NOTIFYICONDATAW data = Window().tray.data;
  EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &data));
  // Once the shell has lost it, the next "TaskbarCreated" adds it again.
  SendMessageW(hwnd, Window().taskbarCreatedMessage, 0, 0);
  EXPECT_TRUE(Window().trayIconPresent);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &data));
}

TEST_F(TrayTest, TranslatedTipWithoutPlaceholderGetsTheHotkeyAppended) {
  OpenReady();
  StringTable table = StringTableOf(u"en-us");
  table[u"TrayTip"] = u"Quillmor (hotkey)";
  InstallActiveLanguage(u"xx-yy", std::make_shared<const StringTable>(table), false);
  UpdateTrayTip(Window());
  EXPECT_EQ(Tip(), u"Quillmor (hotkey) Alt+Z");
}

// "id:label" and "*" when checked, "-" for a separator, "label>" for a
// submenu, for each item of `menu`.
std::vector<std::u16string> Items(HMENU menu) {
  std::vector<std::u16string> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 255;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    const std::u16string label = win32::FromWide(text);
    if (info.fType & MFT_SEPARATOR) {
      items.push_back(u"-");
    } else if (info.hSubMenu != nullptr) {
      items.push_back(label + u">");
    } else {
      const std::string id = std::to_string(info.wID);
      items.push_back(std::u16string(id.begin(), id.end()) + u":" + label + ((info.fState & MFS_CHECKED) ? u"*" : u""));
    }
  }
  return items;
}

TEST_F(TrayTest, MenuFollowsTheWindowsSettingsAndTheSystemsAutostart) {
  OpenReady();
  state->window.darkTheme = true;
  state->window.tableGridLines = true;
  autostart.taskPresent = true;
  const HMENU menu = CreateTrayMenu(Window());
  EXPECT_EQ(Items(menu),
            (std::vector<std::u16string>{u"20004:Homepage", u"Language>", u"Features>", u"20005:Run on Startup*",
                                         u"20006:Clear Recent Opens", u"20001:Show Window",
                                         u"20021:Global Memory Trim (toggle)", u"-", u"20002:Exit"}));
  EXPECT_EQ(Items(GetSubMenu(menu, 2)),
            (std::vector<std::u16string>{u"20012:Initial search (on/off)*", u"-", u"20008:Filter Layout: Sidebar*",
                                         u"20009:Filter Layout: Top Bar", u"20022:Result Grid Lines (toggle)*",
                                         u"20024:Theme: Dark/Light*", u"-", u"20007:Set Show/Hide Hotkey",
                                         u"20023:Set hotkey: foreground app in Explorer"}));
  const std::vector<std::u16string> languages = Items(GetSubMenu(menu, 1));
  ASSERT_EQ(languages.size(), AvailableLanguages().size() + 2);
  EXPECT_EQ(languages[1], u"20101:English (US)");
  EXPECT_EQ(languages[2], u"20102:Deutsch (DE)");
  EXPECT_EQ(languages[languages.size() - 2], u"-");
  EXPECT_EQ(languages.back(), u"20020:Open Language Folder");
  DestroyMenu(menu);
  EXPECT_EQ(autostart.verbs, std::vector<std::u16string>{u"/Query"}) << "the check mark asks schtasks each time";
}

TEST_F(TrayTest, ToggleCommandsSaveWindowIniAndSayWhatTheyDid) {
  OpenReady();
  Command(kTrayInitialSearch);
  EXPECT_EQ(Status(), u"Initial search disabled.");
  EXPECT_FALSE(Window().session.initialSearch.load());
  EXPECT_EQ(SettingsFile(u"window.ini")["initialSearchEnabled"], "0");
  Command(kTrayInitialSearch);
  EXPECT_EQ(Status(), u"Initial search enabled.");
  EXPECT_EQ(SettingsFile(u"window.ini")["initialSearchEnabled"], "1");

  Command(kTrayGridLines);
  EXPECT_EQ(Status(), u"Result grid lines: On");
  EXPECT_EQ(SettingsFile(u"window.ini")["tableGridLines"], "1");

  Command(kTrayGlobalTrim);
  EXPECT_EQ(Status(), u"Global memory trim: On");
  EXPECT_EQ(SettingsFile(u"window.ini")["globalTrimOnToggle"], "1");

  Command(kTrayTheme);
  EXPECT_EQ(Status(), u"主题：暗色");
  EXPECT_EQ(SettingsFile(u"window.ini")["themeMode"], "dark");
  Command(kTrayTheme);
  EXPECT_EQ(Status(), u"主题：亮色");

  Command(kTrayLayoutTopBar);
  EXPECT_EQ(SettingsFile(u"window.ini")["filterLayout"], "topbar");
  Command(kTrayLayoutSidebar);
  EXPECT_EQ(SettingsFile(u"window.ini")["filterLayout"], "sidebar");
}

TEST_F(TrayTest, ClearRecentEmptiesTheListAndItsFile) {
  OpenReady();
  state->recent.RecordOpen(appEnv.core, std::nullopt, u"C:\\docs\\report.txt");
  ASSERT_EQ(state->recent.Entries().size(), 1u);
  Command(kTrayClearRecent);
  EXPECT_TRUE(state->recent.Entries().empty());
  const std::optional<std::string> bytes = memory.Contents(ConfigPath(u"recent.ini"));
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(bytes->find("report"), std::string::npos);
}

TEST_F(TrayTest, AutostartCommandTogglesAndReportsAFailure) {
  OpenReady();
  Command(kTrayAutostart);
  EXPECT_TRUE(autostart.taskPresent);
  EXPECT_TRUE(boxes.shown.empty());
  Command(kTrayAutostart);
  EXPECT_FALSE(autostart.taskPresent);
  EXPECT_EQ(autostart.verbs, (std::vector<std::u16string>{u"/Query", u"/Create", u"/Query", u"/Query", u"/Delete"}));

  autostart.createExitCode = 1;
  Command(kTrayAutostart);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(LastBox().text,
            u"Failed to create startup task.\nTask exit code: 1\nTip: run app as administrator and enable again.");
  EXPECT_EQ(LastBox().title, u"Error");
  EXPECT_EQ(LastBox().type, static_cast<UINT>(MB_ICONERROR));
}

TEST_F(TrayTest, LanguageCommandSwitchesAndSaysSoInTheNewLanguage) {
  OpenReady();
  Command(kTrayFirstLanguage + 2);  // de-de, the third built-in language
  EXPECT_EQ(CurrentLanguageCode(), u"de-de");
  EXPECT_EQ(Status(), Translate(u"LanguageChanged", u"", u"") + u"Deutsch (DE)");
  EXPECT_NE(Status(), u"Language switched: Deutsch (DE)");
  EXPECT_EQ(Tip(), u"Quillmor - Alt+Z Anzeigen/Ausblenden");
  const std::map<std::string, std::string> language = SettingsFile(u"language.ini");
  EXPECT_EQ(language.at("lang"), "de-de");
  Command(kTrayFirstLanguage + 1);
  EXPECT_EQ(Status(), u"Language switched: English (US)");
  // Beyond the list: nothing.
  Command(kTrayFirstLanguage + static_cast<int>(AvailableLanguages().size()));
  EXPECT_EQ(CurrentLanguageCode(), u"en-us");
}

TEST_F(TrayTest, HomepageAndLanguageFolderOpenThroughTheShell) {
  OpenReady();
  Command(kTrayHomepage);
  Command(kTrayOpenLanguageFolder);
  const std::u16string folder = LanguageFolderPath(appEnv.core);
  EXPECT_EQ(shell.requests, (std::vector<ShellRequest>{{u"open", u"https://quillmor.app", u"", false, 0, SW_SHOWNORMAL},
                                                       {u"open", folder, u"", false, 0, SW_SHOWNORMAL}}));
  EXPECT_TRUE(memory.IsDirectory(folder)) << "made before it is opened";
}

// Explorer with the foreground program selected: this test program, whose
// window is in front.
TEST_F(TrayTest, ForegroundAppHotkeyOpensExplorerOnTheProgramInFront) {
  OpenReady();
  SetForegroundWindow(hwnd);
  if (GetForegroundWindow() != hwnd) GTEST_SKIP() << "the display gives this window no foreground";
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  const LPARAM pair = MAKELPARAM(MOD_CONTROL | MOD_SHIFT, 'O');
  SendMessageW(hwnd, WM_HOTKEY, kHotkeyForegroundApp, pair);
  ASSERT_EQ(shell.requests.size(), 1u);
  const ShellRequest& request = shell.requests[0];
  EXPECT_EQ(request.verb, u"") << "the default verb";
  EXPECT_EQ(request.file, win32::FromWide(windows) + u"\\explorer.exe");
  EXPECT_EQ(request.parameters, u"/select,\"" + win32::FromWide(module) + u"\"");
  EXPECT_FALSE(request.extended);
  EXPECT_TRUE(boxes.shown.empty());

  shell.answer = false;  // Explorer did not start
  SendMessageW(hwnd, WM_HOTKEY, kHotkeyForegroundApp, pair);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(LastBox().text, u"Could not get the foreground process path (it may be protected).");
  EXPECT_EQ(LastBox().title, u"Information");
  EXPECT_EQ(LastBox().type, static_cast<UINT>(MB_ICONINFORMATION));
}

TEST_F(TrayTest, ShowWindowAndExitCommands) {
  OpenReady();
  ShowWindow(hwnd, SW_HIDE);
  Command(kTrayShowWindow);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  Command(kTrayExit);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }));
}

TEST_F(TrayTest, DoubleClickOnTheIconShowsTheWindow) {
  OpenReady();
  ShowWindow(hwnd, SW_HIDE);
  SendMessageW(hwnd, WMU_TRAY_CALLBACK, 1, WM_LBUTTONUP);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  SendMessageW(hwnd, WMU_TRAY_CALLBACK, 1, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(TrayTest, ShowHideHotkeyHidesAndTrimsThenShowsWithTheSearchBoxFocused) {
  state->window.globalTrimOnToggle = true;
  OpenReady();
  SendMessageW(hwnd, WM_HOTKEY, kHotkeyShowHide, MAKELPARAM(MOD_ALT, 'Z'));
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_TRUE(PumpUntil([&] { return named.trims.load() >= 1 && named.globalTrims.load() >= 1; }));
  SendMessageW(hwnd, WM_HOTKEY, kHotkeyShowHide, MAKELPARAM(MOD_ALT, 'Z'));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(GetFocus(), Window().controls.searchEdit);
}

TEST_F(TrayTest, ShowingAWindowThatNoMonitorShowsCentresItOnThePrimaryScreen) {
  OpenReady();
  ShowWindow(hwnd, SW_HIDE);
  SetWindowPos(hwnd, nullptr, -30000, -30000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT before{};
  GetWindowRect(hwnd, &before);
  SendMessageW(hwnd, WM_HOTKEY, kHotkeyShowHide, MAKELPARAM(MOD_ALT, 'Z'));
  RECT after{};
  GetWindowRect(hwnd, &after);
  EXPECT_NE(MonitorFromRect(&after, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.left, std::max(0L, (GetSystemMetrics(SM_CXSCREEN) - (after.right - after.left)) / 2));
  EXPECT_EQ(after.top, std::max(0L, (GetSystemMetrics(SM_CYSCREEN) - (after.bottom - after.top)) / 2));
}

TEST_F(TrayTest, HiddenStartSearchesWhenFirstShown) {
  Open(true);
  ASSERT_TRUE(PumpUntil([&] { return Window().pending.deferredWarmup.load(); }));
  EXPECT_FALSE(IsWindowVisible(hwnd));
  const uint64_t before = state->results.searchGeneration.load();
  SendMessageW(hwnd, WM_HOTKEY, kHotkeyShowHide, MAKELPARAM(MOD_ALT, 'Z'));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_FALSE(Window().pending.deferredWarmup.load());
  EXPECT_GT(state->results.searchGeneration.load(), before);
  EXPECT_TRUE(PumpUntil([&] { return SettledCount() >= 0; }));
}

TEST_F(TrayTest, CaptureSetsCtrlAltF5AndSavesHotkeyIni) {
  OpenReady();
  const std::u16string title = Title();
  Command(kTraySetHotkey);
  EXPECT_EQ(Title(), u"Press a new hotkey combination (include Ctrl / Alt / Shift, Esc to cancel)");
  EXPECT_TRUE(Window().hotkeyCapture.active);
  PumpFor(400);  // the balloon's timer fires; capture goes on
  EXPECT_TRUE(Window().hotkeyCapture.active);

  Press(VK_CONTROL, {VK_CONTROL});
  Press(VK_MENU, {VK_CONTROL, VK_MENU});
  EXPECT_TRUE(boxes.shown.empty()) << "modifiers alone wait for the main key";
  Press(VK_F5, {VK_CONTROL, VK_MENU});
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(LastBox().text, u"Hotkey set to: Ctrl+Alt+F5");
  EXPECT_EQ(LastBox().title, u"Completed");
  EXPECT_EQ(LastBox().type, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_FALSE(Window().hotkeyCapture.active);
  EXPECT_EQ(Title(), title);
  EXPECT_EQ(Tip(), u"Quillmor - Ctrl+Alt+F5 Show/Hide");
  EXPECT_TRUE(HotkeyTaken(MOD_CONTROL | MOD_ALT, VK_F5));
  EXPECT_FALSE(HotkeyTaken(MOD_ALT | MOD_CONTROL | MOD_SHIFT, 'Z'));
  const std::map<std::string, std::string> ini = SettingsFile(u"hotkey.ini");
  EXPECT_EQ(ini, (std::map<std::string, std::string>{
                     {"modifiers", "3"}, {"key", "116"}, {"fg_modifiers", "6"}, {"fg_key", "79"}}));
}

TEST_F(TrayTest, CaptureRefusesAKeyWithoutModifierAndTheOtherHotkeysPair) {
  OpenReady();
  Command(kTraySetHotkey);
  Press(VK_F5);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(LastBox().text, u"Hotkey must include Ctrl, Alt, or Shift.");
  EXPECT_EQ(LastBox().title, u"Information");
  EXPECT_TRUE(Window().hotkeyCapture.active);

  Press('O', {VK_CONTROL, VK_SHIFT});
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(LastBox().text, u"This combination is already used by another hotkey.");
  EXPECT_EQ(LastBox().title, u"Error");
  EXPECT_EQ(LastBox().type, static_cast<UINT>(MB_ICONERROR));
  EXPECT_TRUE(Window().hotkeyCapture.active);

  // Pressed for real, a registered combination arrives as WM_HOTKEY: while
  // capturing it is taken as the keys, not as the hotkey.
  SendMessageW(hwnd, WM_HOTKEY, kHotkeyForegroundApp, MAKELPARAM(MOD_CONTROL | MOD_SHIFT, 'O'));
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(LastBox().text, u"This combination is already used by another hotkey.");
  EXPECT_TRUE(IsWindowVisible(hwnd));

  // Esc, here through the search box, ends the capture with nothing saved.
  PressKeyInSearchBox(VK_ESCAPE);
  EXPECT_FALSE(Window().hotkeyCapture.active);
  EXPECT_FALSE(memory.Exists(ConfigPath(u"hotkey.ini")));
  EXPECT_EQ(state->hotkeys.modifiers, static_cast<uint32_t>(MOD_ALT));
}

TEST_F(TrayTest, CaptureOfTheForegroundHotkeyKeepsTheTooltip) {
  OpenReady();
  Command(kTraySetForegroundHotkey);
  EXPECT_EQ(Title(),
            u"Press a hotkey for \"open foreground app in Explorer\" (Ctrl / Alt / Shift required, Esc to cancel)");
  // The show/hide pair is the other hotkey now.
  SendMessageW(hwnd, WM_HOTKEY, kHotkeyShowHide, MAKELPARAM(MOD_ALT, 'Z'));
  EXPECT_EQ(LastBox().text, u"This combination is already used by another hotkey.");
  EXPECT_TRUE(IsWindowVisible(hwnd));
  Press(VK_F6, {VK_MENU, VK_SHIFT});
  EXPECT_EQ(LastBox().text, u"Foreground app location hotkey set to: Alt+Shift+F6");
  EXPECT_EQ(Tip(), u"Quillmor - Alt+Z Show/Hide");
  EXPECT_TRUE(HotkeyTaken(MOD_ALT | MOD_SHIFT, VK_F6));
  EXPECT_EQ(SettingsFile(u"hotkey.ini")["fg_modifiers"], "5");
  EXPECT_EQ(SettingsFile(u"hotkey.ini")["fg_key"], "117");
}

TEST_F(TrayTest, CaptureThatCannotRegisterKeepsThePreviousPair) {
  // A pair of this test's own, so that no other program running meanwhile
  // holds it.
  state->hotkeys.modifiers = MOD_CONTROL | MOD_ALT;
  state->hotkeys.key = VK_F9;
  OpenReady();
  ASSERT_TRUE(HotkeyTaken(MOD_CONTROL | MOD_ALT, VK_F9));
  ASSERT_TRUE(RegisterHotKey(nullptr, 0xF7, MOD_CONTROL | MOD_ALT, VK_F7));  // someone else's
  Command(kTraySetHotkey);
  Press(VK_F7, {VK_CONTROL, VK_MENU});
  UnregisterHotKey(nullptr, 0xF7);
  EXPECT_EQ(LastBox().text, u"Failed to register hotkey. Try another combination.");
  EXPECT_EQ(LastBox().type, static_cast<UINT>(MB_ICONERROR));
  EXPECT_TRUE(Window().hotkeyCapture.active);
  EXPECT_TRUE(HotkeyTaken(MOD_CONTROL | MOD_ALT, VK_F9)) << "the previous pair is registered again";
  EXPECT_EQ(state->hotkeys.key, static_cast<uint32_t>(VK_F9));
  EXPECT_FALSE(memory.Exists(ConfigPath(u"hotkey.ini")));
}

TEST_F(TrayTest, RegisterShowHideHotkeyRefusesTheForegroundPairAndSavesOnlyWhenAsked) {
  OpenReady();
  EXPECT_FALSE(RegisterShowHideHotkey(Window(), MOD_CONTROL | MOD_SHIFT, 'O', true));
  EXPECT_TRUE(RegisterShowHideHotkey(Window(), MOD_CONTROL | MOD_ALT, VK_F8, false));
  EXPECT_EQ(Tip(), u"Quillmor - Ctrl+Alt+F8 Show/Hide");
  EXPECT_FALSE(memory.Exists(ConfigPath(u"hotkey.ini")));
  // Not Alt+Z: a window of another test program running beside this one
  // holds it.
  EXPECT_TRUE(RegisterShowHideHotkey(Window(), MOD_CONTROL | MOD_SHIFT, VK_F7, true));
  EXPECT_EQ(SettingsFile(u"hotkey.ini")["modifiers"], "6");
  EXPECT_EQ(SettingsFile(u"hotkey.ini")["key"], "118");
}

}  // namespace
}  // namespace quillmor
