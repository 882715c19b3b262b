// The standard controls in the theme's colours. The edits, combo boxes and
// date pickers of the top row are drawn by the window itself (a rounded
// frame on the band, the accent when focused), the same in both themes and
// on every system; the scroll bars, tooltip, drop-down lists and calendars
// take the system's dark or light rendering where it has one.
#pragma once

#include "app/main_window.h"

namespace quillmor {

// An edit's subclass passes its messages here first: the padding that keeps
// one line of text vertically centred, and the frame around it. True when the
// message was taken (its result in `result`).
bool HandleEditChrome(MainWindow& w, HWND edit, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// After subclassing an edit: lets the padding take effect.
void RefreshEditChrome(HWND edit);

// Draws the combo box (its face; its items come through WM_DRAWITEM) and
// the date picker itself.
void SubclassComboBox(MainWindow& w, HWND combo);
void SubclassDatePicker(MainWindow& w, HWND picker);

// The owner-drawn combo items: the list's height and each item.
void MeasureComboItem(const MainWindow& w, MEASUREITEMSTRUCT& measure);
void DrawComboItem(MainWindow& w, const DRAWITEMSTRUCT& item);
// Sets the item heights again (after a DPI change).
void ResizeComboItems(MainWindow& w, HWND combo);

// Every child in the current theme: system themes of the scroll bars and the
// tooltip, and a repaint of everything the window draws.
void ApplyControlThemes(MainWindow& w);
// CBN_DROPDOWN / CBN_CLOSEUP: the drop-down list takes the theme while open.
void OnComboDropDown(MainWindow& w, HWND combo, bool open);
// DTN_DROPDOWN: the calendar in the theme's colours.
void ThemeCalendar(MainWindow& w, HWND picker);

// WM_CTLCOLOR*: text and background colours of the theme, and its brush.
LRESULT OnCtlColor(MainWindow& w, UINT message, HDC dc, HWND control);

// The colour behind a child control: the sidebar's for tag buttons in the
// sidebar, else the band's.
uint32_t BackdropColour(const MainWindow& w, HWND control);

// Marks `control` as the one under the mouse (and asks for WM_MOUSELEAVE);
// repaints the one that was. Null clears it.
void SetHotInput(MainWindow& w, HWND control);

}  // namespace quillmor
