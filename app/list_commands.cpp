// The commands of the result list's menu (also taken as WM_COMMAND) and the
// window's key table.
#include "app/core/command_keys.h"
#include "app/core/message_titles.h"
#include "app/core/non_ntfs_refresh.h"
#include "app/core/window_ids.h"
#include "app/file_operations.h"
#include "app/main_window_handlers.h"
#include "engine/sort_job.h"
#include "platform/win32_constants.h"
#include "search/filters_file.h"
#include "search/search_pipeline.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

void SetViewMode(MainWindow& w, int32_t mode) {
  SetListViewMode(w, mode);
  ScrollListTo(w, 0);
  SaveWindowSettingsNow(w);
  RelayoutAtCurrentSize(w);
  NoteListScrolled(w);  // the icons and sizes in view load once it settles
  InvalidateRect(w.hwnd, nullptr, TRUE);
  UpdateWindow(w.hwnd);
}

// Volumes whose drive has gone stop counting; the refresh runs only when a
// volume is left that a walk keeps.
void RefreshNonNtfs(MainWindow& w) {
  const std::vector<VolumePtr> volumes = w.app.engine.SnapshotVolumes();
  std::vector<NonNtfsCandidate> candidates;
  candidates.reserve(volumes.size());
  for (const VolumePtr& volume : volumes) {
    candidates.push_back({volume->available.load() != 0, volume->drive, volume->fileSystem, IsWalkedVolume(*volume)});
  }
  const NonNtfsRefreshPlan plan = PlanNonNtfsRefresh(candidates, w.env.files->LogicalDrives());
  for (const size_t gone : plan.gone) volumes[gone]->available = 0;
  if (!plan.refresh) return;
  SetStatus(w, Translate(u"Status_RefreshingAllNonNtfs", u"正在刷新所有非 NTFS 卷索引...",
                         u"Refreshing all non-NTFS volume indexes..."));
  w.app.engine.RefreshAllNonNtfsAsync(w.hwnd);
}

// Explorer with the filters file selected (written first when it is
// missing), or the folder itself when Explorer will not select it.
void OpenFilterConfig(MainWindow& w) {
  const std::u16string path = FilterFilePath(w.env);
  if (w.env.files->GetFileAttributes(path) == win32::kInvalidFileAttributes) {
    WriteFilterFile(*w.env.files, path, *w.app.filters.Tags());
  }
  ShellLauncher& shell = ShellOf(w);
  if (shell.Execute(w.hwnd, {u"open", u"explorer.exe", u"/select,\"" + path + u"\"", false, 0, SW_SHOWNORMAL})) return;
  const size_t slash = path.rfind(u'\\');
  shell.Execute(w.hwnd,
                {u"open", slash == std::u16string::npos ? path : path.substr(0, slash), u"", false, 0, SW_SHOWNORMAL});
}

void ResetFilterTagsAfterAsking(MainWindow& w) {
  const int answer = w.app.app.boxes->Show(
      w.hwnd,
      Translate(u"Msg_ResetFilterConfirm", u"要将筛选标签恢复为默认吗？\n\n（重新启动程序后筛选按钮才会刷新。）",
                u"Reset filter tags to defaults?\n\n(Restart the app to refresh filter buttons.)"),
      Translate(u"MsgTitle_ConfirmReset", u"确认重置", u"Confirm Reset"), MB_YESNO | MB_ICONQUESTION);
  if (answer != IDYES) return;
  ResetFilterTags(w.env, w.app.filters);
  RebuildTagButtons(w);
  RefreshFilterBar(w);
  w.app.app.boxes->Show(w.hwnd, Translate(u"Msg_ResetComplete", u"设置已重置。", u"Settings have been reset."),
                        CompletedTitle(), MB_ICONINFORMATION);
}

KeyFocus FocusOf(const MainWindow& w, HWND from) {
  if (from == w.hwnd) return KeyFocus::kList;
  if (from != nullptr && from == w.controls.searchEdit) return KeyFocus::kSearchBox;
  if (from != nullptr && from == w.fileOps.rename.edit) return KeyFocus::kRenameEdit;
  return KeyFocus::kOtherEdit;
}

}  // namespace

bool RunListCommand(MainWindow& w, int32_t id, const POINT* at) {
  if (const std::optional<FileAction> action = FileActionOfCommand(id)) {
    RunFileAction(w, *action);
    return true;
  }
  if (const std::optional<int32_t> mode = ViewModeOfCommand(id)) {
    SetViewMode(w, *mode);
    return true;
  }
  if (const std::optional<int32_t> column = SortColumnOfCommand(id)) {
    DoSortAsync(w.app.engine, w.app.results, w.view, *column);
    return true;
  }
  switch (id) {
    case kCommandClearRecent:
      ClearRecentOpens(w);
      return true;
    case kCommandRename:
      BeginRename(w);
      return true;
    case kCommandRefreshNonNtfs:
      RefreshNonNtfs(w);
      return true;
    case kCommandLayoutSidebar:
    case kCommandLayoutTopBar:
      SetFilterLayout(w, id == kCommandLayoutSidebar);
      return true;
    case kCommandGridLines:
      ToggleGridLines(w);
      return true;
    case kCommandInitialSearch:
      ToggleInitialSearch(w);
      return true;
    case kCommandOpenFilterConfig:
      OpenFilterConfig(w);
      return true;
    case kCommandResetFilterTags:
      ResetFilterTagsAfterAsking(w);
      return true;
    case kCommandSystemContextMenu: {
      POINT point{};
      if (at != nullptr) {
        point = *at;
      } else {
        GetCursorPos(&point);
      }
      ShowShellContextMenu(w, point);
      return true;
    }
    default:
      return false;
  }
}

bool HandleCommandKey(MainWindow& w, HWND from, UINT, WPARAM key, LPARAM) {
  const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  switch (DecideCommandKey(static_cast<uint32_t>(key), ctrl, FocusOf(w, from))) {
    case CommandKey::kNone:
      return false;
    case CommandKey::kOpen:
      RunFileAction(w, FileAction::kOpen);
      return true;
    case CommandKey::kRename:
      BeginRename(w);
      return true;
    case CommandKey::kRecycle:
      RunFileAction(w, FileAction::kRecycle);
      return true;
    case CommandKey::kCopy:
      RunFileAction(w, FileAction::kCopyFiles);
      return true;
    case CommandKey::kCut:
      RunFileAction(w, FileAction::kCutFiles);
      return true;
    case CommandKey::kDeletePermanently:
      RunFileAction(w, FileAction::kDeletePermanently);
      return true;
  }
  return false;
}

}  // namespace quillmor
