// The current theme: its palettes and the brushes made from them, and the
// title bar that follows it.
#pragma once

#include "app/core/control_palette.h"
#include "app/core/theme_palette.h"
#include "app/win32_app.h"

namespace quillmor {

struct Theme {
  const ThemePalette* palette = &kLightPalette;
  const ControlPalette* controls = &kLightControls;
  HBRUSH background = nullptr;   // the window's background
  HBRUSH band = nullptr;         // the top band, and what the status line sits on
  HBRUSH control = nullptr;      // static and edit controls, drop-down lists
  HBRUSH sidebar = nullptr;      // the filter sidebar
  HBRUSH menu = nullptr;         // popup menus in the dark theme
  HBRUSH scrollTrack = nullptr;  // classic scroll bars

  bool Dark() const { return palette->dark; }
};

// Makes the palettes of `dark` current and (re)creates the brushes, deleting
// those `theme` held before.
void CreateTheme(Theme& theme, bool dark);
void DeleteThemeBrushes(Theme& theme);
// The title bar in the theme's colours (DwmSetWindowAttribute); harmless
// where the system has no dark title bar.
void ApplyTitleBarTheme(HWND window, bool dark);

}  // namespace quillmor
