#include "platform/win32/windows_api.h"

#include "platform/win32/win32_text_codec.h"

#include <climits>

namespace quillmor {

uint32_t Win32TextCodec::AnsiCodePage() { return ::GetACP(); }

// Both functions refuse an empty input (ERROR_INVALID_PARAMETER); an empty
// text converts to nothing.
bool Win32TextCodec::FromUtf16(uint32_t codePage, std::u16string_view text, std::string& out) {
  out.clear();
  if (text.size() > INT_MAX / 4) return false;
  if (!::IsValidCodePage(codePage == CP_ACP ? ::GetACP() : codePage)) return false;
  if (text.empty()) return true;
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int needed = ::WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return false;
  out.resize(static_cast<size_t>(needed));
  const int written = ::WideCharToMultiByte(codePage, 0, wide, length, out.data(), needed, nullptr, nullptr);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return written > 0;
}

bool Win32TextCodec::ToUtf16(uint32_t codePage, std::string_view bytes, std::u16string& out) {
  out.clear();
  if (bytes.size() > INT_MAX) return false;
  if (!::IsValidCodePage(codePage == CP_ACP ? ::GetACP() : codePage)) return false;
  if (bytes.empty()) return true;
  const int length = static_cast<int>(bytes.size());
  const int needed = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (needed <= 0) return false;
  out.resize(static_cast<size_t>(needed));
  const int written =
      ::MultiByteToWideChar(codePage, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(out.data()), needed);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return written > 0;
}

}  // namespace quillmor
