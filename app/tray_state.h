// The notification icon's record and what goes with it.
#pragma once

#include "app/win32_app.h"

namespace quillmor {

struct TrayState {
  NOTIFYICONDATAW data{};     // zero-filled, set up at WM_CREATE
  HICON ownedIcon = nullptr;  // loaded from the resources; destroyed when replaced
};

}  // namespace quillmor
