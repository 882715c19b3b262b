// Acting on the results: opening, the clipboard, deleting, renaming in
// place, drag and drop, the shell's context menu, the list's own menu and the
// window's keys. Internal to the window's files (and their tests).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/core/command_ids.h"
#include "app/core/delete_chain.h"
#include "app/main_window.h"

namespace quillmor {

// The shell the window starts files through (the system's unless the
// program was given another).
inline ShellLauncher& ShellOf(MainWindow& w) {
  return w.app.app.shell != nullptr ? *w.app.app.shell : SystemShellLauncher();
}

// file_operation_items.cpp
// The rows an operation acts on (the selection in row order, else the
// focused row) with their full paths, resolved now under each volume's lock.
// Rows whose path comes out empty are left out and counted.
struct OperationItem {
  MatchItem item;
  std::u16string path;
};
struct OperationItems {
  std::vector<OperationItem> items;
  size_t dropped = 0;
  std::vector<std::u16string> Paths() const;
};
OperationItems CollectOperationItems(MainWindow& w);

// file_actions.cpp
// The file action of that number (0 to 8) on the operation items; nothing
// happens without items. (RunFileAction, list_view.h, takes the number.)
void RunFileAction(MainWindow& w, FileAction action);
// After an item was opened: the recent list takes it (when its record is
// still live) and recent.ini is rewritten.
void RecordOpen(MainWindow& w, const MatchItem& item);
// "Clear Recent Opens": the list and recent.ini emptied, the recent view
// shown again when the query is empty.
void ClearRecentOpens(MainWindow& w);

// clipboard_files.cpp
// A global memory block (GlobalAlloc with `flags`) holding a copy of the
// bytes; null when it cannot be had.
HGLOBAL GlobalMemoryCopy(const void* data, size_t bytes, UINT flags);
// Copy and Cut: the paths as a file drop list with "Preferred DropEffect"
// `dropEffect`. False when there are no paths, the clipboard cannot be
// opened or refuses the list.
bool PutFilesOnClipboard(HWND owner, std::span<const std::u16string> paths, uint32_t dropEffect);
// Copy Full Path: the paths as text, CR LF between them. Silent when the
// clipboard is busy.
void PutPathsOnClipboard(HWND owner, std::span<const std::u16string> paths);

// file_delete.cpp
// One delete method on one path; true when the path went.
bool DeleteByStep(HWND owner, const DeleteStep& step, std::u16string_view path);
// The operation items permanently, after asking; failures reported once.
void DeleteItemsPermanently(MainWindow& w);
// The operation items to the Recycle Bin, without asking.
void RecycleItems(MainWindow& w);

// rename_edit.cpp (BeginRename and CancelRename: list_view.h and
// main_window_handlers.h)
// Enter, or the edit losing the focus: renames the item to the edit's text.
void CommitRename(MainWindow& w);

// file_drag.cpp (StartFileDrag: list_view.h)

// shell_context_menu.cpp
// The shell's own context menu for the operation items of the first item's
// folder, at `screen`; the chosen command runs. Any failure ends it silently.
void ShowShellContextMenu(MainWindow& w, POINT screen);
// WM_INITMENUPOPUP, WM_MENUCHAR, WM_MEASUREITEM and WM_DRAWITEM go to the
// shell's handler first while its menu is open; true when it took the
// message (its answer in `result`).
bool OfferToShellContextMenu(MainWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// WM_INITMENUPOPUP and WM_MENUCHAR: the shell's menu first, else the
// default answer.
LRESULT OnShellMenuMessage(MainWindow& w, UINT message, WPARAM wParam, LPARAM lParam);

// list_context_menu.cpp
// WM_RBUTTONUP over the result area (right of the sidebar, below the list
// top): a row hit becomes the focused row (and the only selection unless it
// is selected already), and the list's menu opens at the cursor. Elsewhere
// the default processing.
LRESULT OnListRButtonUp(MainWindow& w, WPARAM wParam, LPARAM lParam);
// WM_CONTEXTMENU: from the keyboard (the menu key, Shift+F10) the list's menu
// opens at the focused row; a mouse click's gets the default processing.
LRESULT OnListContextMenu(MainWindow& w, WPARAM wParam, LPARAM lParam);
// The list menu's entries for what the window shows now (hitRow: the click
// hit a row), as a popup menu the caller destroys.
HMENU CreateListContextMenu(MainWindow& w, bool hitRow);

// list_commands.cpp
// A command of the list's menu (10001 to 10028); `at` is where
// the menu was opened, for the shell's context menu (the cursor when null).
// False for ids that are not these commands.
bool RunListCommand(MainWindow& w, int32_t id, const POINT* at = nullptr);

}  // namespace quillmor
