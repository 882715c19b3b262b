// Message boxes and questions, behind an interface: the program shows them
// with MessageBoxW; window tests answer and record them instead of blocking.
#pragma once

#include "app/win32_app.h"

namespace quillmor {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // MessageBoxW(owner, text, title, type): the button chosen (IDOK, IDYES,
  // ...), or 0 when no box could be shown.
  virtual int Show(HWND owner, std::u16string_view text, std::u16string_view title, UINT type) = 0;
};

// The real MessageBoxW.
MessageBoxes& SystemMessageBoxes();

}  // namespace quillmor
