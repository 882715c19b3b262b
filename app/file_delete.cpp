// Delete permanently and Move to the Recycle Bin: each item down its chain
// of methods, the failures reported once, the results refreshed.
#include <shobjidl.h>

#include "app/com_ptr.h"
#include "app/core/file_operation_texts.h"
#include "app/core/message_titles.h"
#include "app/file_operations.h"
#include "search/search_pipeline.h"

namespace quillmor {
namespace {

constexpr FILEOP_FLAGS kQuietFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
constexpr DWORD kAttributesInTheWay = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// DeleteFileW refuses a read-only file; a folder goes only when empty.
bool DirectDelete(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(W(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if ((attributes & kAttributesInTheWay) != 0) {
    const DWORD cleared = attributes & ~kAttributesInTheWay;
    SetFileAttributesW(W(path), cleared != 0 ? cleared : FILE_ATTRIBUTE_NORMAL);
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return RemoveDirectoryW(W(path)) != FALSE;
  return DeleteFileW(W(path)) != FALSE;
}

bool ShellDelete(HWND owner, const std::u16string& path, bool recycle) {
  std::u16string from = path;
  from.push_back(u'\0');  // the list ends with two zeros (c_str adds the second)
  SHFILEOPSTRUCTW operation{};
  operation.hwnd = owner;
  operation.wFunc = FO_DELETE;
  operation.pFrom = W(from);
  operation.fFlags = static_cast<FILEOP_FLAGS>(kQuietFlags | (recycle ? FOF_ALLOWUNDO : 0));
  return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

// The shell's file operation object (Wine answers E_NOTIMPL to all of it).
bool FileOperationDelete(const std::u16string& path, bool recycle) {
  const ComApartmentScope apartment;
  ComPtr<IFileOperation> operation;
  ComPtr<IShellItem> item;
  BOOL aborted = FALSE;
  return SUCCEEDED(
             CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_IFileOperation, operation.PutVoid())) &&
         SUCCEEDED(operation->SetOperationFlags(kQuietFlags | (recycle ? FOF_ALLOWUNDO : 0))) &&
         SUCCEEDED(SHCreateItemFromParsingName(W(path), nullptr, IID_IShellItem, item.PutVoid())) &&
         SUCCEEDED(operation->DeleteItem(item.get(), nullptr)) && SUCCEEDED(operation->PerformOperations()) &&
         SUCCEEDED(operation->GetAnyOperationsAborted(&aborted)) && !aborted;
}

DeleteAttempt AttemptFor(HWND owner) {
  return [owner](const DeleteStep& step, std::u16string_view path) { return DeleteByStep(owner, step, path); };
}

// After a run: the deleted rows leave the list, which keeps its place.
void Finish(MainWindow& w, const DeleteOutcome& outcome, size_t unresolved, const std::u16string& failureText) {
  if (outcome.failures + unresolved > 0) w.app.app.boxes->Show(w.hwnd, failureText, ErrorTitle(), MB_ICONERROR);
  if (!outcome.deleted.empty()) RefreshResultsAfterDelete(w.session, outcome.deleted);
}

}  // namespace

bool DeleteByStep(HWND owner, const DeleteStep& step, std::u16string_view path) {
  const std::u16string target(path);
  switch (step.method) {
    case DeleteMethod::kDirect:
      return DirectDelete(target);
    case DeleteMethod::kShell:
      return ShellDelete(owner, target, step.recycle);
    case DeleteMethod::kFileOperation:
      return FileOperationDelete(target, step.recycle);
  }
  return false;
}

void DeleteItemsPermanently(MainWindow& w) {
  const OperationItems ops = CollectOperationItems(w);
  const std::vector<std::u16string> paths = ops.Paths();
  if (paths.empty() && ops.dropped == 0) return;
  if (!paths.empty() && w.app.app.boxes->Show(w.hwnd, ConfirmDeleteText(paths), ConfirmDeleteTitle(),
                                              MB_YESNO | MB_ICONWARNING) != IDYES) {
    return;
  }
  const DeleteOutcome outcome = DeletePaths(paths, PermanentDeleteSteps(), AttemptFor(w.hwnd));
  Finish(w, outcome, ops.dropped, DeleteFailedText(outcome.failures + ops.dropped));
}

void RecycleItems(MainWindow& w) {
  const OperationItems ops = CollectOperationItems(w);
  const std::vector<std::u16string> paths = ops.Paths();
  if (paths.empty() && ops.dropped == 0) return;
  const DeleteOutcome outcome = DeletePaths(paths, RecycleSteps(), AttemptFor(w.hwnd));
  Finish(w, outcome, ops.dropped, RecycleFailedText());
}

}  // namespace quillmor
