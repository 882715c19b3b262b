#include "app/core/tray_tip.h"

namespace quillmor {

std::u16string_view TruncateUtf16(std::u16string_view text, size_t maxUnits) {
  if (text.size() <= maxUnits) return text;
  size_t length = maxUnits;
  const bool highSurrogateLast = length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF;
  if (highSurrogateLast) --length;
  return text.substr(0, length);
}

std::u16string ComposeTrayTip(std::u16string_view tipText, std::u16string_view hotkeyText) {
  std::u16string tip(tipText);
  const size_t at = tip.find(u"{0}");
  if (at != std::u16string::npos) {
    tip.replace(at, 3, hotkeyText);
  } else {
    tip += u' ';
    tip += hotkeyText;
  }
  return std::u16string(TruncateUtf16(tip, kMaxTrayTipChars));
}

}  // namespace quillmor
