#include "platform/win32/windows_api.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

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

}  // namespace quillmor
