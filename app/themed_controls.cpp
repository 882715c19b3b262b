#include "app/themed_controls.h"

#include <uxtheme.h>

#include "app/core/window_ids.h"
#include "app/paint_helpers.h"

namespace quillmor {
namespace {

constexpr UINT_PTR kChromeSubclassId = 7;
constexpr int32_t kInputRadius96 = 6;
constexpr int32_t kInputPaddingX96 = 12;
constexpr int32_t kChevronArea96 = 30;
constexpr int32_t kComboItemHeight96 = 20;
constexpr int32_t kControlHeight96 = 38;

MainWindow& WindowOf(DWORD_PTR data) { return *reinterpret_cast<MainWindow*>(data); }

// The frame's colour: the accent while the control has the keyboard (or its
// list is open), a stronger grey under the mouse.
uint32_t FrameColour(const MainWindow& w, HWND control, bool active) {
  const ControlPalette& c = *w.theme.controls;
  if (active) return c.accent;
  if (w.hotInput == control && IsWindowEnabled(control)) return c.frameHot;
  return c.frame;
}

int LineHeight(HWND edit) {
  const HDC dc = GetDC(edit);
  if (dc == nullptr) return 16;
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(edit, dc);
  return metrics.tmHeight > 0 ? metrics.tmHeight : 16;
}

// The face shared by combo boxes and date pickers: a rounded input with its
// value at the left and a chevron at the right.
void PaintInputFace(MainWindow& w, HWND control, HDC dc, const RECT& rect, const std::u16string& text, bool active) {
  const ThemePalette& p = *w.theme.palette;
  const ControlPalette& c = *w.theme.controls;
  FillSolid(dc, rect, BackdropColour(w, control));
  FillRoundedBox(dc, rect, Scaled(w, kInputRadius96), p.controlBackground, FrameColour(w, control, active));
  const bool enabled = IsWindowEnabled(control) != FALSE;
  RECT textRect{rect.left + Scaled(w, kInputPaddingX96), rect.top, rect.right - Scaled(w, kChevronArea96), rect.bottom};
  DrawLine(dc, text, textRect, w.fonts.control, enabled ? c.inputText : c.mutedText);
  const int chevronX = rect.right - Scaled(w, 17);
  const int chevronY = (rect.top + rect.bottom) / 2;
  DrawChevron(dc, chevronX, chevronY, Scaled(w, 8), std::max(1, Scaled(w, 1)), active ? c.accent : c.mutedText);
}

std::u16string ComboText(HWND combo, int index) {
  if (index < 0) return {};
  const int length = static_cast<int>(SendMessageW(combo, CB_GETLBTEXTLEN, index, 0));
  if (length <= 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

std::u16string PickerText(HWND picker) {
  SYSTEMTIME time{};
  if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) return {};
  wchar_t buffer[64] = {};
  const int length = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, buffer, 64);
  return length > 1 ? std::u16string(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(length - 1))
                    : std::u16string{};
}

void TrackLeave(HWND control) {
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
  TrackMouseEvent(&track);
}

// Which drawn control the mouse is over, for its frame.
void FollowHover(MainWindow& w, HWND control, UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (w.hotInput != control) SetHotInput(w, control);
      break;
    case WM_MOUSELEAVE:
      if (w.hotInput == control) SetHotInput(w, nullptr);
      break;
    default:
      break;
  }
}

LRESULT PaintDrawnControl(MainWindow& w, HWND control, const std::u16string& text, bool active) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(control, &paint);
  RECT rect{};
  GetClientRect(control, &rect);
  {
    BufferedPaint buffer(dc, rect);
    PaintInputFace(w, control, buffer.dc(), rect, text, active);
  }
  EndPaint(control, &paint);
  return 0;
}

LRESULT CALLBACK ComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  MainWindow& w = WindowOf(data);
  FollowHover(w, combo, message);
  switch (message) {
    case WM_PAINT: {
      const bool active = GetFocus() == combo || SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
      return PaintDrawnControl(w, combo, ComboText(combo, static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0))),
                               active);
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CB_SETCURSEL: {
      const LRESULT result = DefSubclassProc(combo, message, wParam, lParam);
      InvalidateRect(combo, nullptr, FALSE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(combo, ComboProc, kChromeSubclassId);
      if (w.hotInput == combo) w.hotInput = nullptr;
      break;
    default:
      break;
  }
  return DefSubclassProc(combo, message, wParam, lParam);
}

LRESULT CALLBACK DatePickerProc(HWND picker, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  MainWindow& w = WindowOf(data);
  FollowHover(w, picker, message);
  switch (message) {
    case WM_PAINT: {
      const auto calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
      const bool open = calendar != nullptr && IsWindowVisible(calendar);
      return PaintDrawnControl(w, picker, PickerText(picker), GetFocus() == picker || open);
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: {
      const LRESULT result = DefSubclassProc(picker, message, wParam, lParam);
      InvalidateRect(picker, nullptr, FALSE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(picker, DatePickerProc, kChromeSubclassId);
      if (w.hotInput == picker) w.hotInput = nullptr;
      break;
    default:
      break;
  }
  return DefSubclassProc(picker, message, wParam, lParam);
}

void PaintEditFrame(MainWindow& w, HWND edit) {
  const HDC dc = GetWindowDC(edit);
  if (dc == nullptr) return;
  RECT window{};
  GetWindowRect(edit, &window);
  RECT client{};
  GetClientRect(edit, &client);
  MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  OffsetRect(&window, -window.left, -window.top);
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  {
    BufferedPaint buffer(dc, window);
    FillSolid(buffer.dc(), window, BackdropColour(w, edit));
    FillRoundedBox(buffer.dc(), window, Scaled(w, kInputRadius96), w.theme.palette->controlBackground,
                   FrameColour(w, edit, GetFocus() == edit));
  }
  ReleaseDC(edit, dc);
}

}  // namespace

uint32_t BackdropColour(const MainWindow& w, HWND control) {
  const int id = GetDlgCtrlID(control);
  if (w.app.window.sidebarLayout && IsTagButtonId(id)) {
    return w.theme.controls->sidebarFill;
  }
  return w.theme.palette->band;
}

void SetHotInput(MainWindow& w, HWND control) {
  const HWND previous = w.hotInput;
  w.hotInput = control;
  for (HWND changed : {previous, control}) {
    if (changed == nullptr) continue;
    InvalidateRect(changed, nullptr, FALSE);
    RedrawWindow(changed, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
  if (control != nullptr) TrackLeave(control);
}

bool HandleEditChrome(MainWindow& w, HWND edit, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  FollowHover(w, edit, message);
  switch (message) {
    case WM_NCCALCSIZE: {
      RECT& r = wParam != 0 ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
      const int height = r.bottom - r.top;
      const int line = std::min(LineHeight(edit), std::max(0, height));
      const int top = (height - line) / 2;
      const int padding = std::min(Scaled(w, kInputPaddingX96), std::max(0, static_cast<int>(r.right - r.left) / 2));
      r.left += padding;
      r.right -= padding;
      r.top += top;
      r.bottom = r.top + line;
      result = 0;
      return true;
    }
    case WM_NCPAINT:
      PaintEditFrame(w, edit);
      result = 0;
      return true;
    case WM_NCHITTEST:
      // The padding belongs to the box: a click there puts the caret in it.
      result = HTCLIENT;
      return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      result = DefSubclassProc(edit, message, wParam, lParam);
      RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return true;
    case WM_SETFONT:
      result = DefSubclassProc(edit, message, wParam, lParam);
      RefreshEditChrome(edit);
      return true;
    case WM_NCDESTROY:
      if (w.hotInput == edit) w.hotInput = nullptr;
      return false;
    default:
      return false;
  }
}

void RefreshEditChrome(HWND edit) {
  SetWindowPos(edit, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SubclassComboBox(MainWindow& w, HWND combo) {
  if (combo != nullptr) SetWindowSubclass(combo, ComboProc, kChromeSubclassId, reinterpret_cast<DWORD_PTR>(&w));
}

void SubclassDatePicker(MainWindow& w, HWND picker) {
  if (picker == nullptr) return;
  // The picker's own edge would frame our frame.
  SetWindowLongPtrW(picker, GWL_STYLE, GetWindowLongPtrW(picker, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER));
  SetWindowLongPtrW(picker, GWL_EXSTYLE,
                    GetWindowLongPtrW(picker, GWL_EXSTYLE) &
                        ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE));
  SetWindowSubclass(picker, DatePickerProc, kChromeSubclassId, reinterpret_cast<DWORD_PTR>(&w));
  SetWindowPos(picker, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MeasureComboItem(const MainWindow& w, MEASUREITEMSTRUCT& measure) {
  // The selection field makes the closed box as tall as the other inputs
  // (the box adds 3 px of edge above and below it).
  if (measure.itemID == static_cast<UINT>(-1)) {
    measure.itemHeight = static_cast<UINT>(std::max(1, Scaled(w, kControlHeight96) - 6));
  } else {
    measure.itemHeight = static_cast<UINT>(Scaled(w, kComboItemHeight96));
  }
}

void ResizeComboItems(MainWindow& w, HWND combo) {
  if (combo == nullptr) return;
  SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(1, Scaled(w, kControlHeight96) - 6));
  SendMessageW(combo, CB_SETITEMHEIGHT, 0, Scaled(w, kComboItemHeight96));
}

void DrawComboItem(MainWindow& w, const DRAWITEMSTRUCT& item) {
  const HWND combo = item.hwndItem;
  const HDC dc = item.hDC;
  const ThemePalette& p = *w.theme.palette;
  const ControlPalette& c = *w.theme.controls;
  const bool field = (item.itemState & ODS_COMBOBOXEDIT) != 0;
  const std::u16string text = ComboText(combo, static_cast<int>(item.itemID));
  if (field) {
    // The box draws its field by itself when the selection changes: the
    // same face as its own paint, within the field.
    FillSolid(dc, item.rcItem, p.controlBackground);
    RECT client{};
    GetClientRect(combo, &client);
    RECT textRect{client.left + Scaled(w, kInputPaddingX96), item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
    DrawLine(dc, text, textRect, w.fonts.control, IsWindowEnabled(combo) ? c.inputText : c.mutedText);
    return;
  }
  const bool highlighted = (item.itemState & ODS_SELECTED) != 0;
  FillSolid(dc, item.rcItem, highlighted ? c.listItemHotFill : p.controlBackground);
  RECT textRect = item.rcItem;
  textRect.left += Scaled(w, 10);
  textRect.right -= Scaled(w, 6);
  DrawLine(dc, text, textRect, w.fonts.control, highlighted ? p.strongText : c.inputText);
}

void ApplyControlThemes(MainWindow& w) {
  const bool dark = w.theme.Dark();
  const MainWindowControls& c = w.controls;
  for (HWND bar : {c.listVScroll, c.listHScroll, c.sidebarScroll}) {
    if (bar != nullptr) SetWindowTheme(bar, dark ? L"DarkMode_Explorer" : nullptr, nullptr);
  }
  if (c.tooltip != nullptr) {
    // Classic rendering honours the colours in both themes.
    SetWindowTheme(c.tooltip, L"", L"");
    SendMessageW(c.tooltip, TTM_SETTIPBKCOLOR, w.theme.controls->menuFill, 0);
    SendMessageW(c.tooltip, TTM_SETTIPTEXTCOLOR, w.theme.controls->menuText, 0);
  }
  ApplyTitleBarTheme(w.hwnd, dark);
  for (HWND edit : {c.searchEdit, c.customSize}) {
    if (edit != nullptr) RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
  RedrawWindow(w.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void OnComboDropDown(MainWindow& w, HWND combo, bool open) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(combo, &info) || info.hwndList == nullptr) return;
  SetWindowTheme(info.hwndList, open && w.theme.Dark() ? L"DarkMode_Explorer" : nullptr, nullptr);
  InvalidateRect(combo, nullptr, FALSE);
}

void ThemeCalendar(MainWindow& w, HWND picker) {
  const HWND calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
  if (calendar == nullptr) return;
  const ThemePalette& p = *w.theme.palette;
  const ControlPalette& c = *w.theme.controls;
  if (!w.theme.Dark()) {
    SetWindowTheme(calendar, nullptr, nullptr);
    return;
  }
  // A themed calendar ignores colours; without its theme it takes ours.
  SetWindowTheme(calendar, L"", L"");
  SendMessageW(calendar, MCM_SETCOLOR, MCSC_BACKGROUND, p.controlBackground);
  SendMessageW(calendar, MCM_SETCOLOR, MCSC_MONTHBK, p.controlBackground);
  SendMessageW(calendar, MCM_SETCOLOR, MCSC_TEXT, c.inputText);
  // The title's colour also marks the weekdays and the chosen day.
  SendMessageW(calendar, MCM_SETCOLOR, MCSC_TITLEBK, c.accent);
  SendMessageW(calendar, MCM_SETCOLOR, MCSC_TITLETEXT, p.background);
  SendMessageW(calendar, MCM_SETCOLOR, MCSC_TRAILINGTEXT, c.mutedText);
}

LRESULT OnCtlColor(MainWindow& w, UINT message, HDC dc, HWND control) {
  const ThemePalette& p = *w.theme.palette;
  const ControlPalette& c = *w.theme.controls;
  const bool edit = control == w.controls.searchEdit || control == w.controls.customSize;
  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      SetTextColor(dc, c.inputText);
      SetBkColor(dc, p.controlBackground);
      return reinterpret_cast<LRESULT>(w.theme.control);
    case WM_CTLCOLORSTATIC:
      if (edit) {  // a disabled or read-only edit asks as a static does
        SetTextColor(dc, c.mutedText);
        SetBkColor(dc, p.controlBackground);
        return reinterpret_cast<LRESULT>(w.theme.control);
      }
      SetTextColor(dc, p.pathText);
      SetBkColor(dc, p.band);
      return reinterpret_cast<LRESULT>(w.theme.band);
    case WM_CTLCOLORSCROLLBAR:
      return reinterpret_cast<LRESULT>(w.theme.scrollTrack);
    default:
      return reinterpret_cast<LRESULT>(w.theme.background);
  }
}

}  // namespace quillmor
