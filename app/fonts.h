// The window's six fonts, made for the current DPI and language.
#pragma once

#include "app/win32_app.h"

namespace quillmor {

struct Fonts {
  HFONT control = nullptr;  // 12 px, weight 500: every control
  HFONT list = nullptr;     // 13 px, weight 500: the result list
  HFONT bold = nullptr;     // 12 px, weight 600: the list header
  HFONT large = nullptr;    // 17 px, weight 400
  HFONT tag = nullptr;      // 12 px, weight 600: the tag buttons
  HFONT small = nullptr;    // 10 px, weight 400
};

// "Microsoft YaHei UI" for a Chinese user interface, else "Segoe UI";
// sizes at 96 DPI scaled to `dpi`. Deletes the fonts `fonts` held before.
void CreateFonts(Fonts& fonts, uint32_t dpi, bool chinese);
void DeleteFonts(Fonts& fonts);

}  // namespace quillmor
