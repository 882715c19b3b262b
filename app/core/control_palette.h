// The colours of the window's own controls beyond the list's palette: the
// frames of the edits, combo boxes and date pickers, the tag buttons, the
// filter sidebar, drop-down lists and the dark popup menus. Both themes share
// one accent (the green of the selection frame), so a control looks the same
// kind of thing in either. Colours are 0x00BBGGRR, as COLORREF holds them.
#pragma once

#include "app/core/theme_palette.h"

namespace quillmor {

struct ControlPalette {
  uint32_t inputText;        // text typed into edits, the value of a combo box
  uint32_t mutedText;        // chevrons, tag counts, disabled text
  uint32_t frame;            // 1 px frame of an input at rest
  uint32_t frameHot;         // ... under the mouse
  uint32_t accent;           // frame of the focused input, the selected tag
  uint32_t tagFill;          // a tag button at rest
  uint32_t tagHotFill;       // ... under the mouse
  uint32_t tagSelectedFill;  // the selected tag
  uint32_t tagSelectedText;  // its name
  uint32_t sidebarFill;      // the filter sidebar
  uint32_t sidebarEdge;      // the line between sidebar and list
  uint32_t listItemHotFill;  // the item under the mouse in a drop-down list or menu
  uint32_t menuFill;         // dark popup menus
  uint32_t menuText;
  uint32_t menuDisabledText;
  uint32_t menuSeparator;
  uint32_t scrollTrack;  // classic scroll bars (the sidebar's)
};

inline constexpr ControlPalette kDarkControls{
    Rgb(226, 232, 240),  // inputText
    Rgb(122, 130, 150),  // mutedText
    Rgb(45, 50, 68),     // frame
    Rgb(66, 73, 96),     // frameHot
    Rgb(66, 184, 131),   // accent
    Rgb(30, 34, 48),     // tagFill
    Rgb(38, 43, 60),     // tagHotFill
    Rgb(38, 58, 51),     // tagSelectedFill
    Rgb(92, 224, 171),   // tagSelectedText
    Rgb(22, 24, 35),     // sidebarFill
    Rgb(34, 37, 50),     // sidebarEdge
    Rgb(45, 50, 68),     // listItemHotFill
    Rgb(30, 34, 48),     // menuFill
    Rgb(226, 232, 240),  // menuText
    Rgb(96, 104, 124),   // menuDisabledText
    Rgb(45, 50, 68),     // menuSeparator
    Rgb(22, 24, 35),     // scrollTrack
};

inline constexpr ControlPalette kLightControls{
    Rgb(30, 41, 59),     // inputText
    Rgb(148, 163, 184),  // mutedText
    Rgb(226, 232, 240),  // frame
    Rgb(203, 213, 225),  // frameHot
    Rgb(66, 184, 131),   // accent
    Rgb(255, 255, 255),  // tagFill
    Rgb(241, 245, 249),  // tagHotFill
    Rgb(232, 248, 241),  // tagSelectedFill
    Rgb(22, 139, 79),    // tagSelectedText
    Rgb(248, 250, 252),  // sidebarFill
    Rgb(226, 232, 240),  // sidebarEdge
    Rgb(241, 245, 249),  // listItemHotFill
    Rgb(255, 255, 255),  // menuFill
    Rgb(30, 41, 59),     // menuText
    Rgb(148, 163, 184),  // menuDisabledText
    Rgb(226, 232, 240),  // menuSeparator
    Rgb(241, 245, 249),  // scrollTrack
};

inline const ControlPalette& ControlPaletteFor(bool dark) { return dark ? kDarkControls : kLightControls; }

}  // namespace quillmor
