// PostMessageW and IsWindow.
#pragma once

#include "platform/window_messages.h"

namespace quillmor {

class Win32WindowPoster : public WindowPoster {
 public:
  bool IsWindow(WindowHandle window) override;
  bool Post(WindowHandle window, uint32_t message, uint64_t wParam, int64_t lParam) override;
};

}  // namespace quillmor
