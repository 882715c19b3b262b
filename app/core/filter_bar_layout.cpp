#include "app/core/filter_bar_layout.h"

#include <algorithm>

#include "app/core/scroll_math.h"
#include "settings/dpi_scale.h"

namespace quillmor {
namespace {

// The row of inputs ends at 54; the tags keep the 8 px the sidebar keeps
// between its parts.
constexpr int32_t kTopBarButtonsY96 = 62;
constexpr int32_t kButtonLeft96 = 15;
constexpr int32_t kButtonPitch96 = 80;
constexpr int32_t kButtonWidth96 = 72;
constexpr int32_t kButtonHeight96 = 40;
constexpr int32_t kRowPitch96 = 48;
constexpr int32_t kRightMargin96 = 12;
constexpr int32_t kStatusHeight96 = 20;
constexpr int32_t kStatusWidth96 = 800;
constexpr int32_t kSidebarStatusY96 = 74;
constexpr int32_t kListBelowStatus96 = 6;
constexpr int32_t kSidebarInset96 = 8;
constexpr int32_t kSidebarButtonLeft96 = 12;
constexpr int32_t kBarThickness96 = 10;

void LayOutTopBar(const FilterBarInput& in, FilterBarLayout& out) {
  const auto px = [&](int32_t v) { return ScaleFrom96(v, in.dpi); };
  const int32_t rightLimit = in.clientWidth - px(kRightMargin96);
  int32_t x = px(kButtonLeft96);
  int32_t y = px(kTopBarButtonsY96);
  for (int32_t i = 0; i < in.tagCount; ++i) {
    // Wrap, but never leave a row empty: a window narrower than one button
    // keeps one button per row.
    if (x + px(kButtonWidth96) > rightLimit && x > px(kButtonLeft96)) {
      x = px(kButtonLeft96);
      y += px(kRowPitch96);
    }
    out.tagButtons.push_back(RectAt(x, y, px(kButtonWidth96), px(kButtonHeight96)));
    x += px(kButtonPitch96);
  }
  const int32_t rowsBottom = in.tagCount > 0 ? y + px(kButtonHeight96) : px(kTopBarButtonsY96);
  out.statusLine = RectAt(px(kButtonLeft96), rowsBottom + px(kSidebarInset96), px(kStatusWidth96), px(kStatusHeight96));
  out.listTop = out.statusLine.bottom + px(kListBelowStatus96);
}

void LayOutSidebar(const FilterBarInput& in, FilterBarLayout& out) {
  const auto px = [&](int32_t v) { return ScaleFrom96(v, in.dpi); };
  out.statusLine = RectAt(px(kButtonLeft96), px(kSidebarStatusY96), px(kStatusWidth96), px(kStatusHeight96));
  out.listTop = out.statusLine.bottom + px(kListBelowStatus96);

  const int32_t viewTop = out.listTop + px(kSidebarInset96);
  const int32_t viewBottom = std::max(viewTop, in.clientHeight - px(kSidebarInset96));
  const int32_t barLeft = in.sidebarWidth - px(kBarThickness96);
  out.sidebarScrollBar = Rect{barLeft, viewTop, in.sidebarWidth, viewBottom};

  const int64_t contentHeight =
      in.tagCount > 0 ? static_cast<int64_t>(in.tagCount - 1) * px(kRowPitch96) + px(kButtonHeight96) : 0;
  out.sidebarMaxScroll =
      static_cast<int32_t>(std::clamp<int64_t>(contentHeight - (viewBottom - viewTop), 0, INT32_MAX));
  out.sidebarScrollShown = out.sidebarMaxScroll > 0;
  const int32_t scroll = std::clamp(in.sidebarScrollOffset, 0, out.sidebarMaxScroll);

  const int32_t left = px(kSidebarButtonLeft96);
  const int32_t width = std::max(px(kButtonWidth96), barLeft - px(kSidebarInset96) - left);
  for (int32_t i = 0; i < in.tagCount; ++i) {
    out.tagButtons.push_back(RectAt(left, viewTop + i * px(kRowPitch96) - scroll, width, px(kButtonHeight96)));
  }
}

}  // namespace

FilterBarLayout LayOutFilterBar(const FilterBarInput& input) {
  FilterBarLayout layout;
  FilterBarInput in = input;
  in.tagCount = std::max(0, in.tagCount);
  if (in.sidebarLayout) {
    LayOutSidebar(in, layout);
  } else {
    LayOutTopBar(in, layout);
  }
  return layout;
}

int32_t SidebarScrollAfterWheel(const FilterBarLayout& layout, int32_t offset, int32_t wheelDelta, int32_t dpi) {
  // Content of the largest offset over a view of 0: the range [0, max].
  return static_cast<int32_t>(WheelVerticalOffset(offset, wheelDelta, layout.sidebarMaxScroll, 0, dpi));
}

}  // namespace quillmor
