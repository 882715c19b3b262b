#include "tests/app/win32/file_ops_fixture.h"

namespace quillmor {

int HookedMessageBoxes::Show(HWND owner, std::u16string_view text, std::u16string_view title, UINT type) {
  const int answered = RecordingMessageBoxes::Show(owner, text, title, type);
  if (onShow) onShow();
  return answered;
}

FileOpsFixture::FileOpsFixture() {
  appEnv.core.files = &scratchFiles;
  appEnv.shell = &shell;
  appEnv.boxes = &hookedBoxes;
}

int64_t FileOpsFixture::OpenAndSearch(std::u16string_view query) {
  OpenReady();
  return SearchAndWait(query);
}

int64_t FileOpsFixture::RowOf(std::u16string_view name) {
  const std::vector<std::u16string> names = RowNames();
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return static_cast<int64_t>(i);
  }
  return -1;
}

void FileOpsFixture::SelectRows(std::initializer_list<std::u16string_view> names) {
  bool first = true;
  for (const std::u16string_view name : names) {
    const int64_t row = RowOf(name);
    ASSERT_GE(row, 0) << testing::PrintToString(std::u16string(name));
    Click(CellCentre(row, kColumnSize), first ? 0 : MK_CONTROL);
    first = false;
  }
  // Later clicks must not count as the slow second click that renames.
  Window().list.lastClickedRow = -1;
}

std::pair<int, int> FileOpsFixture::RenameSelection() {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(RenameEdit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

}  // namespace quillmor
