// WM_CREATE: the child controls, the notification icon and hotkeys, and the
// start of the engine.
#include "app/core/window_ids.h"
#include "app/dpi.h"
#include "app/main_window_handlers.h"
#include "index/drive_poller.h"
#include "search/filter_bar.h"
#include "settings/dpi_scale.h"
#include "settings/localisation.h"
#include "settings/message_log.h"

namespace quillmor {
namespace {

// The standard control height at 96 DPI.
constexpr int kControlHeight96 = 38;

HWND MakeChild(MainWindow& w, const wchar_t* className, const wchar_t* text, DWORD style, int id, int x, int y,
               int width, int height, DWORD exStyle = 0) {
  const auto s = [&](int v) { return ScaleFrom96(v, static_cast<int32_t>(w.dpi)); };
  const HWND child = CreateWindowExW(exStyle, className, text, WS_CHILD | style, s(x), s(y), s(width), s(height),
                                     w.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), w.app.instance, nullptr);
  if (child != nullptr) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(w.fonts.control), FALSE);
  return child;
}

HWND MakeComboBox(MainWindow& w, int id, int x, int width) {
  const HWND box = MakeChild(w, L"COMBOBOX", L"",
                             WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                             id, x, 16, width, 300);
  SendMessageW(box, CB_SETDROPPEDWIDTH, ScaleFrom96(460, static_cast<int32_t>(w.dpi)), 0);
  return box;
}

void FillComboBox(HWND box, const std::vector<std::u16string>& texts, int selection) {
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  for (const std::u16string& text : texts) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(text)));
  SendMessageW(box, CB_SETCURSEL, selection, 0);
}

void CreateTagButtons(MainWindow& w) {
  const FilterTagsSnapshot tags = w.app.filters.Tags();
  for (size_t i = 0; i < tags->size() && i < static_cast<size_t>(kMaxTagButtons); ++i) {
    const std::u16string caption = TagButtonCaption(i, (*tags)[i], 0);
    const HWND button = MakeChild(w, L"BUTTON", W(caption), WS_VISIBLE | BS_OWNERDRAW | BS_MULTILINE,
                                  kIdFirstTagButton + static_cast<int>(i), 15 + static_cast<int>(i) * 80, 54, 72, 40,
                                  WS_EX_COMPOSITED);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(w.fonts.tag), FALSE);
    w.controls.tagButtons.push_back(button);
  }
}

void CreateChildren(MainWindow& w) {
  MainWindowControls& c = w.controls;
  const WindowSettings& settings = w.app.window;
  const int h = kControlHeight96;
  c.scopeBox = MakeComboBox(w, kIdScopeBox, 20, 120);
  c.searchEdit = MakeChild(w, L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | WS_DISABLED | ES_AUTOHSCROLL | ES_MULTILINE,
                           kIdSearchEdit, 152, 16, 530, h);
  SubclassSearchBox(w);
  c.sizePreset = MakeComboBox(w, kIdSizePreset, 630, 130);
  FillComboBox(c.sizePreset, SizePresetTexts(), settings.sizePreset);
  c.timePreset = MakeComboBox(w, kIdTimePreset, 770, 130);
  FillComboBox(c.timePreset, TimePresetTexts(), settings.timePreset);
  const std::u16string sizeText = settings.sizeRange.empty() ? std::u16string(kDefaultCustomSizeText) : settings.sizeRange;
  c.customSize = MakeChild(w, L"EDIT", W(sizeText), WS_TABSTOP | ES_AUTOHSCROLL, kIdCustomSize, 905, 16, 78, h);
  c.sizeUnit = MakeComboBox(w, kIdSizeUnit, 1105, 78);
  FillComboBox(c.sizeUnit, SizeUnitTexts(), settings.sizeUnit);
  c.dateFrom = MakeChild(w, DATETIMEPICK_CLASSW, L"", WS_TABSTOP | DTS_SHORTDATEFORMAT, kIdDateFrom, 1180, 16, 130, h);
  c.dateTo = MakeChild(w, DATETIMEPICK_CLASSW, L"", WS_TABSTOP | DTS_SHORTDATEFORMAT, kIdDateTo, 1295, 16, 130, h);
  CreateTagButtons(w);
  c.statusLine = MakeChild(w, L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kIdStatusLine, 15, 46, 800, 20);
  c.listVScroll = MakeChild(w, L"SCROLLBAR", L"", SBS_VERT, kIdListVScroll, 0, 0, 10, 100);
  c.listHScroll = MakeChild(w, L"SCROLLBAR", L"", SBS_HORZ, kIdListHScroll, 0, 0, 100, 10);
  c.sidebarScroll = MakeChild(w, L"SCROLLBAR", L"", SBS_VERT, kIdSidebarScroll, 0, 0, 10, 100);
  ShowScrollBar(w.hwnd, SB_VERT, FALSE);
  ShowScrollBar(w.hwnd, SB_HORZ, FALSE);

  c.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                              0, 0, w.hwnd, nullptr, w.app.instance, nullptr);
  if (c.tooltip != nullptr) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = w.hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(w.hwnd);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(c.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(c.tooltip, TTM_SETMAXTIPWIDTH, 0, ScaleFrom96(600, static_cast<int32_t>(w.dpi)));
  }
  w.view.Attach(w.hwnd, c.statusLine);
  w.view.StoreCustomSizeText(sizeText);
}

}  // namespace

LRESULT OnCreate(MainWindow& w) {
  LogMessage(w.env, u"WM_CREATE begin");
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  w.taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
  w.dpi = WindowDpi(w.hwnd, w.app.systemDpi);
  w.sidebarWidth = ScaleFrom96(200, static_cast<int32_t>(w.dpi));

  CreateFonts(w.fonts, w.dpi, IsChineseLanguage());
  CreateTheme(w.theme, w.app.window.darkTheme);
  ApplyTitleBarTheme(w.hwnd, w.app.window.darkTheme);
  w.app.results.window = w.hwnd;

  CreateChildren(w);
  InitResultList(w);
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
