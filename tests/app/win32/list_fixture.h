// The main window with results in its list, and what a test needs to look at
// the list and use it: frames painted into a bitmap, clicks and keys sent as
// the system sends them, the rows as text.
#pragma once

#include <string>
#include <vector>

#include "app/main_window_handlers.h"
#include "tests/app/win32/window_fixture.h"

namespace quillmor {

// One painted frame of the client area.
struct PaintedFrame {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top down

  // The pixel as a COLORREF (0x00BBGGRR), as the palette holds colours.
  uint32_t At(int x, int y) const;
  // How many pixels of `rect` have the colour.
  int Count(const RECT& rect, uint32_t colour) const;
};

class ListFixture : public WindowFixture {
 protected:
  ~ListFixture() override;

  // A walked drive E: with `count` files E:\files\file-NNN.txt, file i
  // holding i + 1 bytes.
  void NumberedFiles(int count);
  // Writes window.ini with these lines before the window opens.
  void WriteWindowIni(const std::string& lines);
  // Sorting waits for the first cache prewarm; tests do not.
  void AllowSortingNow();
  // The client area as `width` x `height` pixels.
  void ResizeClient(int width, int height);

  PaintedFrame Paint();
  ListFrame Frame() { return ListFrameOf(Window()); }
  // The middle of the part of `row`'s cell in `column` that is in view (the
  // list view), in client pixels.
  POINT CellCentre(int64_t row, int32_t column);
  POINT HeaderCentre(int32_t column);

  void Click(POINT at, WPARAM keys = 0);
  void MouseMove(POINT at, WPARAM keys = 0);
  // WM_MOUSEWHEEL over `at` (client pixels), `notches` of 120 (negative: down).
  void Wheel(POINT at, int notches, WPARAM keys = 0);
  // A key pressed while the list has the focus, with Ctrl and Shift held as
  // asked (the thread's key state says so while the key is handled).
  void PressListKey(UINT key, bool ctrl = false, bool shift = false) { PressKey(hwnd, key, ctrl, shift); }
  // WM_KEYDOWN to `target` with Ctrl and Shift held as asked.
  void PressKey(HWND target, UINT key, bool ctrl = false, bool shift = false);

  std::vector<std::u16string> RowNames();
  std::vector<int64_t> Selected() { return Window().list.selection.SelectedRows(); }
  std::u16string Cell(int64_t row, int32_t column) { return ListCellTextAt(Window(), row, column); }
};

}  // namespace quillmor
