// WM_CREATE: the child controls, the notification icon and hotkeys, and the
// start of the engine.
#include "app/core/window_ids.h"
#include "app/dpi.h"
#include "app/main_window_handlers.h"
#include "app/themed_controls.h"
#include "index/drive_poller.h"
#include "search/filter_bar.h"
#include "settings/localisation.h"
#include "settings/message_log.h"

namespace quillmor {
namespace {

// The standard control height at 96 DPI.
constexpr int kControlHeight96 = 38;
constexpr int kScopeDroppedWidth96 = 460;

HWND MakeChild(MainWindow& w, const wchar_t* className, const wchar_t* text, DWORD style, int id, int x, int y,
               int width, int height, DWORD exStyle = 0) {
  return CreateWindowExW(exStyle, className, text, WS_CHILD | style, Scaled(w, x), Scaled(w, y), Scaled(w, width),
                         Scaled(w, height), w.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), w.app.instance,
                         nullptr);
}

HWND MakeComboBox(MainWindow& w, int id, int x, int width) {
  return MakeChild(w, L"COMBOBOX", L"",
                   WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, id, x,
                   16, width, 320);
}

// The scope box lists long volume labels; the preset boxes' items fit them.
void SetDroppedWidths(MainWindow& w) {
  const MainWindowControls& c = w.controls;
  if (c.scopeBox != nullptr) SendMessageW(c.scopeBox, CB_SETDROPPEDWIDTH, Scaled(w, kScopeDroppedWidth96), 0);
  for (HWND box : {c.sizePreset, c.timePreset, c.sizeUnit}) {
    if (box != nullptr) SendMessageW(box, CB_SETDROPPEDWIDTH, 0, 0);
  }
}

void CreateTooltip(MainWindow& w) {
  HWND& tooltip = w.controls.tooltip;
  tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                            0, w.hwnd, nullptr, w.app.instance, nullptr);
  if (tooltip == nullptr) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = w.hwnd;
  tool.uId = reinterpret_cast<UINT_PTR>(w.hwnd);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CreateChildren(MainWindow& w) {
  MainWindowControls& c = w.controls;
  const FilterSettings& presets = w.app.filters.presets;
  const int h = kControlHeight96;
  c.scopeBox = MakeComboBox(w, kIdScopeBox, 20, 120);
  c.searchEdit = MakeChild(w, L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | WS_DISABLED | ES_AUTOHSCROLL | ES_MULTILINE,
                           kIdSearchEdit, 152, 16, 530, h);
  c.sizePreset = MakeComboBox(w, kIdSizePreset, 630, 130);
  c.timePreset = MakeComboBox(w, kIdTimePreset, 770, 130);
  c.customSize =
      MakeChild(w, L"EDIT", W(presets.customSizeText), WS_TABSTOP | ES_AUTOHSCROLL, kIdCustomSize, 905, 16, 78, h);
  c.sizeUnit = MakeComboBox(w, kIdSizeUnit, 1105, 78);
  c.dateFrom = MakeChild(w, DATETIMEPICK_CLASSW, L"", WS_TABSTOP | DTS_SHORTDATEFORMAT, kIdDateFrom, 1180, 16, 130, h);
  c.dateTo = MakeChild(w, DATETIMEPICK_CLASSW, L"", WS_TABSTOP | DTS_SHORTDATEFORMAT, kIdDateTo, 1295, 16, 130, h);
  CreateTagButtons(w);
  c.statusLine = MakeChild(w, L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE, kIdStatusLine,
                           15, 46, 800, 20);
  c.listVScroll = MakeChild(w, L"SCROLLBAR", L"", SBS_VERT, kIdListVScroll, 0, 0, 10, 100);
  c.listHScroll = MakeChild(w, L"SCROLLBAR", L"", SBS_HORZ, kIdListHScroll, 0, 0, 100, 10);
  c.sidebarScroll = MakeChild(w, L"SCROLLBAR", L"", SBS_VERT, kIdSidebarScroll, 0, 0, 10, 100);
  ShowScrollBar(w.hwnd, SB_VERT, FALSE);
  ShowScrollBar(w.hwnd, SB_HORZ, FALSE);
  CreateTooltip(w);

  SubclassSearchBox(w);
  FillPresetBoxes(w);
  SetUpFilterControls(w);
  ApplyFonts(w);
  SetDroppedWidths(w);
  ApplyControlThemes(w);
  w.view.Attach(w.hwnd, c.statusLine);
  w.view.StoreCustomSizeText(presets.customSizeText);
}

}  // namespace

void ApplyFonts(MainWindow& w) {
  const MainWindowControls& c = w.controls;
  for (HWND child : {c.scopeBox, c.searchEdit, c.sizePreset, c.timePreset, c.customSize, c.sizeUnit, c.dateFrom,
                     c.dateTo, c.statusLine, c.tooltip}) {
    if (child != nullptr) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(w.fonts.control), TRUE);
  }
  for (HWND button : c.tagButtons) SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(w.fonts.tag), TRUE);
  for (HWND picker : {c.dateFrom, c.dateTo}) {
    if (picker != nullptr) SendMessageW(picker, DTM_SETMCFONT, reinterpret_cast<WPARAM>(w.fonts.control), FALSE);
  }
  for (HWND combo : {c.scopeBox, c.sizePreset, c.timePreset, c.sizeUnit}) ResizeComboItems(w, combo);
  if (c.tooltip != nullptr) SendMessageW(c.tooltip, TTM_SETMAXTIPWIDTH, 0, Scaled(w, 600));
}

void RecreateFonts(MainWindow& w) {
  // The children switch to the new fonts before the old ones are deleted.
  Fonts old = w.fonts;
  w.fonts = Fonts{};
  CreateFonts(w.fonts, w.dpi, IsChineseLanguage());
  ApplyFonts(w);
  SetDroppedWidths(w);
  DeleteFonts(old);
}

LRESULT OnCreate(MainWindow& w) {
  LogMessage(w.env, u"WM_CREATE begin");
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  w.taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
  w.dpi = WindowDpi(w.hwnd, w.app.systemDpi);
  w.sidebarWidth = Scaled(w, 200);
  InitResultList(w);

  CreateFonts(w.fonts, w.dpi, IsChineseLanguage());
  CreateTheme(w.theme, w.app.window.darkTheme);
  ApplyTitleBarTheme(w.hwnd, w.app.window.darkTheme);
  w.app.results.window = w.hwnd;

  CreateChildren(w);
  SetUpTrayIcon(w);
  RegisterHotkeysAtCreate(w);
  if (w.app.startedHidden) SetTimer(w.hwnd, ID_TIMER_STARTUP_SYNC, kHiddenStartupSyncMs, nullptr);

  LogMessage(w.env, u"WM_CREATE end");
  SetWindowTextU(w.hwnd, Translate(u"Status_InitializingIndex", u"初始化中...", u"Initializing..."));

  w.app.engine.InitBackground(w.hwnd);
  try {
    StartDrivePoller(w.env, w.hwnd);
  } catch (const std::exception&) {
    // Without a poller, drive changes still arrive as WM_DEVICECHANGE.
  }
  return 0;
}

}  // namespace quillmor
