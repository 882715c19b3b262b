// Progress texts for the window title, posted as WMU_STATUS_TEXT.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/window_messages.h"

namespace quillmor {

// Posts WMU_STATUS_TEXT (generation, text) to `window`. The text travels in a
// heap buffer of `capacity` UTF-16 units (new char16_t[capacity], cut to
// capacity - 1 units and zero-terminated) that the receiver frees with
// delete[]. When the message cannot be posted (no window, or the queue
// refuses it) the buffer is freed here. True when posted.
bool PostStatusText(WindowPoster& poster, WindowHandle window, uint64_t generation, std::u16string_view text,
                    size_t capacity);

}  // namespace quillmor
