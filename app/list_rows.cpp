// What the result list shows, and where it is scrolled to.
#include "app/main_window_handlers.h"
#include "engine/visible_attr_hydration.h"
#include "search/filter_pass.h"
#include "settings/dpi_scale.h"

namespace quillmor {
namespace {

int32_t RowHeight(const MainWindow& w) {
  const int32_t height96 = w.list.viewMode == 1   ? kSmallIconRowHeight96
                           : w.list.viewMode == 2 ? kLargeIconRowHeight96
                                                  : kListRowHeight96;
  return ScaleFrom96(height96, static_cast<int32_t>(w.dpi));
}

int32_t RowAreaHeight(const MainWindow& w) {
  const int32_t header = w.list.viewMode == 0 ? ScaleFrom96(40, static_cast<int32_t>(w.dpi)) : 0;
  return std::max(0, w.clientHeight - w.listTop - header);
}

}  // namespace

void TakeDisplayedRows(MainWindow& w) {
  w.list.shown = DisplayedResults(w.session);
  w.list.count = w.list.shown ? static_cast<int64_t>(w.list.shown->size()) : 0;
}

void ClearListSelection(MainWindow& w) {
  w.list.selected.clear();
  w.list.focused = -1;
  w.list.anchor = -1;
}

void SetListScrollRange(MainWindow& w) { ScrollListTo(w, w.list.scrollOffset); }

void ScrollListTo(MainWindow& w, int64_t offset) {
  const int64_t content = w.list.count * RowHeight(w);
  const int64_t largest = std::max<int64_t>(0, content - RowAreaHeight(w));
  w.list.scrollOffset = std::clamp<int64_t>(offset, 0, largest);
  PublishListGeometry(w);
}

void PublishListGeometry(MainWindow& w) {
  ListGeometry geometry;
  geometry.rowAreaHeight = RowAreaHeight(w);
  geometry.scrollOffset = w.list.scrollOffset;
  geometry.viewMode = w.list.viewMode;
  geometry.iconsPerRow = 1;
  geometry.dpi = w.dpi;
  w.view.StoreGeometry(geometry);
}

bool ListScrollingActive(const MainWindow&) { return false; }

}  // namespace quillmor
