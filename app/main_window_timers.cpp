// WM_TIMER, and the schedulers that arm the timers of deferred work.
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "engine/attr_cache_autosave.h"
#include "engine/attr_prewarm.h"
#include "engine/visible_attr_hydration.h"
#include "search/search_pipeline.h"
#include "settings/memory_trim.h"
#include "settings/message_log.h"

namespace quillmor {
namespace {

void OnStartupSyncTimer(MainWindow& w) {
  KillTimer(w.hwnd, ID_TIMER_STARTUP_SYNC);
  EnsureTrayIcon(w);
  const bool hiddenNeverShown = w.app.startedHidden && !w.everShown;
  if (w.app.engine.hasVolumes.load() == 0) {
    w.app.engine.SyncCurrentVolumesAsync(w.hwnd);
    if (hiddenNeverShown && !IsWindowVisible(w.hwnd)) {
      SetTimer(w.hwnd, ID_TIMER_STARTUP_SYNC, kStartupSyncRetryMs, nullptr);
    }
  }
  if (hiddenNeverShown && IsWindowVisible(w.hwnd)) ShowWindow(w.hwnd, SW_HIDE);
}

void OnScrollSettleTimer(MainWindow& w);

}  // namespace

void SchedulePrewarmTimer(MainWindow& w, uint32_t delayMs) {
  if (!IsWindow(w.hwnd)) return;
  SchedulePrewarm();
  KillTimer(w.hwnd, ID_TIMER_PREWARM);
  KillTimer(w.hwnd, ID_TIMER_PREWARM_WATCH);
  SetTimer(w.hwnd, ID_TIMER_PREWARM, delayMs, nullptr);
}

void ScheduleFilterBarRefresh(MainWindow& w, uint32_t delayMs) {
  if (!IsWindow(w.hwnd)) return;
  w.pending.filterBarRefresh = true;
  SetTimer(w.hwnd, ID_TIMER_FILTER_UI, delayMs, nullptr);
}

void ScheduleListRepaint(MainWindow& w, uint32_t delayMs) {
  if (!IsWindow(w.hwnd)) return;
  w.pending.listRepaint = true;
  SetTimer(w.hwnd, ID_TIMER_LIST_REPAINT, delayMs, nullptr);
}

void ScheduleTrim(MainWindow& w, uint32_t delayMs) {
  if (!IsWindow(w.hwnd) || ShuttingDown()) return;
  KillTimer(w.hwnd, ID_TIMER_TRIM);
  SetTimer(w.hwnd, ID_TIMER_TRIM, delayMs, nullptr);
}

void IdleTrim(MainWindow& w) { TrimSelfIfIdle(w.env, w.hwnd); }

void OnScheduleSearchRetry(MainWindow& w, WPARAM delayMs) {
  SetTimer(w.hwnd, ID_TIMER_SEARCH_RETRY, static_cast<UINT>(delayMs), nullptr);
}

void OnTimer(MainWindow& w, UINT_PTR id) {
  const HWND hwnd = w.hwnd;
  switch (id) {
    case ID_TIMER_TRAY_RETRY:
      LogMessage(w.env, u"ID_TIMER_TRAY_RETRY fired");
      EnsureTrayIcon(w);
      break;
    case ID_TIMER_SEARCH_DELAY:
      KillTimer(hwnd, id);
      DoSearchAsync(w.session, w.queryText, false, false);
      break;
    case ID_TIMER_SEARCH_RETRY:
      KillTimer(hwnd, id);
      if (!w.session.pendingQuery.empty()) DoSearchAsync(w.session, w.session.pendingQuery, false, false);
      break;
    case ID_TIMER_SCROLL_SETTLE:
      OnScrollSettleTimer(w);
      break;
    case ID_TIMER_STARTUP_SYNC:
      OnStartupSyncTimer(w);
      break;
    case ID_TIMER_PREWARM:
      KillTimer(hwnd, id);
      StartScheduledPrewarm(w.app.engine);
      SetTimer(hwnd, ID_TIMER_PREWARM_WATCH, kPrewarmPollIntervalMs, nullptr);
      break;
    case ID_TIMER_PREWARM_WATCH:
      if (PrewarmPollTick(w.app.engine)) KillTimer(hwnd, id);
      break;
    case ID_TIMER_FILTER_UI:
      KillTimer(hwnd, id);
      if (w.pending.filterBarRefresh.exchange(false)) RefreshFilterBar(w);
      break;
    case ID_TIMER_CACHE_AUTOSAVE:
      AttrCacheAutosaveTick(w.app.engine);
      break;
    case ID_TIMER_TRIM_IDLE:
    case ID_TIMER_TRIM:
      KillTimer(hwnd, id);
      IdleTrim(w);
      break;
    case ID_TIMER_HOTKEY_CAPTURE:
      OnHotkeyCaptureTimer(w);
      break;
    case ID_TIMER_LIST_REPAINT:
      KillTimer(hwnd, id);
      if (w.pending.listRepaint.exchange(false)) InvalidateListArea(w);
      break;
    default:
      break;
  }
}

namespace {

void OnScrollSettleTimer(MainWindow& w) {
  if (ListScrollingActive(w)) {
    SetTimer(w.hwnd, ID_TIMER_SCROLL_SETTLE, kScrollSettleRepollMs, nullptr);
    return;
  }
  KillTimer(w.hwnd, ID_TIMER_SCROLL_SETTLE);
  PublishListGeometry(w);
  RequestVisibleAttrHydrationAsync(w.env, w.app.results, w.view, w.list.shown);
  RequestVisibleThumbnailHydrationAsync(w);
  ScheduleListRepaint(w, kScrollSettleRepollMs);
}

}  // namespace

}  // namespace quillmor
