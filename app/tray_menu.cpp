// The notification icon's menu, and the commands it runs. Every command is
// also reachable as WM_COMMAND with its id, as from the menu.

#include "app/autostart.h"
#include "app/core/tray_menu_items.h"
#include "app/core/window_ids.h"
#include "app/file_operations.h"
#include "app/main_window_handlers.h"
#include "app/menu_popup.h"
#include "app/owner_drawn_menu.h"
#include "search/apply_language.h"
#include "settings/config_directory.h"
#include "settings/localisation.h"
#include "settings/localisation_languages.h"

namespace quillmor {
namespace {

AutostartSystem& Autostart(MainWindow& w) {
  return w.app.app.autostart != nullptr ? *w.app.app.autostart : MachineAutostart();
}

TrayMenuState CurrentMenuState(MainWindow& w) {
  TrayMenuState state;
  for (const AvailableLanguage& language : AvailableLanguages()) state.languageNames.push_back(language.displayName);
  const WindowSettings& settings = w.app.window;
  state.initialSearch = settings.initialSearchEnabled;
  state.sidebarLayout = settings.sidebarLayout;
  state.gridLines = settings.tableGridLines;
  state.darkTheme = settings.darkTheme;
  state.globalTrim = settings.globalTrimOnToggle;
  // Runs schtasks: the state lives in the system only.
  state.autostart = IsAutostartEnabled(Autostart(w));
  return state;
}

// The one place the menu is shown. In the dark theme its items become
// owner-drawn here (TrackThemedPopupMenu), so that it follows the window.
UINT TrackTrayMenu(MainWindow& w, HMENU menu, POINT at) {
  return TrackThemedPopupMenu(w, menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y);
}

// The filters question of a language switch, asked with a Yes/No/Cancel box.
class FilterQuestionBox : public FilterConflictQuestion {
 public:
  explicit FilterQuestionBox(MainWindow& w) : w_(w) {}
  FilterConflictAnswer Ask(std::u16string_view title, std::u16string_view text) override {
    switch (w_.app.app.boxes->Show(w_.hwnd, text, title, MB_YESNOCANCEL | MB_ICONQUESTION)) {
      case IDYES:
        return FilterConflictAnswer::kYes;
      case IDNO:
        return FilterConflictAnswer::kNo;
      default:
        return FilterConflictAnswer::kCancel;
    }
  }

 private:
  MainWindow& w_;
};

void SwitchLanguage(MainWindow& w, const AvailableLanguage& language) {
  FilterQuestionBox question(w);
  const AppliedLanguage applied = ApplyLanguage(w.env, language.code, w.app.filters, question);
  OnLanguageApplied(w, applied.tagsChanged);
  UpdateTrayTip(w);  // the tooltip is a text of the language too
  SetStatus(w, Translate(u"LanguageChanged", u"已切换语言: ", u"Language switched: ") + language.displayName);
}

void OpenLanguageFolder(MainWindow& w) {
  const std::u16string folder = LanguageFolderPath(w.env);  // its parent exists now
  w.env.files->CreateDirectory(folder);
  ShellOf(w).Execute(nullptr, {u"open", folder, u"", false, 0, SW_SHOWNORMAL});
}

// The notification menu's grid-line switch also says what it did.
void ToggleGridLinesWithStatus(MainWindow& w) {
  SetStatus(w, ToggleGridLines(w) ? Translate(u"Status_GridLinesOn", u"结果网格线：开", u"Result grid lines: On")
                                  : Translate(u"Status_GridLinesOff", u"结果网格线：关", u"Result grid lines: Off"));
}

void ToggleGlobalTrim(MainWindow& w) {
  bool& on = w.app.window.globalTrimOnToggle;
  on = !on;
  SaveWindowSettingsNow(w);
  SetStatus(w, on ? Translate(u"Status_GlobalTrimOn", u"全局内存整理：开", u"Global memory trim: On")
                  : Translate(u"Status_GlobalTrimOff", u"全局内存整理：关", u"Global memory trim: Off"));
}

void RunCommand(MainWindow& w, int32_t id) {
  switch (id) {
    case kTrayHomepage:
      ShellOf(w).Execute(nullptr, {u"open", kHomepageUrl, u"", false, 0, SW_SHOWNORMAL});
      return;
    case kTrayOpenLanguageFolder:
      OpenLanguageFolder(w);
      return;
    case kTrayInitialSearch:
      ToggleInitialSearch(w);
      return;
    case kTrayLayoutSidebar:
    case kTrayLayoutTopBar:
      SetFilterLayout(w, id == kTrayLayoutSidebar);
      return;
    case kTrayGridLines:
      ToggleGridLinesWithStatus(w);
      return;
    case kTrayTheme:
      SetTheme(w, !w.app.window.darkTheme);
      SetStatus(w, ThemeStatusText(w.app.window.darkTheme));
      return;
    case kTraySetHotkey:
      StartHotkeyCapture(w, 0);
      return;
    case kTraySetForegroundHotkey:
      StartHotkeyCapture(w, 1);
      return;
    case kTrayAutostart:
      ToggleAutostartWithMessage(Autostart(w), *w.app.app.boxes, w.hwnd, w.app.chineseUi);
      return;
    case kTrayClearRecent:
      ClearRecentOpens(w);
      return;
    case kTrayShowWindow:
      EnsureTrayIcon(w);
      ShowAndActivate(w);
      return;
    case kTrayGlobalTrim:
      ToggleGlobalTrim(w);
      return;
    case kTrayExit:
      RequestExit(w);
      return;
    default:
      break;
  }
  std::vector<AvailableLanguage> languages = AvailableLanguages();
  if (languages.empty()) {
    // A command sent before the menu was ever opened.
    LoadAvailableLanguages(w.env);
    languages = AvailableLanguages();
  }
  if (const std::optional<size_t> index = LanguageIndexOfCommand(id, languages.size())) {
    SwitchLanguage(w, languages[*index]);
  }
}

}  // namespace

HMENU CreateTrayMenu(MainWindow& w) {
  LoadAvailableLanguages(w.env);
  return CreateMenuPopup(BuildTrayMenu(CurrentMenuState(w)));
}

void ShowTrayMenu(MainWindow& w) {
  POINT cursor{};
  GetCursorPos(&cursor);
  const HMENU menu = CreateTrayMenu(w);
  if (menu == nullptr) return;
  // The menu closes when the user clicks elsewhere only if the window is in
  // front while it is open.
  SetForegroundWindow(w.hwnd);
  const UINT command = TrackTrayMenu(w, menu, cursor);
  DestroyMenu(menu);
  PostMessageW(w.hwnd, WM_NULL, 0, 0);
  if (command != 0) RunTrayCommand(w, static_cast<int32_t>(command));
}

bool RunTrayCommand(MainWindow& w, int32_t id) {
  if (!IsTrayCommand(id)) return false;
  RunCommand(w, id);
  IdleTrim(w);
  return true;
}

}  // namespace quillmor
