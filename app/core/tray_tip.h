// The notification icon's tooltip: the "TrayTip" text with the show/hide
// hotkey in it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillmor {

// The tooltip holds at most this many UTF-16 units (szTip without its
// terminator).
inline constexpr size_t kMaxTrayTipChars = 127;

// `tipText` with its first "{0}" replaced by `hotkeyText`; a text without
// "{0}" gets a space and the hotkey appended. Cut to kMaxTrayTipChars, never
// between the halves of a surrogate pair.
std::u16string ComposeTrayTip(std::u16string_view tipText, std::u16string_view hotkeyText);

// `text` cut to at most `maxUnits` UTF-16 units, one unit shorter when the
// cut would split a surrogate pair.
std::u16string_view TruncateUtf16(std::u16string_view text, size_t maxUnits);

}  // namespace quillmor
