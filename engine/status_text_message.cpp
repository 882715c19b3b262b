#include "engine/status_text_message.h"

#include <algorithm>
#include <memory>

namespace quillmor {

bool PostStatusText(Env& env, WindowHandle window, uint64_t generation, std::u16string_view text, size_t capacity) {
  if (capacity == 0) return false;
  auto buffer = std::make_unique<char16_t[]>(capacity);  // value-initialised: zero-filled
  std::copy_n(text.begin(), std::min(text.size(), capacity - 1), buffer.get());
  const int64_t lParam = static_cast<int64_t>(reinterpret_cast<intptr_t>(buffer.get()));
  if (!PostIfWindow(*env.windows, window, WMU_STATUS_TEXT, generation, lParam)) return false;
  buffer.release();  // the receiver deletes it
  return true;
}

}  // namespace quillmor
