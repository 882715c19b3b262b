// The two colour palettes. Colours are 0x00BBGGRR, as COLORREF holds them.
#pragma once

#include <cstdint>

namespace quillmor {

constexpr uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

struct ThemePalette {
  bool dark = false;
  uint32_t background;      // window, list, unselected icon cells
  uint32_t band;            // the top band
  uint32_t selection;       // selected rows and cells
  uint32_t hover;           // the hovered row
  uint32_t matchFill;       // behind matched text
  uint32_t text;            // normal text
  uint32_t strongText;      // text of selected or hovered rows
  uint32_t matchText;       // matched text
  uint32_t rowNumberText;   // the row-number column
  uint32_t pathText;        // the path column
  uint32_t gridLine;        // grid lines, frames of unselected icon cells
  uint32_t selectedFrame;   // frames of selected icon cells
  uint32_t controlBackground;  // static and edit controls
};

inline constexpr ThemePalette kDarkPalette{
    true,
    Rgb(18, 20, 28),
    Rgb(22, 24, 35),
    Rgb(38, 58, 51),
    Rgb(22, 25, 37),
    Rgb(53, 90, 72),
    Rgb(203, 213, 225),
    Rgb(255, 255, 255),
    Rgb(92, 224, 171),
    Rgb(59, 66, 82),
    Rgb(122, 130, 150),
    Rgb(30, 32, 42),
    Rgb(66, 184, 131),
    Rgb(30, 34, 48),
};

inline constexpr ThemePalette kLightPalette{
    false,
    Rgb(255, 255, 255),
    Rgb(248, 250, 252),
    Rgb(232, 248, 241),
    Rgb(248, 250, 252),
    Rgb(176, 237, 208),
    Rgb(71, 85, 105),
    Rgb(30, 41, 59),
    Rgb(22, 139, 79),
    Rgb(203, 213, 225),
    Rgb(148, 163, 184),
    Rgb(237, 242, 247),
    Rgb(66, 184, 131),
    Rgb(255, 255, 255),
};

inline const ThemePalette& PaletteFor(bool dark) { return dark ? kDarkPalette : kLightPalette; }

}  // namespace quillmor
