#include "app/fonts.h"

#include "settings/dpi_scale.h"

namespace quillmor {
namespace {

HFONT MakeFont(int pixels96, int weight, uint32_t dpi, const wchar_t* face) {
  LOGFONTW font{};
  font.lfHeight = -ScaleFrom96(pixels96, static_cast<int32_t>(dpi));
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

}  // namespace

void CreateFonts(Fonts& fonts, uint32_t dpi, bool chinese) {
  DeleteFonts(fonts);
  const wchar_t* face = chinese ? L"Microsoft YaHei UI" : L"Segoe UI";
  fonts.control = MakeFont(12, 500, dpi, face);
  fonts.list = MakeFont(13, 500, dpi, face);
  fonts.bold = MakeFont(12, 600, dpi, face);
  fonts.large = MakeFont(17, 400, dpi, face);
  fonts.tag = MakeFont(12, 600, dpi, face);
  fonts.small = MakeFont(10, 400, dpi, face);
}

void DeleteFonts(Fonts& fonts) {
  for (HFONT* font : {&fonts.control, &fonts.list, &fonts.bold, &fonts.large, &fonts.tag, &fonts.small}) {
    if (*font != nullptr) DeleteObject(*font);
    *font = nullptr;
  }
}

}  // namespace quillmor
