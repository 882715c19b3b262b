// The current theme: its palette and the brushes made from it, and how the
// standard controls and the title bar are made to follow it.
#pragma once

#include "app/core/theme_palette.h"
#include "app/win32_app.h"

namespace quillmor {

struct Theme {
  const ThemePalette* palette = &kLightPalette;
  HBRUSH background = nullptr;  // the window's background
  HBRUSH band = nullptr;        // the top band
  HBRUSH control = nullptr;     // static and edit controls
};

// Makes the palette of `dark` current and (re)creates the brushes.
void CreateTheme(Theme& theme, bool dark);
void DeleteThemeBrushes(Theme& theme);
// The title bar in the theme's colours (DwmSetWindowAttribute); harmless
// where the system has no dark title bar.
void ApplyTitleBarTheme(HWND window, bool dark);

}  // namespace quillmor
