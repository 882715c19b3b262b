// The result list's right-click menu: built from the portable table for the
// window's settings, shown at the cursor, its command run.
#include "app/core/list_context_menu.h"
#include "app/core/hit_test.h"
#include "app/file_operations.h"
#include "app/main_window_handlers.h"
#include "app/menu_popup.h"
#include "app/owner_drawn_menu.h"

namespace quillmor {
namespace {

// Shows the menu at `screen` and runs what was chosen there.
void ShowListMenu(MainWindow& w, bool hitRow, POINT screen) {
  const HMENU menu = CreateListContextMenu(w, hitRow);
  if (menu == nullptr) return;
  const UINT command = TrackThemedPopupMenu(w, menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y);
  DestroyMenu(menu);
  if (command != 0) RunListCommand(w, static_cast<int32_t>(command), &screen);
}

}  // namespace

HMENU CreateListContextMenu(MainWindow& w, bool hitRow) {
  ListMenuState state;
  state.hitRow = hitRow;
  state.viewMode = w.list.viewMode;
  state.sortColumn = w.app.results.sortColumn.load();
  state.sidebarLayout = w.app.window.sidebarLayout;
  state.gridLines = w.app.window.tableGridLines;
  state.initialSearch = w.app.window.initialSearchEnabled;
  return CreateMenuPopup(BuildListContextMenu(state));
}

LRESULT OnListRButtonUp(MainWindow& w, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  const ListFrame frame = ListFrameOf(w);
  if (x < ListAreaLeft(frame) || y < w.listTop) return DefWindowProcW(w.hwnd, WM_RBUTTONUP, wParam, lParam);
  const int64_t row = HitTestRow(frame, w.list.scrollOffset, w.list.count, x, y);
  if (row >= 0) {
    if (!w.list.selection.IsSelected(row)) w.list.selection.SelectOne(row);
    w.list.selection.SetFocused(row);
    InvalidateListArea(w);
  }
  POINT screen{};
  GetCursorPos(&screen);
  ShowListMenu(w, row >= 0, screen);
  return 0;
}

LRESULT OnListContextMenu(MainWindow& w, WPARAM wParam, LPARAM lParam) {
  // The keyboard's message carries the point (-1, -1): MAKELPARAM(-1, -1),
  // which is no -1 in a 64-bit LPARAM.
  const bool fromKeyboard = GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1;
  if (!fromKeyboard) return DefWindowProcW(w.hwnd, WM_CONTEXTMENU, wParam, lParam);
  // From the keyboard: at the focused row when it is in view, else at the
  // list's top left corner.
  const int64_t focused = w.list.selection.Focused();
  const bool onRow = focused >= 0 && focused < w.list.count;
  const RECT row = onRow ? ListRowRect(w, focused) : RECT{};
  const Rect area = ListArea(ListFrameOf(w));
  POINT at{area.left + Scaled(w, 24), area.top + Scaled(w, 8)};
  if (row.bottom > row.top) at = POINT{row.left + Scaled(w, 80), (row.top + row.bottom) / 2};
  ClientToScreen(w.hwnd, &at);
  ShowListMenu(w, onRow, at);
  return 0;
}

}  // namespace quillmor
