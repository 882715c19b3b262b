// Renaming a result in place: an edit over the focused row's name, committed
// by Enter or by leaving it, cancelled by Escape; the file renamed on disk,
// the record in the index and the recent list updated.
#include <mutex>
#include <shared_mutex>

#include "app/core/file_operation_texts.h"
#include "app/core/message_titles.h"
#include "app/core/inline_rename.h"
#include "app/core/operation_items.h"
#include "app/core/window_ids.h"
#include "app/file_operations.h"
#include "app/main_window_handlers.h"
#include "app/themed_controls.h"
#include "index/ascii_case.h"
#include "search/search_pipeline.h"

namespace quillmor {
namespace {

constexpr UINT_PTR kRenameSubclassId = 3;
constexpr int kMaxRenameChars = 511;

// The item's record as it stands now; false when it is gone (past the
// records, or deleted since).
bool ReadLiveRecord(const MatchItem& item, std::u16string& name, std::u16string& path, bool& isDirectory) {
  VolumeIndex* volume = item.volume;
  if (volume == nullptr) return false;
  std::shared_lock lock(volume->recordsLock);
  if (item.recordIndex >= volume->records.size()) return false;
  const FileRecord& record = volume->records[item.recordIndex];
  if (record.deleted || record.name == nullptr) return false;
  name.assign(record.name, record.nameLength);
  path = volume->BuildPath(item.recordIndex);
  isDirectory = record.isDirectory != 0;
  return true;
}

// The name the folder lists for `path`, or nothing when it is not there.
std::optional<std::u16string> NameOnDisk(const std::u16string& path) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(W(path), &found);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  FindClose(search);
  return win32::FromWide(found.cFileName);
}

// MoveFileW, and for a change of case only that the file system answered
// without changing the name, a second pass through a temporary name.
bool MoveToNewName(const std::u16string& from, const std::u16string& to, std::u16string_view newName, DWORD& error) {
  if (!MoveFileW(W(from), W(to))) {
    error = GetLastError();
    return false;
  }
  const std::optional<std::u16string> onDisk = NameOnDisk(to);
  if (!onDisk || *onDisk == newName || !EqualIgnoringAsciiCase(*onDisk, newName)) return true;
  const std::u16string folder(FolderOfPath(to));
  for (uint32_t attempt = 0; attempt < 16; ++attempt) {
    const std::u16string temporary = folder + CaseRenameTemporaryName(newName, attempt);
    if (!MoveFileW(W(to), W(temporary))) {
      error = GetLastError();
      if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) continue;
      return false;
    }
    if (MoveFileW(W(temporary), W(to))) return true;
    error = GetLastError();
    MoveFileW(W(temporary), W(from));  // put it back as it was
    return false;
  }
  return false;
}

void Commit(MainWindow& w, bool focusLost);

LRESULT CALLBACK RenameEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto& w = *reinterpret_cast<MainWindow*>(data);
  LRESULT result = 0;
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        Commit(w, false);
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        CancelRename(w, true);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == u'\r' || wParam == u'\n' || wParam == 0x1B || wParam == u'\t') return 0;  // no beep
      break;
    case WM_KILLFOCUS:
      HandleEditChrome(w, edit, message, wParam, lParam, result);
      // The rename's own message boxes take the focus too; they must not
      // commit a second time.
      if (w.fileOps.rename.edit == edit && !w.fileOps.rename.committing) Commit(w, true);
      return result;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, RenameEditProc, kRenameSubclassId);
      break;
    default:
      break;
  }
  if (HandleEditChrome(w, edit, message, wParam, lParam, result)) return result;
  return DefSubclassProc(edit, message, wParam, lParam);
}

void RefocusEdit(HWND edit) {
  if (!IsWindow(edit)) return;
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
}

// The rename went through: the index and the recent list learn the name,
// the edit goes and the list shows the new name at once.
void FinishRename(MainWindow& w, const MatchItem& item, const std::u16string& oldPath, const std::u16string& newPath,
                  const std::u16string& newName, bool focusLost) {
  item.volume->RenameRecord(item.recordIndex, newName);
  w.app.recent.RenameEntries(w.env, RecentItemOf(*item.volume, item.recordIndex), oldPath, newPath);
  CancelRename(w, false);
  ListState& list = w.list;
  list.selection.SelectOne(list.selection.Focused());
  list.lastClickedRow = -1;  // the next click must not open another rename
  if (!focusLost) SetFocus(w.hwnd);
  {
    // A filter pass kept from before judged the old name.
    std::lock_guard lock(w.session.filteredMutex);
    w.session.filtered.reset();
    w.session.applied = AppliedFilter{};
  }
  InvalidateListArea(w);
}

void Commit(MainWindow& w, bool focusLost) {
  RenameState& rename = w.fileOps.rename;
  const HWND edit = rename.edit;
  if (edit == nullptr || rename.committing) return;
  const std::u16string text = WindowText(edit, kMaxRenameChars);
  const MatchItem item = rename.item;
  std::u16string oldName;
  std::u16string oldPath;
  bool isDirectory = false;
  if (!ReadLiveRecord(item, oldName, oldPath, isDirectory)) return CancelRename(w, false);

  switch (DecideRenameCommit(text, oldName)) {
    case RenameCommit::kCancel:
      CancelRename(w, false);
      if (!focusLost) SetFocus(w.hwnd);
      return;
    case RenameCommit::kInvalidChars:
      rename.committing = true;
      w.app.app.boxes->Show(w.hwnd, RenameInvalidCharsText(), ErrorTitle(), MB_ICONERROR);
      rename.committing = false;
      RefocusEdit(edit);
      return;
    case RenameCommit::kRename:
      break;
  }

  const std::u16string newName(TrimRenameText(text));
  const std::u16string newPath = std::u16string(FolderOfPath(oldPath)) + newName;
  rename.committing = true;
  DWORD error = 0;
  if (MoveToNewName(oldPath, newPath, newName, error)) {
    rename.committing = false;
    FinishRename(w, item, oldPath, newPath, newName, focusLost);
    return;
  }
  // The flag stays up while the message has the focus.
  w.app.app.boxes->Show(w.hwnd, RenameFailedText(error), ErrorTitle(), MB_ICONERROR);
  rename.committing = false;
  RefocusEdit(edit);
}

}  // namespace

void BeginRename(MainWindow& w) {
  RenameState& rename = w.fileOps.rename;
  if (w.list.viewMode != kViewList) return;
  if (rename.edit != nullptr) {
    RefocusEdit(rename.edit);
    return;
  }
  const int64_t row = w.list.selection.Focused();
  const Results shown = w.list.shown;
  if (row < 0 || row >= w.list.count || !shown || static_cast<size_t>(row) >= shown->size()) return;
  const MatchItem item = (*shown)[static_cast<size_t>(row)];
  std::u16string name;
  std::u16string path;
  bool isDirectory = false;
  if (!ReadLiveRecord(item, name, path, isDirectory)) return;

  const ListFrame frame = ListFrameOf(w);
  const Rect area = ListArea(frame);
  const int32_t rowHeight = ViewMetricsFor(frame.viewMode, frame.dpi).rowHeight;
  const int64_t rowTop = area.top + row * rowHeight - w.list.scrollOffset;
  if (!RowLiesInView(rowTop, rowHeight, area.top, area.bottom)) return;
  const Rect place = RenameEditRect(area.left, frame.columnWidths[kColumnRowNumber], frame.columnWidths[kColumnName],
                                    w.list.hScrollOffset, static_cast<int32_t>(rowTop), rowHeight);

  const HWND edit =
      CreateWindowExW(0, L"EDIT", W(name), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, place.left, place.top,
                      place.right - place.left, place.bottom - place.top, w.hwnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRenameEdit)), w.app.instance, nullptr);
  if (edit == nullptr) return;
  rename.edit = edit;
  rename.item = item;
  rename.committing = false;
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(w.fonts.control), FALSE);
  SetWindowSubclass(edit, RenameEditProc, kRenameSubclassId, reinterpret_cast<DWORD_PTR>(&w));
  RefreshEditChrome(edit);
  SetFocus(edit);
  const NameSelection selection = RenameSelection(name, isDirectory);
  SendMessageW(edit, EM_SETSEL, selection.start, static_cast<LPARAM>(selection.end));
}

void CommitRename(MainWindow& w) { Commit(w, false); }

void CancelRename(MainWindow& w, bool focusSearchBox) {
  RenameState& rename = w.fileOps.rename;
  const HWND edit = std::exchange(rename.edit, nullptr);
  rename.item = MatchItem{};
  rename.committing = false;
  if (edit != nullptr) {
    RemoveWindowSubclass(edit, RenameEditProc, kRenameSubclassId);
    // Keys keep reaching the list when the edit had them.
    if (GetFocus() == edit && !focusSearchBox) SetFocus(w.hwnd);
    DestroyWindow(edit);
  }
  if (focusSearchBox && w.controls.searchEdit != nullptr && IsWindowEnabled(w.controls.searchEdit)) {
    SetFocus(w.controls.searchEdit);
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(w.controls.searchEdit));
    SendMessageW(w.controls.searchEdit, EM_SETSEL, end, static_cast<LPARAM>(end));
  }
}

}  // namespace quillmor
