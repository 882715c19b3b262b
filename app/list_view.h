// The result list's handlers and helpers, by the file that holds them, and
// the hooks it calls into pieces of the window built elsewhere. Internal to
// the window's files (main_window_handlers.h includes it).
#pragma once

#include <string>

#include "app/core/list_geometry.h"
#include "app/core/list_row.h"
#include "app/main_window.h"

namespace quillmor {

// list_rows.cpp
// At WM_CREATE, once the window's DPI is known: the view mode and column
// widths from window.ini (rescaled to the window's DPI), the icon cache and
// its shared folder icon.
void InitResultList(MainWindow& w);
// The list's frame as the portable geometry reads it (the path column at
// the width it shows).
ListFrame ListFrameOf(const MainWindow& w);
// The client rectangle of row `row` (a cell in the icon views); empty when
// it is out of view.
RECT ListRowRect(const MainWindow& w, int64_t row);
void InvalidateListRow(MainWindow& w, int64_t row);
// The text the list shows in cell `column` of displayed row `row` (empty
// past the rows).
std::u16string ListCellTextAt(MainWindow& w, int64_t row, int32_t column);
// Asks for the sizes and times of the rows in view (one job at a time).
void RequestListAttrHydration(MainWindow& w);

// list_layout.cpp
// WM_SIZE: the list's scroll bars (105, 113) and the path column's width at
// the current size; the scroll position is kept.
void LayOutList(MainWindow& w);
// The path column's width for the rows in view (list view).
void UpdatePathColumnWidth(MainWindow& w);
// The scroll bar controls' ranges and positions, from the list's state.
void SyncListScrollBars(MainWindow& w);
// Switches the view mode (0 list, 1 small icons, 2 large icons) and scrolls
// to the top.
void SetListViewMode(MainWindow& w, int32_t viewMode);
// The list's part of a DPI change (RescaleForDpi): column widths and scroll
// offsets from `oldDpi` to `newDpi`.
void RescaleListForDpi(MainWindow& w, uint32_t oldDpi, uint32_t newDpi);

// list_scroll.cpp
void ScrollListHorizontallyTo(MainWindow& w, int64_t offset);
// A scroll event: records the tick, arms the settle timer (30004) and closes
// an open rename.
void NoteListScrolled(MainWindow& w);
void OnListMouseWheel(MainWindow& w, WPARAM wParam, LPARAM lParam);
void OnListMouseHWheel(MainWindow& w, WPARAM wParam, LPARAM lParam);
void OnListVScroll(MainWindow& w, WPARAM wParam, HWND bar);
void OnListHScroll(MainWindow& w, WPARAM wParam, HWND bar);

// list_paint.cpp
// Draws the frame's part within `clip` into `dc` (the back buffer, or a
// test's bitmap of the client size).
void PaintListFrame(MainWindow& w, HDC dc, const RECT& clip);

// list_mouse.cpp
void OnListLButtonDown(MainWindow& w, WPARAM keys, int x, int y);
void OnListLButtonUp(MainWindow& w, int x, int y);
void OnListLButtonDblClk(MainWindow& w, WPARAM keys, int x, int y);
void OnListMouseMove(MainWindow& w, WPARAM keys, int x, int y);
void OnListCaptureChanged(MainWindow& w);
// WM_SETCURSOR: the list's cursor over the main window's own client area,
// the default processing elsewhere.
LRESULT OnListSetCursor(MainWindow& w, WPARAM wParam, LPARAM lParam);
// WM_MOUSELEAVE: no row is hovered any more and the tooltip hides.
void ForgetListHover(MainWindow& w);

// list_tooltip.cpp
// Shows the text of the hovered cell beside the pointer (`screen`), or hides
// the tooltip when the cell has none.
void UpdateListTooltip(MainWindow& w, POINT screen);
void HideListTooltip(MainWindow& w);

// main_window_keys.cpp
// The arrows, Page Up and Down, Home, End and Ctrl+A over the list, and Down
// (Up, Page Up, Page Down) in the search box, which moves into the list.
bool HandleListNavigationKey(MainWindow& w, HWND from, WPARAM key);

// --- What the list calls into the file operations and the window's keys
// (the filter sidebar's hooks are in main_window_handlers.h) ---
// File action `action` on the focused row and the selection (1: open).
void RunFileAction(MainWindow& w, int action);
// Drag and drop of the selected rows.
void StartFileDrag(MainWindow& w);
// Opens the inline rename on the focused row.
void BeginRename(MainWindow& w);
// The window's key table (Enter, F2, Delete, ...).
bool HandleCommandKey(MainWindow& w, HWND from, UINT message, WPARAM key, LPARAM lParam);

}  // namespace quillmor
