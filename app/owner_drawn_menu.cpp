#include "app/owner_drawn_menu.h"

#include "app/paint_helpers.h"

namespace quillmor {
namespace {

constexpr int32_t kItemHeight96 = 28;
constexpr int32_t kSeparatorHeight96 = 9;
constexpr int32_t kCheckColumn96 = 30;
constexpr int32_t kRightPadding96 = 28;  // room for the submenu arrow
constexpr int32_t kShortcutGap96 = 24;

const MenuItemLook* LookOf(ULONG_PTR data) {
  const auto* look = reinterpret_cast<const MenuItemLook*>(data);
  return look != nullptr && look->marker == kMenuItemLookMarker ? look : nullptr;
}

std::u16string ItemText(HMENU menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  if (!GetMenuItemInfoW(menu, position, TRUE, &info) || info.cch == 0) return {};
  std::wstring text(info.cch + 1, L'\0');
  info.dwTypeData = text.data();
  info.cch += 1;
  if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return {};
  text.resize(info.cch);
  return win32::FromWide(text);
}

void Prepare(MainWindow& w, HMENU menu, OwnerDrawnMenu& owned) {
  MENUINFO menuInfo{};
  menuInfo.cbSize = sizeof menuInfo;
  menuInfo.fMask = MIM_BACKGROUND;
  menuInfo.hbrBack = w.theme.menu;
  SetMenuInfo(menu, &menuInfo);
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_DATA;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if ((info.fType & MFT_OWNERDRAW) != 0) continue;  // already drawn by someone
    auto look = std::make_unique<MenuItemLook>();
    look->marker = kMenuItemLookMarker;
    look->separator = (info.fType & MFT_SEPARATOR) != 0;
    look->radio = (info.fType & MFT_RADIOCHECK) != 0;
    look->submenu = info.hSubMenu != nullptr;
    if (!look->separator) look->text = ItemText(menu, static_cast<UINT>(i));
    if (info.hSubMenu != nullptr) Prepare(w, info.hSubMenu, owned);
    MENUITEMINFOW change{};
    change.cbSize = sizeof change;
    change.fMask = MIIM_FTYPE | MIIM_DATA;
    change.fType = info.fType | MFT_OWNERDRAW;
    change.dwItemData = reinterpret_cast<ULONG_PTR>(look.get());
    if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &change)) {
      owned.items.push_back({menu, static_cast<UINT>(i), info.fType, info.dwItemData, std::move(look)});
    }
  }
}

// "&Open\tCtrl+O" as its label and its shortcut.
void SplitText(const std::u16string& text, std::u16string& label, std::u16string& shortcut) {
  const size_t tab = text.find(u'\t');
  label = text.substr(0, tab);
  shortcut = tab == std::u16string::npos ? std::u16string{} : text.substr(tab + 1);
}

}  // namespace

OwnerDrawnMenu::~OwnerDrawnMenu() {
  for (const Item& item : items) {
    if (!IsMenu(item.menu)) continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    info.fType = item.originalType;
    info.dwItemData = item.originalData;
    SetMenuItemInfoW(item.menu, item.position, TRUE, &info);
  }
}

std::unique_ptr<OwnerDrawnMenu> PrepareOwnerDrawnMenu(MainWindow& w, HMENU menu) {
  auto owned = std::make_unique<OwnerDrawnMenu>();
  if (menu != nullptr && w.theme.Dark()) Prepare(w, menu, *owned);
  return owned;
}

bool MeasureMenuItem(MainWindow& w, MEASUREITEMSTRUCT& measure) {
  const MenuItemLook* look = LookOf(measure.itemData);
  if (look == nullptr) return false;
  if (look->separator) {
    measure.itemHeight = static_cast<UINT>(Scaled(w, kSeparatorHeight96));
    measure.itemWidth = 0;
    return true;
  }
  std::u16string label;
  std::u16string shortcut;
  SplitText(look->text, label, shortcut);
  const HDC dc = GetDC(w.hwnd);
  const HGDIOBJ old = SelectObject(dc, w.fonts.control);
  RECT labelBox{};
  DrawTextW(dc, W(label), static_cast<int>(label.size()), &labelBox, DT_SINGLELINE | DT_CALCRECT);
  RECT shortcutBox{};
  if (!shortcut.empty()) {
    DrawTextW(dc, W(shortcut), static_cast<int>(shortcut.size()), &shortcutBox, DT_SINGLELINE | DT_CALCRECT);
  }
  SelectObject(dc, old);
  ReleaseDC(w.hwnd, dc);
  int width = Scaled(w, kCheckColumn96) + (labelBox.right - labelBox.left) + Scaled(w, kRightPadding96);
  if (!shortcut.empty()) width += Scaled(w, kShortcutGap96) + (shortcutBox.right - shortcutBox.left);
  // The system adds the width of a check mark to every owner-drawn item.
  width -= GetSystemMetrics(SM_CXMENUCHECK) - 1;
  measure.itemWidth = static_cast<UINT>(std::max(width, Scaled(w, 80)));
  measure.itemHeight = static_cast<UINT>(Scaled(w, kItemHeight96));
  return true;
}

bool DrawMenuItem(MainWindow& w, const DRAWITEMSTRUCT& item) {
  const MenuItemLook* look = LookOf(item.itemData);
  if (look == nullptr) return false;
  const ThemePalette& p = *w.theme.palette;
  const ControlPalette& c = *w.theme.controls;
  const HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  if (look->separator) {
    FillSolid(dc, r, c.menuFill);
    const int middle = (r.top + r.bottom) / 2;
    FillSolid(dc, RECT{r.left + Scaled(w, 8), middle, r.right - Scaled(w, 8), middle + 1}, c.menuSeparator);
    return true;
  }
  const bool disabled = (item.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
  const bool hot = (item.itemState & ODS_SELECTED) != 0 && !disabled;
  FillSolid(dc, r, c.menuFill);
  if (hot) {
    const RECT highlight{r.left + Scaled(w, 4), r.top + Scaled(w, 1), r.right - Scaled(w, 4), r.bottom - Scaled(w, 1)};
    FillRoundedBox(dc, highlight, Scaled(w, 4), c.listItemHotFill, c.listItemHotFill);
  }
  const uint32_t text = disabled ? c.menuDisabledText : hot ? p.strongText : c.menuText;
  if ((item.itemState & ODS_CHECKED) != 0) {
    const int size = Scaled(w, 14);
    const int left = r.left + (Scaled(w, kCheckColumn96) - size) / 2;
    const int top = (r.top + r.bottom - size) / 2;
    const RECT box{left, top, left + size, top + size};
    if (look->radio) {
      const int dot = Scaled(w, 6);
      const RECT centre{left + (size - dot) / 2, top + (size - dot) / 2, left + (size + dot) / 2,
                        top + (size + dot) / 2};
      FillRoundedBox(dc, centre, dot / 2, c.accent, c.accent);
    } else {
      DrawTick(dc, box, std::max(1, Scaled(w, 2)), c.accent);
    }
  }
  std::u16string label;
  std::u16string shortcut;
  SplitText(look->text, label, shortcut);
  RECT textRect{r.left + Scaled(w, kCheckColumn96), r.top, r.right - Scaled(w, kRightPadding96), r.bottom};
  const UINT prefix = (item.itemState & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0;
  const HGDIOBJ old = SelectObject(dc, w.fonts.control);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  DrawTextW(dc, W(label), static_cast<int>(label.size()), &textRect, DT_SINGLELINE | DT_VCENTER | prefix);
  if (!shortcut.empty()) {
    SetTextColor(dc, disabled ? c.menuDisabledText : c.mutedText);
    DrawTextW(dc, W(shortcut), static_cast<int>(shortcut.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
  SelectObject(dc, old);
  if (look->submenu) {
    // Our own arrow, pointing right; the system's would be drawn in its own
    // colours over ours, so the item is clipped away from it.
    const int x = r.right - Scaled(w, 14);
    const int y = (r.top + r.bottom) / 2;
    const int half = Scaled(w, 4);
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
    const COLORREF oldColour = SetDCPenColor(dc, text);
    for (int t = 0; t < std::max(1, Scaled(w, 1)); ++t) {
      const POINT arrow[3] = {{x - half / 2 + t, y - half}, {x + half / 2 + t, y}, {x - half / 2 + t, y + half + 1}};
      Polyline(dc, arrow, 3);
    }
    SetDCPenColor(dc, oldColour);
    SelectObject(dc, oldPen);
  }
  ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  return true;
}

UINT TrackThemedPopupMenu(MainWindow& w, HMENU menu, UINT flags, int x, int y) {
  const std::unique_ptr<OwnerDrawnMenu> owned = PrepareOwnerDrawnMenu(w, menu);
  return static_cast<UINT>(TrackPopupMenuEx(menu, flags, x, y, w.hwnd, nullptr));
}

}  // namespace quillmor
