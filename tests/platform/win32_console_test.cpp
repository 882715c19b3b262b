// Standard output on Windows: a console gets UTF-16, anything else UTF-8
// bytes (the real program's output to a file is tested with quillmor-cli).
// Run under Wine in the cross build.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/console.h"

namespace quillmor {
namespace {

// Gives the process a console of its own, makes it standard output, writes
// a path there and reads the characters back from the screen.
bool NonAsciiShowsOnAFreshConsole() {
  ::FreeConsole();
  if (!::AllocConsole()) return false;
  const HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return false;
  ::SetStdHandle(STD_OUTPUT_HANDLE, console);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!::GetConsoleScreenBufferInfo(console, &info)) return false;
  // "E:\Ünïcödé 新建.pdf" in UTF-8, as quillmor-cli prints a path.
  if (!WriteStandardOutput("E:\\\xc3\x9cn\xc3\xaf"
                           "c\xc3\xb6"
                           "d\xc3\xa9 \xe6\x96\xb0\xe5\xbb\xba.pdf")) {
    return false;
  }
  const std::u16string expected = u"E:\\\u00dcn\u00efc\u00f6d\u00e9 \u65b0\u5efa.pdf";
  std::u16string shown(expected.size(), u'\0');
  DWORD read = 0;
  return ::ReadConsoleOutputCharacterW(console, reinterpret_cast<wchar_t*>(shown.data()),
                                       static_cast<DWORD>(shown.size()), info.dwCursorPosition, &read) &&
         shown == expected;
}

// In a child process (a death test): trading the test program's console for
// a fresh one would take the program's own output along.
TEST(Win32ConsoleTest, NonAsciiTextShowsOnTheConsole) {
  EXPECT_EXIT(std::exit(NonAsciiShowsOnAFreshConsole() ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace quillmor
