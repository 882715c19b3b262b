// Progress texts for the window title, posted as WMU_STATUS_TEXT.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/window_messages.h"

namespace quillmor {

// Posts WMU_STATUS_TEXT (generation, text) to `window` when it is a window.
// lParam is a buffer from `new char16_t[capacity]` holding `text` cut to at
// most capacity - 1 units (never between the halves of a surrogate pair) and
// a terminating 0. The receiver owns it and frees it with `delete[]`, also
// when it ignores a stale generation; when the post fails the buffer is freed
// here. False when nothing was posted.
bool PostStatusText(WindowPoster& poster, WindowHandle window, uint64_t generation, std::u16string_view text,
                    size_t capacity = 128);

}  // namespace quillmor
