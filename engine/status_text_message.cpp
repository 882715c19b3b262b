#include "engine/status_text_message.h"

#include <algorithm>
#include <memory>

namespace quillmor {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

bool PostStatusText(WindowPoster& poster, WindowHandle window, uint64_t generation, std::u16string_view text,
                    size_t capacity) {
  if (capacity == 0) return false;
  auto buffer = std::make_unique<char16_t[]>(capacity);  // value-initialised: zero-filled
  size_t length = std::min(text.size(), capacity - 1);
  // Half a pair at the cut would show as a stray box in the title.
  if (length < text.size() && length > 0 && IsHighSurrogate(text[length - 1])) --length;
  std::copy_n(text.begin(), length, buffer.get());
  const int64_t lParam = static_cast<int64_t>(reinterpret_cast<intptr_t>(buffer.get()));
  if (!PostIfWindow(poster, window, WMU_STATUS_TEXT, generation, lParam)) return false;
  buffer.release();  // the receiver deletes it
  return true;
}

}  // namespace quillmor
