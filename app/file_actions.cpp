// The file actions the window runs on the selected results (0 to 8), and
// the recent list that opening feeds.
#include <mutex>
#include <shared_mutex>

#include "app/core/clipboard_formats.h"
#include "app/core/file_operation_texts.h"
#include "app/core/message_titles.h"
#include "app/file_operations.h"
#include "app/list_view.h"
#include "search/search_pipeline.h"

namespace quillmor {
namespace {

// Open (1): each item in turn; the shell shows no error of its own and the
// program reports none either.
void OpenItems(MainWindow& w, const OperationItems& ops) {
  for (const OperationItem& op : ops.items) {
    ShellOf(w).Execute(w.hwnd, {u"open", op.path, u"", true, SEE_MASK_FLAG_NO_UI, SW_SHOWNORMAL});
    RecordOpen(w, op.item);
  }
}

// Open Containing Folder (0): Explorer with the first item selected.
void RevealFirstItem(MainWindow& w, const OperationItems& ops) {
  ShellOf(w).Execute(
      w.hwnd, {u"open", u"explorer.exe", u"/select,\"" + ops.items.front().path + u"\"", false, 0, SW_SHOWNORMAL});
}

void CopyOrCut(MainWindow& w, const OperationItems& ops, uint32_t dropEffect) {
  if (PutFilesOnClipboard(w.hwnd, ops.Paths(), dropEffect)) return;
  w.app.app.boxes->Show(w.hwnd, CopyFailedText(), ErrorTitle(), MB_ICONERROR);
}

}  // namespace

void RunFileAction(MainWindow& w, int action) {
  if (action < 0 || action >= kFileActionCount) return;
  RunFileAction(w, static_cast<FileAction>(action));
}

void RunFileAction(MainWindow& w, FileAction action) {
  // Deleting counts the rows it cannot resolve as failures; the others
  // simply leave them out.
  if (action == FileAction::kDeletePermanently) return DeleteItemsPermanently(w);
  if (action == FileAction::kRecycle) return RecycleItems(w);
  const OperationItems ops = CollectOperationItems(w);
  if (ops.items.empty()) return;
  const OperationItem& first = ops.items.front();
  switch (action) {
    case FileAction::kOpenContainingFolder:
      RevealFirstItem(w, ops);
      break;
    case FileAction::kOpen:
      OpenItems(w, ops);
      break;
    case FileAction::kCopyFullPath:
      PutPathsOnClipboard(w.hwnd, ops.Paths());
      break;
    case FileAction::kCopyFiles:
      CopyOrCut(w, ops, kDropEffectCopy);
      break;
    case FileAction::kCutFiles:
      CopyOrCut(w, ops, kDropEffectMove);
      break;
    case FileAction::kRunAsAdministrator:
      ShellOf(w).Execute(w.hwnd, {u"runas", first.path, u"", true, SEE_MASK_FLAG_NO_UI, SW_SHOWNORMAL});
      RecordOpen(w, first.item);
      break;
    case FileAction::kProperties:
      ShellOf(w).Execute(
          w.hwnd, {u"properties", first.path, u"", true, SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI, SW_SHOWNORMAL});
      break;
    case FileAction::kDeletePermanently:
    case FileAction::kRecycle:
      break;
  }
}

void RecordOpen(MainWindow& w, const MatchItem& item) {
  VolumeIndex* volume = item.volume;
  if (volume == nullptr) return;
  std::u16string path;
  {
    std::shared_lock lock(volume->recordsLock);
    if (item.recordIndex >= volume->records.size() || volume->records[item.recordIndex].deleted) return;
    path = volume->BuildPath(item.recordIndex);
  }
  w.app.recent.RecordOpen(w.env, RecentItemOf(*volume, item.recordIndex), path);
}

void ClearRecentOpens(MainWindow& w) {
  w.app.recent.Clear(w.env);
  RefreshRecentViewIfNeeded(w.session);
}

}  // namespace quillmor
