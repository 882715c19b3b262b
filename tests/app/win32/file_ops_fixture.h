// The main window over a real scratch folder (see scratch_drive.h), with the
// shell's launches recorded instead of made and message boxes that can act
// when they show (as a real box takes the focus).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/file_operations.h"
#include "tests/app/win32/list_fixture.h"
#include "tests/app/win32/scratch_drive.h"

namespace quillmor {

class HookedMessageBoxes : public RecordingMessageBoxes {
 public:
  int Show(HWND owner, std::u16string_view text, std::u16string_view title, UINT type) override;
  std::function<void()> onShow;  // runs while the box "is up"
};

class FileOpsFixture : public ListFixture {
 protected:
  FileOpsFixture();

  // Opens the window once every drive is indexed and searches `query`;
  // returns the count.
  int64_t OpenAndSearch(std::u16string_view query);
  // The row showing `name`, or -1.
  int64_t RowOf(std::u16string_view name);
  // Clicks the first name's row, then Ctrl+clicks the others.
  void SelectRows(std::initializer_list<std::u16string_view> names);
  // The searches started so far; a refresh after a delete starts one.
  uint64_t SearchGeneration() { return state->results.searchGeneration.load(); }

  HWND RenameEdit() { return Window().fileOps.rename.edit; }
  // The rename edit's selection [start, end).
  std::pair<int, int> RenameSelection();

  ScratchFolder scratch;
  ScratchDriveFileSystem scratchFiles{files, scratch.root()};
  RecordingShell shell;
  HookedMessageBoxes hookedBoxes;
};

}  // namespace quillmor
