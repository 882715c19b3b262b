#include "search/status_text.h"

#include <algorithm>

namespace quillmor {

bool PostStatusText(WindowPoster& poster, WindowHandle window, uint64_t generation, std::u16string_view text,
                    size_t capacity) {
  if (capacity == 0) return false;
  char16_t* buffer = new char16_t[capacity];
  size_t length = std::min(text.size(), capacity - 1);
  // A cut never leaves half of a surrogate pair at the end.
  if (length < text.size() && length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
  std::copy_n(text.data(), length, buffer);
  buffer[length] = u'\0';
  if (PostIfWindow(poster, window, WMU_STATUS_TEXT, generation, reinterpret_cast<int64_t>(buffer))) return true;
  delete[] buffer;
  return false;
}

}  // namespace quillmor
