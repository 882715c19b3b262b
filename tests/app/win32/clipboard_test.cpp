// Copy, Cut and Copy Full Path as another program sees them: the clipboard
// read back by a second process (clipboard_reader.exe beside this program).
#include <string>

#include "tests/app/win32/file_ops_fixture.h"

#include "platform/thread.h"
namespace quillmor {
namespace {

std::u16string ProgramFolder() {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::u16string folder = win32::FromWide(path);
  return folder.substr(0, folder.rfind(u'\\'));
}

// Runs the reader and returns its report ("" when it failed).
std::string ReadClipboardFromAnotherProcess(const std::u16string& scratchFile) {
  std::u16string command = u"\"" + ProgramFolder() + u"\\clipboard_reader.exe\" \"" + scratchFile + u"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring line(command.begin(), command.end());
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    ADD_FAILURE() << "clipboard_reader.exe did not start: " << GetLastError();
    return {};
  }
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(code, 0u);
  std::string report;
  const HANDLE file = CreateFileW(W(scratchFile), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return report;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) report.append(buffer, got);
  CloseHandle(file);
  DeleteFileW(W(scratchFile));
  return report;
}

void EmptyTheClipboard(HWND owner) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  CloseClipboard();
}

class ClipboardTest : public FileOpsFixture {
 protected:
  std::string ReadBack() { return ReadClipboardFromAnotherProcess(scratch.Path(u"report.out")); }
};

TEST_F(ClipboardTest, CopyAndCutPutTheFileListAndTheirDropEffect) {
  NumberedFiles(12);
  ASSERT_EQ(OpenAndSearch(u"file-"), 12);
  Click(CellCentre(3, kColumnSize));
  Click(CellCentre(1, kColumnSize), MK_CONTROL);  // row order, not click order
  // 20 + 2 x (sum of path lengths + 2) + 2 for two files.
  const size_t length = std::u16string_view(u"E:\\files\\file-001.txt").size();
  const std::string bytes = std::to_string(20 + 2 * (2 * length + 2) + 2);

  PressListKey('C', true);
  EXPECT_EQ(ReadBack(), "hdrop " + bytes + " 20 1\nfile E:\\files\\file-001.txt\nfile E:\\files\\file-003.txt\n" +
                            "effect 1\ntext none\n");
  PressListKey('X', true);
  EXPECT_EQ(ReadBack(), "hdrop " + bytes + " 20 1\nfile E:\\files\\file-001.txt\nfile E:\\files\\file-003.txt\n" +
                            "effect 2\ntext none\n");
  RunListCommand(Window(), 10009);  // the menu's Copy
  EXPECT_NE(ReadBack().find("effect 1\n"), std::string::npos);
  EXPECT_TRUE(hookedBoxes.shown.empty());
}

TEST_F(ClipboardTest, CopyFullPathPutsThePathsJoinedWithCrLfAndNothingAfterTheLast) {
  NumberedFiles(12);
  ASSERT_EQ(OpenAndSearch(u"file-"), 12);
  Click(CellCentre(5, kColumnSize));
  Click(CellCentre(0, kColumnSize), MK_CONTROL);
  Click(CellCentre(9, kColumnSize), MK_CONTROL);
  RunListCommand(Window(), 10005);
  EXPECT_EQ(ReadBack(),
            "hdrop none\neffect none\n"
            "text E:\\files\\file-000.txt\\r\\nE:\\files\\file-005.txt\\r\\nE:\\files\\file-009.txt\n");
}

TEST_F(ClipboardTest, CtrlCCopiesOnlyFromTheList) {
  NumberedFiles(3);
  ASSERT_EQ(OpenAndSearch(u"file-"), 3);
  Click(CellCentre(0, kColumnSize));
  EmptyTheClipboard(hwnd);
  PressKey(Window().controls.searchEdit, 'C', true);  // copies the query's text, not files
  PressKey(Window().controls.customSize, 'C', true);
  EXPECT_EQ(ReadBack().substr(0, 11), "hdrop none\n");
  PressListKey('C', true);
  EXPECT_EQ(ReadBack().substr(0, 6), "hdrop ");
  EXPECT_NE(ReadBack().find("file E:\\files\\file-000.txt\n"), std::string::npos);
}

TEST_F(ClipboardTest, ABusyClipboardFailsTheCopyWithAMessageAndNotTheCopyOfPaths) {
  NumberedFiles(3);
  ASSERT_EQ(OpenAndSearch(u"file-"), 3);
  Click(CellCentre(0, kColumnSize));
  // Another thread holds the clipboard open meanwhile.
  const HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  bool held = false;
  Thread holder([&] {
    held = OpenClipboard(nullptr) != FALSE;
    SetEvent(opened);
    WaitForSingleObject(done, 60000);
    if (held) CloseClipboard();
  });
  WaitForSingleObject(opened, 60000);
  EXPECT_TRUE(held);
  PressListKey('C', true);
  RunListCommand(Window(), 10005);  // silent
  SetEvent(done);
  holder.join();
  CloseHandle(opened);
  CloseHandle(done);
  ASSERT_EQ(hookedBoxes.shown.size(), 1u);
  EXPECT_EQ(hookedBoxes.shown[0].text, u"Failed to copy to the clipboard.");
  EXPECT_EQ(hookedBoxes.shown[0].title, u"Error");
  EXPECT_EQ(hookedBoxes.shown[0].type, static_cast<UINT>(MB_ICONERROR));
}

}  // namespace
}  // namespace quillmor
