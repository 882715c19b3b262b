// The messages background work posts to the main window (WMU_*).
#include "app/core/message_texts.h"
#include "app/core/message_titles.h"
#include "app/core/search_results_reaction.h"
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "engine/attr_cache_autosave.h"
#include "engine/attr_cache_state.h"
#include "engine/attr_prewarm.h"
#include "search/filter_pass.h"
#include "search/query_trim.h"
#include "search/search_pipeline.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

void StartInitialView(MainWindow& w) { DoSearchAsync(w.session, u"", false, true); }

}  // namespace

void SetStatus(MainWindow& w, const std::u16string& text) {
  if (w.controls.statusLine == nullptr) return;
  SetWindowTextU(w.controls.statusLine, text);
  ShowWindow(w.controls.statusLine, text.empty() ? SW_HIDE : SW_SHOWNA);
}

void RerunCurrentQuery(MainWindow& w) {
  const std::u16string query(TrimQueryText(w.queryText));
  if (query.empty()) {
    StartInitialView(w);
  } else {
    RefreshSearchResultsAfterIndexUpdate(w.session);
  }
}

void OnIndexReady(MainWindow& w, WPARAM wParam) {
  if (wParam == 1) {
    SetStatus(w, Translate(u"Status_InitIncompleteRetry", u"初始化未完成，正在后台重试加载磁盘索引...",
                           u"Initialization incomplete. Retrying disk index load in the background..."));
    w.app.engine.SyncCurrentVolumesAsync(w.hwnd);
    SetTimer(w.hwnd, ID_TIMER_STARTUP_SYNC, kStartupSyncRetryMs, nullptr);
    return;
  }
  RebuildScopeBox(w);
  SetWindowTextU(w.hwnd, MainWindowTitle());
  EnableWindow(w.controls.searchEdit, TRUE);
  RedrawWindow(w.controls.searchEdit, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  FocusSearchBox(w, true);
  if (w.app.startedHidden && !w.everShown && !IsWindowVisible(w.hwnd)) {
    w.pending.deferredWarmup = true;
    SetStatus(w, Translate(u"Status_BackgroundStartupCompleted", u"后台启动完成。打开窗口时再加载结果和缓存预热。",
                           u"Background startup finished. Results and cache warmup will run when the window is "
                           u"opened."));
  } else {
    w.pending.deferredWarmup = false;
    SchedulePrewarmTimer(w, kPrewarmDelayAfterReadyMs);
    StartInitialView(w);
  }
  SetTimer(w.hwnd, ID_TIMER_CACHE_AUTOSAVE, kAttrCacheAutosaveIntervalMs, nullptr);
  if (w.app.startedHidden) SetTimer(w.hwnd, ID_TIMER_TRIM_IDLE, kIdleTrimAfterHiddenReadyMs, nullptr);
}

void OnSearchResults(MainWindow& w, WPARAM generation, LPARAM kind) {
  if (!IsCurrentGeneration(generation, w.app.results.searchGeneration.load())) return;
  CancelRename(w, false);
  SearchSession& s = w.session;
  const FilterSettings filters = w.app.filters.Settings();

  SearchResultsInput in;
  in.lParam = kind;
  in.filtersActive = FiltersActive(filters.sizePreset, filters.timePreset, filters.selectedTag);
  in.keepView = s.keepView.load() != 0;
  in.savedOffset = s.savedScrollOffset.load();

  ClearListSelection(w);
  const Results snapshot = SnapshotResults(w.app.results);
  in.resultCount = snapshot ? snapshot->size() : 0;
  SearchResultsReaction reaction;
  {
    std::lock_guard lock(s.filteredMutex);
    in.filteredResultsExist = s.filtered != nullptr;
    in.filteredCount = s.filtered ? s.filtered->size() : 0;
    reaction = ReactToSearchResults(in);
    if (reaction.clearFilteredResults) {
      s.filtered.reset();
      s.applied = AppliedFilter{};
      s.displayedCount = static_cast<int64_t>(reaction.displayedCount);
    }
  }
  if (reaction.clearKeepView) s.keepView = 0;

  SetWindowTextU(w.hwnd, SearchResultsTitle(kind, reaction.displayedCount));
  SearchStatusInput status;
  status.lParam = kind;
  status.hasSnapshot = snapshot != nullptr;
  status.resultCount = in.resultCount;
  status.selectedTag = filters.selectedTag;
  const std::u16string tagName = SelectedTagName(w);
  status.tagName = tagName;
  SetStatus(w, SearchResultsStatus(status));

  if (reaction.scheduleFilterBarRefresh) ScheduleFilterBarRefresh(w, 60);
  if (reaction.startFilterPass) RefreshFilteredResultsAsync(s);
  TakeDisplayedRows(w);
  SetListScrollRange(w);
  if (reaction.newVerticalOffset) ScrollListTo(w, *reaction.newVerticalOffset);
  if (reaction.invalidateList) InvalidateListArea(w);
  if (reaction.scheduleRepaint) ScheduleListRepaint(w, 100);
  if (reaction.scheduleTrim) ScheduleTrim(w, 1800);
}

void OnStatusTextMessage(MainWindow& w, WPARAM generation, LPARAM text) {
  auto* buffer = reinterpret_cast<char16_t*>(text);
  if (buffer != nullptr && IsCurrentGeneration(generation, w.app.results.searchGeneration.load())) {
    SetWindowTextU(w.hwnd, buffer);
  }
  delete[] buffer;
}

void OnAppStatusText(MainWindow& w, LPARAM text) {
  auto* buffer = reinterpret_cast<char16_t*>(text);
  if (buffer != nullptr) SetStatus(w, buffer);
  delete[] buffer;
}

void OnFilterResults(MainWindow& w) {
  // The rows under an open rename edit are about to change.
  CancelRename(w, false);
  ClearListSelection(w);
  ScheduleFilterBarRefresh(w, 80);
  const int64_t count = std::max<int64_t>(0, w.session.displayedCount.load());
  SetWindowTextU(w.hwnd, FilterResultsTitle(SelectedTagName(w), static_cast<uint64_t>(count)));
  SetStatus(w, u"");
  TakeDisplayedRows(w);
  SetListScrollRange(w);
  ScheduleListRepaint(w, 60);
  ScheduleTrim(w, 2200);
}

void OnRecentLoaded(MainWindow& w) { RefreshRecentViewIfNeeded(w.session); }

void OnHydrationDone(MainWindow& w, WPARAM generation) {
  if (generation == g_attrCache.hydrationGeneration.load()) ScheduleListRepaint(w, 100);
}

void OnNonNtfsRefreshed(MainWindow& w, WPARAM refreshed, LPARAM failed) {
  RebuildScopeBox(w);
  w.app.engine.PrewarmAttrCacheAsync();
  if (static_cast<int64_t>(refreshed) >= 1) RefreshSearchResultsAfterIndexUpdate(w.session);
  SetStatus(w, NonNtfsRefreshStatus(static_cast<int64_t>(refreshed), static_cast<int64_t>(failed)));
}

void OnVolumeLost(MainWindow& w) {
  if (!w.app.engine.RemoveUnavailableVolumes()) return;
  RebuildScopeBox(w);
  RerunCurrentQuery(w);
  SetStatus(w, Translate(u"Status_NtfsIndexRemoved", u"有驱动器不可用，已移除其索引。",
                         u"A drive is no longer available; its index was removed."));
}

void OnVolumesSynced(MainWindow& w) {
  if (!IsWindowEnabled(w.controls.searchEdit)) {
    EnableWindow(w.controls.searchEdit, TRUE);
    RedrawWindow(w.controls.searchEdit, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  }
  RebuildScopeBox(w);
  SchedulePrewarmTimer(w, kPrewarmDelayAfterSyncMs);
  RerunCurrentQuery(w);
  SetStatus(w, Translate(u"Status_NewDiskDetected", u"驱动器已更新，新磁盘现在可以搜索。",
                         u"Drives updated; new disks are now searchable."));
}

}  // namespace quillmor
