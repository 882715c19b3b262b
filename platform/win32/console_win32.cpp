#include "platform/win32/windows_api.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>

#include "platform/console.h"
#include "platform/utf.h"

namespace quillmor {

std::vector<std::string> CommandLineUtf8(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) {
    const std::u16string text(reinterpret_cast<const char16_t*>(wide[i]));
    arguments.push_back(Utf16ToUtf8(text));
  }
  LocalFree(wide);
  return arguments;
}

void UseUtf8StandardOutput() {
  // Binary mode: no "\r" inserted before each "\n"; a console shows UTF-8.
  _setmode(_fileno(stdout), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
}

std::string PathOutputBytes(std::u16string_view path) { return Utf16ToUtf8(path); }

bool WriteStandardOutput(std::string_view utf8) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  // Only a console answers GetConsoleMode; pipes and files take bytes.
  if (out == nullptr || out == INVALID_HANDLE_VALUE || !GetConsoleMode(out, &mode)) {
    return std::fwrite(utf8.data(), 1, utf8.size(), stdout) == utf8.size();
  }
  std::fflush(stdout);
  // A console holds UTF-16: given as such, every character arrives whatever
  // the console's code page (UTF-8 bytes depend on code page 65001 being
  // set and honoured, which older consoles do not do reliably).
  const std::u16string text = Utf8ToUtf16(utf8);
  // Older consoles refuse large writes: pieces of 8K units, never ending
  // between the two halves of a surrogate pair.
  constexpr size_t kPieceUnits = 8192;
  for (size_t at = 0; at < text.size();) {
    size_t n = std::min(text.size() - at, kPieceUnits);
    if (at + n < text.size() && n > 1 && text[at + n - 1] >= 0xD800 && text[at + n - 1] <= 0xDBFF) --n;
    DWORD written = 0;
    if (!WriteConsoleW(out, text.data() + at, static_cast<DWORD>(n), &written, nullptr) || written == 0) return false;
    at += written;
  }
  return true;
}

}  // namespace quillmor
