#include "app/theme.h"

#include <dwmapi.h>

namespace quillmor {

void CreateTheme(Theme& theme, bool dark) {
  DeleteThemeBrushes(theme);
  theme.palette = &PaletteFor(dark);
  theme.controls = &ControlPaletteFor(dark);
  theme.background = CreateSolidBrush(theme.palette->background);
  theme.band = CreateSolidBrush(theme.palette->band);
  theme.control = CreateSolidBrush(theme.palette->controlBackground);
  theme.sidebar = CreateSolidBrush(theme.controls->sidebarFill);
  theme.menu = CreateSolidBrush(theme.controls->menuFill);
  theme.scrollTrack = CreateSolidBrush(theme.controls->scrollTrack);
}

void DeleteThemeBrushes(Theme& theme) {
  for (HBRUSH* brush :
       {&theme.background, &theme.band, &theme.control, &theme.sidebar, &theme.menu, &theme.scrollTrack}) {
    if (*brush != nullptr) DeleteObject(*brush);
    *brush = nullptr;
  }
}

void ApplyTitleBarTheme(HWND window, bool dark) {
  // DWMWA_USE_IMMERSIVE_DARK_MODE is 20 from Windows 10 20H1 on (19 before).
  const BOOL value = dark ? TRUE : FALSE;
  if (FAILED(DwmSetWindowAttribute(window, 20, &value, sizeof value))) {
    DwmSetWindowAttribute(window, 19, &value, sizeof value);
  }
  // Windows 11 colours the caption and its frame to match the window.
  const COLORREF caption = PaletteFor(dark).band;
  const COLORREF border = ControlPaletteFor(dark).frame;
  DwmSetWindowAttribute(window, 35, &caption, sizeof caption);  // DWMWA_CAPTION_COLOR
  DwmSetWindowAttribute(window, 34, &border, sizeof border);    // DWMWA_BORDER_COLOR
}

}  // namespace quillmor
