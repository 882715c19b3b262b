#include "app/win32_app.h"

#include <vector>

namespace quillmor {

std::u16string WindowText(HWND window, int maxChars) {
  if (window == nullptr || maxChars <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(maxChars) + 1, L'\0');
  const int length = GetWindowTextW(window, buffer.data(), maxChars + 1);
  return win32::FromWide(std::wstring_view(buffer.data(), length > 0 ? static_cast<size_t>(length) : 0));
}

void SetWindowTextU(HWND window, const std::u16string& text) {
  if (window != nullptr) SetWindowTextW(window, W(text));
}

}  // namespace quillmor
