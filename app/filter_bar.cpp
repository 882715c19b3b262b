// The filter bar: one owner-drawn button per tag showing how many of the
// current results it would keep, laid out in the top bar (wrapping) or in the
// sidebar (one column that scrolls on its own), and the selected tag.
#include "search/filter_bar.h"
#include "app/core/filter_bar_layout.h"
#include "app/core/message_texts.h"
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "app/paint_helpers.h"
#include "app/themed_controls.h"
#include "search/filter_pass.h"

namespace quillmor {
namespace {

constexpr UINT_PTR kTagButtonSubclassId = 3;
constexpr int32_t kTagRadius96 = 8;
constexpr int32_t kSidebarLine96 = 48;  // one tag button's pitch in the sidebar

int32_t TagIndexOf(HWND button) { return GetDlgCtrlID(button) - kIdFirstTagButton; }

LRESULT CALLBACK TagButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto& w = *reinterpret_cast<MainWindow*>(data);
  switch (message) {
    case WM_MOUSEMOVE:
      if (w.hotTag != TagIndexOf(button)) {
        const int32_t previous = w.hotTag;
        w.hotTag = TagIndexOf(button);
        if (previous >= 0 && static_cast<size_t>(previous) < w.controls.tagButtons.size()) {
          InvalidateRect(w.controls.tagButtons[static_cast<size_t>(previous)], nullptr, FALSE);
        }
        InvalidateRect(button, nullptr, FALSE);
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
      }
      break;
    case WM_MOUSELEAVE:
      if (w.hotTag == TagIndexOf(button)) {
        w.hotTag = -1;
        InvalidateRect(button, nullptr, FALSE);
      }
      break;
    case WM_ERASEBKGND:
      return 1;  // drawn whole in WM_DRAWITEM
    case WM_NCDESTROY:
      RemoveWindowSubclass(button, TagButtonProc, kTagButtonSubclassId);
      if (w.hotTag == TagIndexOf(button)) w.hotTag = -1;
      break;
    default:
      break;
  }
  return DefSubclassProc(button, message, wParam, lParam);
}

HWND MakeTagButton(MainWindow& w, size_t index, const std::u16string& caption) {
  const int x = Scaled(w, 15 + static_cast<int32_t>(index) * 80);
  const HWND button =
      CreateWindowExW(WS_EX_COMPOSITED, L"BUTTON", W(caption), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | BS_MULTILINE, x,
                      Scaled(w, 54), Scaled(w, 72), Scaled(w, 40), w.hwnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdFirstTagButton + static_cast<int>(index))),
                      w.app.instance, nullptr);
  if (button == nullptr) return nullptr;
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(w.fonts.tag), FALSE);
  SetWindowSubclass(button, TagButtonProc, kTagButtonSubclassId, reinterpret_cast<DWORD_PTR>(&w));
  return button;
}

FilterBarLayout CurrentFilterBarLayout(const MainWindow& w) {
  FilterBarInput in;
  in.clientWidth = w.clientWidth;
  in.clientHeight = w.clientHeight;
  in.sidebarLayout = w.app.window.sidebarLayout;
  in.sidebarWidth = w.sidebarWidth;
  in.tagCount = static_cast<int32_t>(w.controls.tagButtons.size());
  in.sidebarScrollOffset = w.sidebarScroll;
  in.dpi = static_cast<int32_t>(w.dpi);
  return LayOutFilterBar(in);
}

void ClearWindowRegion(HWND button) {
  RECT box{};
  if (GetWindowRgnBox(button, &box) != ERROR) SetWindowRgn(button, nullptr, TRUE);
}

// A button in the sidebar shows only the part inside the sidebar's view, so
// that tags scrolled away never cover the band above.
void PlaceSidebarButton(HDWP& defer, HWND button, const Rect& rect, const Rect& view) {
  const Rect visible{rect.left, std::max(rect.top, view.top), rect.right, std::min(rect.bottom, view.bottom)};
  if (visible.Height() <= 0) {
    defer = DeferWindowPos(defer, button, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    return;
  }
  defer = DeferWindowPos(defer, button, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (visible.Height() == rect.Height()) {
    ClearWindowRegion(button);
    return;
  }
  // The window owns the region from here on.
  SetWindowRgn(button, CreateRectRgn(0, visible.top - rect.top, rect.Width(), visible.bottom - rect.top), TRUE);
}

void UpdateSidebarScrollBar(MainWindow& w, const FilterBarLayout& layout) {
  const HWND bar = w.controls.sidebarScroll;
  if (bar == nullptr) return;
  const bool shown = w.app.window.sidebarLayout && layout.sidebarScrollShown;
  if (shown) {
    const Rect& r = layout.sidebarScrollBar;
    SetWindowPos(bar, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nPage = static_cast<UINT>(std::max(1, r.Height()));
    info.nMax = layout.sidebarMaxScroll + static_cast<int>(info.nPage) - 1;
    info.nPos = w.sidebarScroll;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
  }
  ShowWindow(bar, shown ? SW_SHOWNA : SW_HIDE);
}

void ScrollSidebarTo(MainWindow& w, int32_t offset) {
  const FilterBarLayout layout = CurrentFilterBarLayout(w);
  const int32_t clamped = std::clamp(offset, 0, layout.sidebarMaxScroll);
  if (clamped == w.sidebarScroll) return;
  w.sidebarScroll = clamped;
  LayOutFilterBarControls(w);
}

}  // namespace

void CreateTagButtons(MainWindow& w) {
  const FilterTagsSnapshot tags = w.app.filters.Tags();
  const size_t wanted = std::min(tags->size(), kMaxFilterTags);
  std::vector<HWND>& buttons = w.controls.tagButtons;
  while (buttons.size() > wanted) {
    DestroyWindow(buttons.back());
    buttons.pop_back();
  }
  for (size_t i = 0; i < wanted; ++i) {
    const std::u16string caption = TagButtonCaption(i, (*tags)[i], 0);
    if (i < buttons.size()) {
      SetWindowTextU(buttons[i], caption);
      continue;
    }
    const HWND button = MakeTagButton(w, i, caption);
    if (button == nullptr) break;
    buttons.push_back(button);
  }
}

void RebuildTagButtons(MainWindow& w) {
  CreateTagButtons(w);
  LayOutFilterBarControls(w);
  for (HWND button : w.controls.tagButtons) InvalidateRect(button, nullptr, FALSE);
  ScheduleFilterBarRefresh(w, 60);
}

void LayOutFilterBarControls(MainWindow& w) {
  const FilterBarLayout layout = CurrentFilterBarLayout(w);
  w.sidebarScroll = std::clamp(w.sidebarScroll, 0, layout.sidebarMaxScroll);
  w.listTop = layout.listTop;
  const std::vector<HWND>& buttons = w.controls.tagButtons;
  HDWP defer = BeginDeferWindowPos(static_cast<int>(buttons.size()) + 1);
  const Rect view{0, layout.sidebarScrollBar.top, w.sidebarWidth, layout.sidebarScrollBar.bottom};
  for (size_t i = 0; i < buttons.size() && i < layout.tagButtons.size() && defer != nullptr; ++i) {
    const Rect& r = layout.tagButtons[i];
    if (w.app.window.sidebarLayout) {
      PlaceSidebarButton(defer, buttons[i], r, view);
    } else {
      defer = DeferWindowPos(defer, buttons[i], nullptr, r.left, r.top, r.Width(), r.Height(),
                             SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      ClearWindowRegion(buttons[i]);
    }
  }
  if (w.controls.statusLine != nullptr && defer != nullptr) {
    const Rect& s = layout.statusLine;
    const int width = std::min(s.Width(), std::max(0, w.clientWidth - s.left - Scaled(w, 12)));
    defer = DeferWindowPos(defer, w.controls.statusLine, nullptr, s.left, s.top, width, s.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (defer != nullptr) EndDeferWindowPos(defer);
  UpdateSidebarScrollBar(w, layout);
}

void RefreshFilterBar(MainWindow& w) {
  FilterState& filters = w.app.filters;
  if (w.controls.customSize != nullptr) {
    const std::u16string text = WindowText(w.controls.customSize, 127);
    filters.SetCustomSizeText(text);
    w.view.StoreCustomSizeText(text);
  }
  const PickedDates dates = ReadDatePickers(w);
  const FilterBar bar = ComputeFilterBar(*w.env.clock, filters, SnapshotResults(w.app.results), dates,
                                         w.app.results.sortColumn.load() == kColumnCreated);
  if (bar.counts.attributesMissing) SetTimer(w.hwnd, ID_TIMER_SCROLL_SETTLE, 60, nullptr);
  const std::vector<HWND>& buttons = w.controls.tagButtons;
  for (size_t i = 0; i < buttons.size() && i < bar.captions.size(); ++i) {
    // Only a changed caption is set: the button would flicker otherwise.
    if (WindowText(buttons[i], 512) != bar.captions[i]) SetWindowTextU(buttons[i], bar.captions[i]);
  }
}

void SelectTag(MainWindow& w, int32_t index) {
  if (!w.app.filters.SelectTag(index)) return;
  for (HWND button : w.controls.tagButtons) InvalidateRect(button, nullptr, FALSE);
  ScrollListTo(w, 0);
  InvalidateListArea(w);
  RefreshFilteredResultsAsync(w.session);
  FocusSearchBox(w, false);
}

std::u16string SelectedTagName(const MainWindow& w) {
  const int32_t tag = w.app.filters.selectedTag.load();
  if (tag < 0 || static_cast<size_t>(tag) >= w.controls.tagButtons.size()) return {};
  return std::u16string(TagNameFromCaption(WindowText(w.controls.tagButtons[static_cast<size_t>(tag)], 512)));
}

void DrawTagButton(MainWindow& w, const DRAWITEMSTRUCT& item) {
  const int32_t index = static_cast<int32_t>(item.CtlID) - kIdFirstTagButton;
  const bool selected = w.app.filters.selectedTag.load() == index;
  const bool hot = w.hotTag == index || (item.itemState & ODS_SELECTED) != 0;
  const ThemePalette& p = *w.theme.palette;
  const ControlPalette& c = *w.theme.controls;
  const std::u16string caption = WindowText(item.hwndItem, 512);
  const std::u16string name(TagNameFromCaption(caption));
  const std::u16string count(CountFromCaption(caption));

  BufferedPaint buffer(item.hDC, item.rcItem);
  const HDC dc = buffer.dc();
  const RECT& r = item.rcItem;
  FillSolid(dc, r, BackdropColour(w, item.hwndItem));
  const uint32_t fill = selected ? c.tagSelectedFill : hot ? c.tagHotFill : c.tagFill;
  const uint32_t frame = selected ? c.accent : hot ? c.frameHot : c.frame;
  FillRoundedBox(dc, r, Scaled(w, kTagRadius96), fill, frame);
  const uint32_t nameColour = selected ? c.tagSelectedText : hot ? p.strongText : p.text;
  const uint32_t countColour = selected ? c.tagSelectedText : c.mutedText;
  const int pad = Scaled(w, 12);
  if (w.app.window.sidebarLayout) {
    // A wide row: the name at the left, its count at the right.
    RECT countRect{r.left + pad, r.top, r.right - pad, r.bottom};
    DrawLine(dc, count, countRect, w.fonts.control, countColour, DT_RIGHT);
    SIZE countSize{};
    const HGDIOBJ old = SelectObject(dc, w.fonts.control);
    GetTextExtentPoint32W(dc, W(count), static_cast<int>(count.size()), &countSize);
    SelectObject(dc, old);
    RECT nameRect{r.left + pad, r.top, r.right - pad - countSize.cx - Scaled(w, 8), r.bottom};
    DrawLine(dc, name, nameRect, w.fonts.tag, nameColour);
  } else {
    // A small tile: the name above its count.
    const int middle = (r.top + r.bottom) / 2;
    const int side = Scaled(w, 2);
    RECT nameRect{r.left + side, r.top + Scaled(w, 3), r.right - side, middle + Scaled(w, 1)};
    RECT countRect{r.left + side, middle - Scaled(w, 1), r.right - side, r.bottom - Scaled(w, 3)};
    DrawLine(dc, name, nameRect, w.fonts.tag, nameColour, DT_CENTER);
    DrawLine(dc, count, countRect, w.fonts.small, countColour, DT_CENTER);
  }
}

void PaintFilterSidebar(MainWindow& w, HDC dc) {
  if (!w.app.window.sidebarLayout) return;
  const RECT area{0, w.listTop, w.sidebarWidth, w.clientHeight};
  FillSolid(dc, area, w.theme.controls->sidebarFill);
  const RECT edge{w.sidebarWidth - 1, w.listTop, w.sidebarWidth, w.clientHeight};
  FillSolid(dc, edge, w.theme.controls->sidebarEdge);
}

void ScrollFilterSidebarByWheel(MainWindow& w, int wheelDelta) {
  if (!w.app.window.sidebarLayout) return;
  const FilterBarLayout layout = CurrentFilterBarLayout(w);
  ScrollSidebarTo(w, SidebarScrollAfterWheel(layout, w.sidebarScroll, wheelDelta, static_cast<int32_t>(w.dpi)));
}

void OnSidebarScrollBar(MainWindow& w, WPARAM request) {
  const FilterBarLayout layout = CurrentFilterBarLayout(w);
  const int32_t line = Scaled(w, kSidebarLine96);
  const int32_t page = std::max(line, layout.sidebarScrollBar.Height());
  int32_t offset = w.sidebarScroll;
  switch (LOWORD(request)) {
    case SB_LINEUP:
      offset -= line;
      break;
    case SB_LINEDOWN:
      offset += line;
      break;
    case SB_PAGEUP:
      offset -= page;
      break;
    case SB_PAGEDOWN:
      offset += page;
      break;
    case SB_TOP:
      offset = 0;
      break;
    case SB_BOTTOM:
      offset = layout.sidebarMaxScroll;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(w.controls.sidebarScroll, SB_CTL, &info)) offset = info.nTrackPos;
      break;
    }
    default:
      return;
  }
  ScrollSidebarTo(w, offset);
}

}  // namespace quillmor
