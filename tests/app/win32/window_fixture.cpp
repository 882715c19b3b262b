#include "tests/app/win32/window_fixture.h"

#include <chrono>
#include <cstdlib>
#include <memory>

#include "app/core/window_ids.h"
#include "app/theme.h"
#include "index/drive_poller.h"
#include "platform/shutdown.h"
#include "platform/win32_constants.h"
#include "search/filters_file.h"
#include "settings/background_task.h"
#include "settings/localisation.h"

namespace quillmor {

int RecordingMessageBoxes::Show(HWND, std::u16string_view text, std::u16string_view title, UINT type) {
  shown.push_back({std::u16string(text), std::u16string(title), type});
  return answer;
}

bool RecordingShell::Execute(HWND, const ShellRequest& request) {
  requests.push_back(request);
  return answer;
}

WindowFixture::WindowFixture() : memory(DefaultEnv().clock) {
  g_shutdown = false;
  InstallActiveLanguage(u"en-us", std::make_shared<const StringTable>(StringTableOf(u"en-us")), false);
  memory.RemoveDrive(u'C');
  system.tempPath = u".\\";
  appEnv.core = DefaultEnv();
  appEnv.core.files = &files;
  appEnv.core.volumes = &devices;
  appEnv.core.system = &system;
  appEnv.boxes = &boxes;
  state = std::make_unique<AppState>(appEnv);
  state->instance = GetModuleHandleW(nullptr);
}

WindowFixture::~WindowFixture() {
  if (hwnd != nullptr && IsWindow(hwnd)) Exit();
  // The drive poller holds this test's Env until it sees the shutdown.
  EXPECT_TRUE(PumpUntil([] { return !DrivePollerRunning(); }, 10000));
  WaitForBackgroundTasks();
  state.reset();
  g_shutdown = false;
  InstallActiveLanguage(u"", nullptr, false);
}

void WindowFixture::MountNtfs(char16_t letter, SimulatedNtfsVolume& volume) {
  files.MountNtfs(letter, volume);
  devices.Mount(letter, volume);
}

void WindowFixture::AddWalkedDrive(char16_t letter, const char16_t* fileSystem, const char16_t* label) {
  memory.AddDrive(letter, win32::kDriveFixed, VolumeInformation{fileSystem, 0x1234, 255, 0, label});
}

HWND WindowFixture::Open(bool hidden) {
  state->startedHidden = hidden;
  LoadFilterTags(appEnv.core, state->filters);
  LoadWindowSettings(appEnv.core, static_cast<int32_t>(state->systemDpi), state->window);
  state->filters.LoadPresets(state->window);
  static Theme classTheme;  // the class keeps its brush for the whole run
  if (classTheme.background == nullptr) CreateTheme(classTheme, false);
  EXPECT_TRUE(RegisterMainWindowClass(state->instance, classTheme.background));
  hwnd = CreateMainWindow(*state);
  EXPECT_NE(hwnd, nullptr);
  if (hwnd != nullptr) ShowWindow(hwnd, hidden ? SW_HIDE : SW_SHOWNORMAL);
  return hwnd;
}

HWND WindowFixture::OpenReady() {
  Open();
  EXPECT_TRUE(PumpUntil([&] { return volumesSynced_ && Settled(); })) << "title: " << testing::PrintToString(Title());
  return hwnd;
}

void WindowFixture::Observe(const MSG& message) {
  if (hwnd == nullptr || message.hwnd != hwnd) return;
  switch (message.message) {
    case WMU_SEARCH_RESULTS:
      if (message.lParam == 0 && message.wParam == state->results.searchGeneration.load()) {
        finalResultsGeneration_ = message.wParam;
        filterResultsAfterFinal_ = false;
      }
      break;
    case WMU_FILTER_RESULTS:
      filterResultsAfterFinal_ = true;
      break;
    case WMU_VOLUMES_SYNCED:
      volumesSynced_ = true;
      break;
    default:
      break;
  }
}

bool WindowFixture::Settled() {
  return finalResultsGeneration_ == state->results.searchGeneration.load() && filterResultsAfterFinal_ &&
         SettledCount() >= 0;
}

bool WindowFixture::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;  // the window's end; the test goes on
      Observe(message);
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void WindowFixture::PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

std::u16string WindowFixture::Title() { return WindowText(hwnd, 512); }

bool WindowFixture::WaitForTitle(std::u16string_view title, int timeoutMs) {
  return PumpUntil([&] { return Title() == title; }, timeoutMs);
}

void WindowFixture::TypeQuery(std::u16string_view text) {
  // A multi-line edit sends no EN_CHANGE for WM_SETTEXT; a replaced selection
  // reaches it as typing does.
  const HWND edit = Window().controls.searchEdit;
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(W(std::u16string(text))));
}

void WindowFixture::PressKeyInSearchBox(UINT key) {
  const HWND edit = Window().controls.searchEdit;
  SendMessageW(edit, WM_KEYDOWN, key, 1);
  SendMessageW(edit, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

int64_t WindowFixture::SettledCount() {
  // "Quillmor - Filter: <tag> | Hits: <n>", the last title a search leads to.
  const std::u16string title = Title();
  const size_t hits = title.rfind(u"Hits:");
  if (!title.starts_with(u"Quillmor - ") || hits == std::u16string::npos) return -1;
  size_t i = hits + 5;
  while (i < title.size() && title[i] == u' ') ++i;
  if (i == title.size()) return -1;
  int64_t value = 0;
  for (; i < title.size(); ++i) {
    if (title[i] < u'0' || title[i] > u'9') return -1;
    value = value * 10 + (title[i] - u'0');
  }
  return value;
}

int64_t WindowFixture::SearchAndWait(std::u16string_view text, bool enter) {
  const uint64_t before = state->results.searchGeneration.load();
  TypeQuery(text);
  if (enter) PressKeyInSearchBox(VK_RETURN);
  const bool settled = PumpUntil([&] { return state->results.searchGeneration.load() > before && Settled(); });
  EXPECT_TRUE(settled) << "query " << testing::PrintToString(std::u16string(text)) << ", title "
                       << testing::PrintToString(Title());
  return SettledCount();
}

std::u16string WindowFixture::ConfigPath(std::u16string_view name) {
  return u".\\Quillmor\\config\\" + std::u16string(name);
}

void WindowFixture::Exit() {
  Window().exitRequested = true;
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
  PumpFor(0);
  hwnd = nullptr;
}

}  // namespace quillmor
