#include "app/app_entry.h"

#include <vector>

#include "app/app_state.h"
#include "app/core/hidden_switch.h"
#include "app/core/message_titles.h"
#include "app/dpi.h"
#include "app/main_window.h"
#include "app/theme.h"
#include "engine/content_zip_settings.h"
#include "platform/win32/scoped_handle.h"
#include "search/filters_file.h"
#include "search/search_pipeline.h"
#include "settings/hotkey_settings.h"
#include "settings/language_switch.h"
#include "settings/localisation.h"
#include "settings/localisation_languages.h"

namespace quillmor {
namespace {

bool StartedHidden(const wchar_t* commandLine) {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return RawTextHasHiddenSwitch(commandLine != nullptr ? win32::FromWide(commandLine) : u"");
  std::vector<std::u16string> owned;
  for (int i = 1; i < count; ++i) owned.push_back(win32::FromWide(argv[i]));
  LocalFree(argv);
  std::vector<std::u16string_view> arguments(owned.begin(), owned.end());
  return HasHiddenSwitch(arguments);
}

void EnablePrivileges() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  for (const wchar_t* name : {L"SeBackupPrivilege", L"SeRestorePrivilege", L"SeManageVolumePrivilege"}) {
    TOKEN_PRIVILEGES privileges{};
    if (!LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid)) continue;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  }
  CloseHandle(token);
}

// An autostarted copy may run before the shell is up.
void WaitForShell(Clock& clock) {
  for (int attempt = 0; attempt < 6; ++attempt) {
    if (GetShellWindow() != nullptr && FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr) return;
    clock.Sleep(500);
  }
}

// Another copy runs: bring its window forward, or say how to find it.
int HandOverToFirstInstance(AppEnv& env, const HotkeySettings& hotkeys, bool hidden) {
  if (hidden) return 0;
  HWND first = nullptr;
  for (int waited = 0; waited < 5000; waited += 100) {
    first = FindWindowW(kMainWindowClass, nullptr);
    if (first != nullptr && IsWindow(first)) break;
    first = nullptr;
    env.core.clock->Sleep(100);
  }
  if (first != nullptr) {
    ShowWindowAsync(first, IsIconic(first) ? SW_RESTORE : SW_SHOW);
    SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(first);
    BringWindowToTop(first);
    return 0;
  }
  const std::u16string text =
      Translate(u"Msg_AlreadyRunningPrefix", u"Quillmor 已在运行。\n\n请使用快捷键 \"",
                u"Quillmor is already running.\n\nUse the hotkey \"") +
      FormatHotkey(*env.core.system, hotkeys.modifiers, hotkeys.key) +
      Translate(u"Msg_AlreadyRunningSuffix", u"\" 显示或隐藏主窗口。", u"\" to show or hide the main window.");
  env.boxes->Show(nullptr, text, InformationTitle(), MB_ICONINFORMATION);
  return 0;
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace

int RunApplication(AppEnv& env, HINSTANCE instance, const wchar_t* commandLine, int showCommand) {
  Env& core = env.core;
  SetBestDpiAwareness();
  const uint32_t dpi = SystemDpi();
  core.clock->Sleep(1000);

  auto state = std::make_unique<AppState>(env);
  state->instance = instance;
  state->systemDpi = dpi;
  state->chineseUi = (GetUserDefaultUILanguage() & 0x3FF) == LANG_CHINESE;
  SetChineseLanguageFlag(state->chineseUi);
  LoadHotkeySettings(core, state->hotkeys);
  InitLocalisation(core);
  LoadAvailableLanguages(core);
  MakeLanguageCurrent(core, StartupLanguageCode(core, state->chineseUi));
  state->startedHidden = StartedHidden(commandLine);

  win32::ScopedHandle mutex(CreateMutexW(nullptr, TRUE, kSingleInstanceMutexName));
  if (!mutex.valid() || GetLastError() == ERROR_ALREADY_EXISTS) {
    mutex.Reset();
    return HandOverToFirstInstance(env, state->hotkeys, state->startedHidden);
  }

  EnablePrivileges();
  if (state->startedHidden) WaitForShell(*core.clock);
  if (!state->startedHidden && !core.system->IsUserAnAdmin()) {
    env.boxes->Show(nullptr,
                    Translate(u"Msg_AdminRequired", u"需要以管理员身份运行。", u"Run as administrator required."),
                    Translate(u"App_Name", u"Quillmor", u"Quillmor"), MB_ICONERROR);
    return 1;
  }

  LoadFilterTags(core, state->filters);
  LoadContentZipSettings(core);
  LoadWindowSettings(core, static_cast<int32_t>(dpi), state->window);
  state->filters.LoadPresets(state->window);

  Theme theme;
  CreateTheme(theme, state->window.darkTheme);
  if (!RegisterMainWindowClass(instance, theme.background)) return 0;
  const HWND window = CreateMainWindow(*state);
  if (window != nullptr) {
    LoadRecentOpensAsync(state->session);
    ShowWindow(window, state->startedHidden ? SW_HIDE : showCommand);
    RunMessageLoop();
  }

  // The window has stopped the monitors at WM_DESTROY; this is the last word.
  state->engine.Shutdown();
  core.clock->Sleep(500);
  // Background tasks may still hold the state: it lives until the process ends.
  state.release();
  UnregisterClassW(kMainWindowClass, instance);
  DeleteThemeBrushes(theme);
  return 0;
}

}  // namespace quillmor
