// Keys reaching the main window or its subclassed children: hotkey capture
// first, then moving through the result list, then the window's key table.
#include "app/core/list_keyboard.h"
#include "app/main_window_handlers.h"

namespace quillmor {
namespace {

bool Pressed(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool NavigationKeyOf(WPARAM key, bool iconView, ListKey& out) {
  switch (key) {
    case VK_UP:
      out = ListKey::kUp;
      return true;
    case VK_DOWN:
      out = ListKey::kDown;
      return true;
    case VK_PRIOR:
      out = ListKey::kPageUp;
      return true;
    case VK_NEXT:
      out = ListKey::kPageDown;
      return true;
    case VK_HOME:
      out = ListKey::kHome;
      return true;
    case VK_END:
      out = ListKey::kEnd;
      return true;
    case VK_LEFT:
      out = ListKey::kLeft;
      return iconView;
    case VK_RIGHT:
      out = ListKey::kRight;
      return iconView;
    default:
      return false;
  }
}

void ShowKeyResult(MainWindow& w, const ListKeyResult& result) {
  if (result.verticalOffset != w.list.scrollOffset) {
    NoteListScrolled(w);
    ScrollListTo(w, result.verticalOffset);
  }
  InvalidateListArea(w);
}

}  // namespace

bool HandleListNavigationKey(MainWindow& w, HWND from, WPARAM key) {
  ListState& list = w.list;
  const ListFrame frame = ListFrameOf(w);
  const bool fromSearchBox = from != nullptr && from == w.controls.searchEdit;
  if (fromSearchBox) {
    // The box holds one line: these keys belong to the list. Home, End and
    // Ctrl+A keep editing the text.
    if (key != VK_DOWN && key != VK_UP && key != VK_PRIOR && key != VK_NEXT) return false;
    if (list.count <= 0) return true;
    SetFocus(w.hwnd);
    const int64_t focused = list.selection.Focused();
    if (key == VK_DOWN) {
      // Into the list: the focused row when there is one, else the first.
      if (focused < 0 || focused >= list.count) list.selection.SelectOne(0);
      ShowKeyResult(w, {list.selection.Focused(),
                        OffsetRevealingRow(frame, list.scrollOffset, list.count, list.selection.Focused())});
      return true;
    }
  } else if (from != w.hwnd) {
    return false;
  }

  if (key == 'A' && Pressed(VK_CONTROL) && !Pressed(VK_MENU)) {
    ShowKeyResult(w, SelectAllRows(list.selection, frame, list.scrollOffset, list.count));
    return true;
  }
  ListKey listKey;
  if (!NavigationKeyOf(key, IsIconView(frame.viewMode), listKey)) return false;
  if (list.count <= 0) return true;
  ShowKeyResult(w, ApplyListKey(list.selection, listKey, Pressed(VK_SHIFT), frame, list.scrollOffset, list.count));
  return true;
}

bool HandleWindowKey(MainWindow& w, HWND from, UINT message, WPARAM key, LPARAM lParam) {
  if (HandleCaptureKey(w, message, key)) return true;
  if (message == WM_KEYDOWN && HandleListNavigationKey(w, from, key)) return true;
  return HandleCommandKey(w, from, message, key, lParam);
}

LRESULT OnKeyDown(MainWindow& w, UINT message, WPARAM key, LPARAM lParam) {
  if (HandleWindowKey(w, w.hwnd, message, key, lParam)) return 0;
  return DefWindowProcW(w.hwnd, message, key, lParam);
}

}  // namespace quillmor
