// WM_COMMAND and WM_NOTIFY of the child controls, the owner-drawn items, and
// the mouse leaving the window.
#include "app/core/window_ids.h"
#include "app/file_operations.h"
#include "app/main_window_handlers.h"
#include "app/owner_drawn_menu.h"
#include "app/themed_controls.h"

namespace quillmor {

LRESULT OnCommand(MainWindow& w, WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  const auto control = reinterpret_cast<HWND>(lParam);
  if (id == kIdSearchEdit && code == EN_CHANGE) {
    OnSearchBoxChanged(w);
    return 0;
  }
  if (id == kIdScopeBox && code == CBN_SELCHANGE) {
    OnScopeBoxChanged(w);
    return 0;
  }
  if (control != nullptr && IsTagButtonId(id) && code == BN_CLICKED) {
    SelectTag(w, id - kIdFirstTagButton);
    return 0;
  }
  if (control != nullptr && OnFilterControlCommand(w, id, code, control)) return 0;
  if (control == nullptr && RunTrayCommand(w, id)) return 0;
  if (control == nullptr && RunListCommand(w, id)) return 0;
  return DefWindowProcW(w.hwnd, WM_COMMAND, wParam, lParam);
}

LRESULT OnNotify(MainWindow& w, const NMHDR* header) {
  if (header != nullptr) OnDatePickerNotify(w, *header);
  return 0;
}

LRESULT OnMeasureItem(MainWindow& w, MEASUREITEMSTRUCT* measure) {
  if (measure == nullptr) return FALSE;
  if (LRESULT result = 0; OfferToShellContextMenu(w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(measure), result)) {
    return result;
  }
  switch (measure->CtlType) {
    case ODT_COMBOBOX:
      MeasureComboItem(w, *measure);
      return TRUE;
    case ODT_MENU:
      return MeasureMenuItem(w, *measure) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

LRESULT OnDrawItem(MainWindow& w, const DRAWITEMSTRUCT* item) {
  if (item == nullptr) return FALSE;
  if (LRESULT result = 0; OfferToShellContextMenu(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(item), result)) {
    return result;
  }
  switch (item->CtlType) {
    case ODT_COMBOBOX:
      DrawComboItem(w, *item);
      return TRUE;
    case ODT_BUTTON:
      if (!IsTagButtonId(static_cast<int32_t>(item->CtlID))) return FALSE;
      DrawTagButton(w, *item);
      return TRUE;
    case ODT_MENU:
      return DrawMenuItem(w, *item) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

void OnMouseLeave(MainWindow& w) {
  ForgetListHover(w);  // the tooltip hides with it
  if (w.hotTag >= 0 && static_cast<size_t>(w.hotTag) < w.controls.tagButtons.size()) {
    InvalidateRect(w.controls.tagButtons[static_cast<size_t>(w.hotTag)], nullptr, FALSE);
  }
  w.hotTag = -1;
  IdleTrim(w);
}

}  // namespace quillmor
