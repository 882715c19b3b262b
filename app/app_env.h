// What the program runs over: the search side's operating-system services and
// the window's own. The entry point gives the machine's; window tests give
// simulated drives, answer the message boxes and record what the shell was
// asked to start.
#pragma once

#include "app/core/autostart_rules.h"
#include "app/message_boxes.h"
#include "app/shell_launcher.h"
#include "platform/env.h"

namespace quillmor {

struct AppEnv {
  Env core;
  MessageBoxes* boxes = nullptr;
  // schtasks and the Run key for start at logon; null: the machine's.
  AutostartSystem* autostart = nullptr;
  ShellLauncher* shell = nullptr;
};

// The machine's services. Lives for the whole process.
AppEnv& DefaultAppEnv();

}  // namespace quillmor
