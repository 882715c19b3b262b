// The messages background work posts to the main window (WMU_*).
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "engine/attr_cache_autosave.h"
#include "engine/attr_cache_state.h"
#include "engine/attr_prewarm.h"
#include "platform/utf.h"
#include "search/filter_pass.h"
#include "search/query_trim.h"
#include "search/search_pipeline.h"
#include "settings/localisation.h"
#include "settings/translate_format.h"

namespace quillmor {
namespace {

// The selected tag's caption up to its first line break.
std::u16string SelectedTagName(MainWindow& w) {
  const int32_t tag = w.app.filters.selectedTag.load();
  if (tag <= 0 || static_cast<size_t>(tag) >= w.controls.tagButtons.size()) return {};
  const std::u16string caption = WindowText(w.controls.tagButtons[static_cast<size_t>(tag)], 512);
  return caption.substr(0, caption.find(u"\r\n"));
}

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
  SetWindowTextU(w.hwnd, Translate(u"App_TitleMainLower", u"Quillmor - quillmor.app", u"Quillmor - quillmor.app"));
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
  if (!w.app.results.IsCurrent(generation)) return;
  CancelRename(w, false);
  SearchSession& s = w.session;
  const bool filtersActive = w.app.filters.Settings().AnyActive();
  const bool partial = kind == 2;
  const bool keepView = partial ? s.keepView.load() != 0 : s.keepView.exchange(0) != 0;

  ClearListSelection(w);
  const Results snapshot = SnapshotResults(w.app.results);
  const int64_t n = snapshot ? static_cast<int64_t>(snapshot->size()) : 0;
  int64_t displayed = n;
  {
    std::lock_guard lock(s.filteredMutex);
    if (kind == 1 && filtersActive && s.filtered) {
      displayed = static_cast<int64_t>(s.filtered->size());
    } else {
      s.filtered.reset();
      s.applied = AppliedFilter{};
      s.displayedCount = n;
    }
  }

  const std::u16string title =
      partial ? FormatTranslated(u"Title_SearchPartialFmt", u"Quillmor - %lld+ 个结果...", u"Quillmor - %lld+ results...",
                                 displayed)
              : FormatTranslated(u"Title_SearchFinalFmt", u"Quillmor - 找到 %lld 个结果",
                                 u"Quillmor - %lld results found", displayed);
  SetWindowTextU(w.hwnd, title.substr(0, 127));

  std::u16string status;
  if (n > 0) {
    if (partial) {
      status = Translate(u"Status_SearchingShowingPrefix", u"搜索中... 已显示 ", u"Searching... showing ") +
               U16(std::to_string(n)) +
               Translate(u"Status_SearchingShowingSuffix", u" 个结果", u" results");
    } else if (w.app.filters.selectedTag.load() != 0) {
      status = Translate(u"Status_FilterApplyingPrefix", u"筛选：", u"Filter: ") + SelectedTagName(w) +
               Translate(u"Status_FilterApplyingSuffix", u" | 正在应用筛选...", u" | Applying filter...");
    } else {
      status = Translate(u"Status_FilterHitsPrefix", u"筛选：", u"Filter: ") + SelectedTagName(w) +
               Translate(u"Status_FilterHitsMid", u" | 命中：", u" | Hits: ") + U16(std::to_string(n));
    }
  }
  SetStatus(w, status);

  if (kind == 0) ScheduleFilterBarRefresh(w, 60);
  if (kind != 2 || filtersActive) RefreshFilteredResultsAsync(s);
  TakeDisplayedRows(w);
  w.list.count = displayed;
  if (kind == 0) {
    SetListScrollRange(w);
    ScrollListTo(w, keepView ? std::max<int64_t>(0, s.savedScrollOffset.load()) : 0);
    InvalidateListArea(w);
  } else if (kind == 1) {
    SetListScrollRange(w);
    InvalidateListArea(w);
  } else {
    SetListScrollRange(w);
    ScheduleListRepaint(w, 100);
  }
  if (!partial) ScheduleTrim(w, 1800);
}

void OnStatusTextMessage(MainWindow& w, WPARAM generation, LPARAM text) {
  auto* buffer = reinterpret_cast<char16_t*>(text);
  if (buffer != nullptr && w.app.results.IsCurrent(generation)) SetWindowTextU(w.hwnd, buffer);
  delete[] buffer;
}

void OnFilterResults(MainWindow& w) {
  ClearListSelection(w);
  ScheduleFilterBarRefresh(w, 80);
  const int64_t count = w.session.displayedCount.load();
  SetWindowTextU(w.hwnd, Translate(u"App_FilterTitlePrefix", u"Quillmor - 筛选：", u"Quillmor - Filter: ") +
                             SelectedTagName(w) +
                             Translate(u"App_FilterTitleHitsSeparator", u" | 命中：", u" | Hits: ") +
                             U16(std::to_string(count)));
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
  if (refreshed < 1) {
    SetStatus(w, Translate(u"Status_RefreshNonNtfsFailed", u"刷新非 NTFS 卷索引失败；详情见调试输出。",
                           u"Failed to refresh non-NTFS volume indexes; see debug output for details."));
    return;
  }
  RefreshSearchResultsAfterIndexUpdate(w.session);
  std::u16string status = Translate(u"Status_RefreshNonNtfsPrefix", u"已刷新 ", u"Refreshed ") +
                          U16(std::to_string(refreshed));
  if (failed != 0) {
    status += Translate(u"Status_RefreshNonNtfsFailedMid", u" 个非 NTFS 卷；", u" non-NTFS volumes; ") +
              U16(std::to_string(failed)) +
              Translate(u"Status_RefreshNonNtfsFailedSuffix", u" 个失败；详情见调试输出。",
                        u" failed; see debug output for details.");
  } else {
    status += Translate(u"Status_RefreshNonNtfsSingleSuffix", u" 个非 NTFS 卷索引；详情见调试输出。",
                        u" non-NTFS volume indexes; see debug output for details.");
  }
  SetStatus(w, status);
}

void OnVolumeLost(MainWindow& w) {
  if (!w.app.engine.RemoveUnavailableVolumes()) return;
  RebuildScopeBox(w);
  RerunCurrentQuery(w);
  SetStatus(w, Translate(u"Status_NtfsIndexRemoved", u"有驱动器不可用，已移除其索引。",
                         u"A drive is no longer available; its index was removed."));
}

void OnVolumesSynced(MainWindow& w) {
  if (!IsWindowEnabled(w.controls.searchEdit)) EnableWindow(w.controls.searchEdit, TRUE);
  RebuildScopeBox(w);
  SchedulePrewarmTimer(w, kPrewarmDelayAfterSyncMs);
  RerunCurrentQuery(w);
  SetStatus(w, Translate(u"Status_NewDiskDetected", u"驱动器已更新，新磁盘现在可以搜索。",
                         u"Drives updated; new disks are now searchable."));
}

}  // namespace quillmor
