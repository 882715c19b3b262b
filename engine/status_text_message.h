// Progress texts for the window title, posted as WMU_STATUS_TEXT.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/env.h"

namespace quillmor {

// Posts WMU_STATUS_TEXT (generation, text) to `window` when it is a window.
// lParam is a buffer from `new char16_t[capacity]` holding `text` cut to
// capacity - 1 units and a terminating 0. The receiver owns it and must free
// it with `delete[]`, also when it ignores a stale generation; when the post
// fails the buffer is freed here. False when nothing was posted.
bool PostStatusText(Env& env, WindowHandle window, uint64_t generation, std::u16string_view text,
                    size_t capacity = 128);

}  // namespace quillmor
