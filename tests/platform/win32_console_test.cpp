// Standard output on Windows: a console gets UTF-16, anything else UTF-8
// bytes. Run under Wine in the cross build.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/console.h"

namespace quillmor {
namespace {

// Gives the process a console of its own and makes it standard output for
// the test's length; the text written there is read back from the screen.
class Win32ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = ::GetStdHandle(STD_OUTPUT_HANDLE);
    ::FreeConsole();
    ASSERT_TRUE(::AllocConsole()) << ::GetLastError();
    console_ = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(console_, INVALID_HANDLE_VALUE) << ::GetLastError();
    ::SetStdHandle(STD_OUTPUT_HANDLE, console_);
  }
  void TearDown() override {
    ::SetStdHandle(STD_OUTPUT_HANDLE, saved_);
    if (console_ != INVALID_HANDLE_VALUE) ::CloseHandle(console_);
    ::FreeConsole();
  }

  // The characters of the screen from `at` on.
  std::u16string ScreenText(COORD at, DWORD length) {
    std::u16string text(length, u'\0');
    DWORD read = 0;
    EXPECT_TRUE(::ReadConsoleOutputCharacterW(console_, reinterpret_cast<wchar_t*>(text.data()), length, at, &read));
    text.resize(read);
    return text;
  }

  HANDLE saved_ = nullptr;
  HANDLE console_ = INVALID_HANDLE_VALUE;
};

TEST_F(Win32ConsoleTest, NonAsciiTextShowsOnTheConsole) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  ASSERT_TRUE(::GetConsoleScreenBufferInfo(console_, &info));
  const COORD start = info.dwCursorPosition;
  // "E:\Ünïcödé 新建.pdf" in UTF-8, as quillmor-cli prints a path.
  ASSERT_TRUE(
      WriteStandardOutput("E:\\\xc3\x9cn\xc3\xaf"
                          "c\xc3\xb6"
                          "d\xc3\xa9 \xe6\x96\xb0\xe5\xbb\xba.pdf"));
  EXPECT_EQ(ScreenText(start, 17), u"E:\\\u00dcn\u00efc\u00f6d\u00e9 \u65b0\u5efa.pdf");
}

}  // namespace
}  // namespace quillmor
