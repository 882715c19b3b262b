// What the system tells the window: drives coming and going, power, DPI, and
// a restarted taskbar.

#include "app/core/dpi_rescale.h"
#include "app/core/window_ids.h"
#include "app/dpi.h"
#include "app/main_window_handlers.h"
#include "app/themed_controls.h"
#include "platform/shutdown.h"
#include "settings/background_task.h"
#include "settings/dpi_scale.h"
#include "settings/localisation.h"
#include "settings/message_log.h"

namespace quillmor {
namespace {

// The drive letters of a volume broadcast, or 0 for any other device.
uint32_t VolumeUnitMask(LPARAM data) {
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_VOLUME) return 0;
  return reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data)->dbcv_unitmask;
}

}  // namespace

LRESULT OnDeviceChange(MainWindow& w, WPARAM event, LPARAM data) {
  if (ShuttingDown()) return TRUE;
  const uint32_t mask = VolumeUnitMask(data);
  if (mask == 0) return TRUE;
  SearchEngine& engine = w.app.engine;
  switch (event) {
    case DBT_DEVICEQUERYREMOVE:
    case DBT_DEVICEREMOVEPENDING:
      if (engine.HasVolumeInMask(mask) && engine.ReleaseVolumesByMask(mask) > 0) {
        const HWND window = w.hwnd;
        Env& env = w.env;
        StartBackgroundTask(env, u"device_change_refresh_ui",
                            [&env, window] { PostIfWindow(*env.windows, window, WMU_VOLUME_LOST, 0, 0); });
        SetStatus(w, Translate(u"Status_DriveEjectDetected", u"检测到弹出驱动器；已提前释放句柄。",
                               u"Drive eject detected; handles were released early."));
      }
      break;
    case DBT_DEVICEREMOVECOMPLETE:
      if (engine.HasVolumeInMask(mask)) {
        RebuildScopeBox(w);
        RerunCurrentQuery(w);
        SetStatus(w, Translate(u"Status_DriveRemoved", u"磁盘已移除，选择已自动更新。",
                               u"A disk was removed; the selection was updated automatically."));
      }
      break;
    case DBT_DEVICEARRIVAL:
      engine.OnDeviceArrival(mask, w.hwnd);
      break;
    default:
      break;
  }
  return TRUE;
}

LRESULT OnPowerBroadcast(MainWindow& w, WPARAM event, LPARAM lParam) {
  if (event != PBT_APMRESUMEAUTOMATIC && event != PBT_APMRESUMESUSPEND) {
    return DefWindowProcW(w.hwnd, WM_POWERBROADCAST, event, lParam);
  }
  LogMessage(w.env, u"WM_POWERBROADCAST resume");
  RecreateBackBuffer(w);
  EnsureTrayIcon(w);
  InvalidateRect(w.hwnd, nullptr, TRUE);
  UpdateWindow(w.hwnd);
  return TRUE;
}

void OnDpiChanged(MainWindow& w, WPARAM wParam, const RECT* suggested) {
  uint32_t dpi = LOWORD(wParam);
  if (dpi == 0) dpi = WindowDpi(w.hwnd, 96);
  if (DpiChangeRescales(static_cast<int32_t>(w.dpi), static_cast<int32_t>(dpi))) {
    RescaleForDpi(w, w.dpi == 0 ? 96 : w.dpi, dpi);
  }
  if (suggested != nullptr) {
    SetWindowPos(w.hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void RescaleForDpi(MainWindow& w, uint32_t oldDpi, uint32_t newDpi) {
  RescaleListForDpi(w, oldDpi, newDpi);
  StoredMetrics metrics;
  metrics.sidebarWidth = w.sidebarWidth;
  metrics.listTop = w.listTop;
  metrics.sidebarScrollOffset = w.sidebarScroll;
  metrics = RescaleStoredMetrics(metrics, static_cast<int32_t>(oldDpi), static_cast<int32_t>(newDpi));
  w.sidebarWidth = metrics.sidebarWidth;
  w.listTop = metrics.listTop;
  w.sidebarScroll = metrics.sidebarScrollOffset;
  w.dpi = newDpi;
  RecreateFonts(w);
  for (HWND edit : {w.controls.searchEdit, w.controls.customSize}) {
    if (edit != nullptr) RefreshEditChrome(edit);
  }
  RefreshFilterBar(w);
  RelayoutAtCurrentSize(w);
}

void OnDisplayChange(MainWindow& w) {
  RecreateBackBuffer(w);
  InvalidateRect(w.hwnd, nullptr, TRUE);
}

void OnTaskbarCreated(MainWindow& w) {
  LogMessage(w.env, u"TaskbarCreated received");
  w.trayIconPresent = false;
  EnsureTrayIcon(w);
}

}  // namespace quillmor
