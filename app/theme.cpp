#include "app/theme.h"

#include <dwmapi.h>

namespace quillmor {

void CreateTheme(Theme& theme, bool dark) {
  DeleteThemeBrushes(theme);
  theme.palette = &PaletteFor(dark);
  theme.background = CreateSolidBrush(theme.palette->background);
  theme.band = CreateSolidBrush(theme.palette->band);
  theme.control = CreateSolidBrush(theme.palette->controlBackground);
}

void DeleteThemeBrushes(Theme& theme) {
  for (HBRUSH* brush : {&theme.background, &theme.band, &theme.control}) {
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
}

}  // namespace quillmor
