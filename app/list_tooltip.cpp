// The list's tracking tooltip: the full text of the hovered cell, beside the
// pointer and on the monitor's work area.
#include "app/core/tooltip_place.h"
#include "app/core/tooltip_text.h"
#include "app/main_window_handlers.h"

namespace quillmor {
namespace {

TOOLINFOW ListTool(MainWindow& w) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = w.hwnd;
  tool.uId = reinterpret_cast<UINT_PTR>(w.hwnd);
  return tool;
}

std::u16string HoveredCellTip(MainWindow& w) {
  const ListState& list = w.list;
  if (!list.shown || list.hovered < 0 || list.hovered >= list.count ||
      static_cast<size_t>(list.hovered) >= list.shown->size()) {
    return {};
  }
  const MatchItem& item = (*list.shown)[static_cast<size_t>(list.hovered)];
  const ListRow row = ReadListRow(item);
  if (!row.valid) return {};
  const std::optional<AttrEntry> attrs = CachedAttributes(item, row);
  const TooltipText tip =
      TooltipForCell(list.hoveredColumn, row.isDirectory, row.path, attrs ? &*attrs : nullptr, *w.env.clock);
  if (tip.attributesMissing && !ListScrollingActive(w)) RequestListAttrHydration(w);
  return tip.text;
}

}  // namespace

void UpdateListTooltip(MainWindow& w, POINT screen) {
  const HWND tooltip = w.controls.tooltip;
  const std::u16string text = HoveredCellTip(w);
  if (text.empty()) {
    HideListTooltip(w);
    return;
  }
  w.list.tooltipText = text;
  if (tooltip == nullptr) return;
  TOOLINFOW tool = ListTool(w);
  tool.lpszText = const_cast<wchar_t*>(W(text));
  SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  const LRESULT bubble = SendMessageW(tooltip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool));
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  Rect work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoW(MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST), &monitor)) {
    work = Rect{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
  }
  const ScreenPoint place =
      PlaceTooltip(ScreenPoint{screen.x, screen.y}, LOWORD(bubble), HIWORD(bubble), work, static_cast<int32_t>(w.dpi));
  SendMessageW(tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(place.x, place.y));
  SendMessageW(tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void HideListTooltip(MainWindow& w) {
  const bool shown = !w.list.tooltipText.empty();
  w.list.tooltipText.clear();
  if (!shown || w.controls.tooltip == nullptr) return;
  TOOLINFOW tool = ListTool(w);
  SendMessageW(w.controls.tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace quillmor
