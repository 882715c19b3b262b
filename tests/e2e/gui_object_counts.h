// The GDI and USER objects another process holds, for the handle-leak check.
#pragma once

#include <windows.h>

#include <string>

namespace quillmor::e2e {

struct GuiObjectCounts {
  long gdi = -1;   // -1: could not be counted
  long user = -1;  // -1: could not be counted
  // How they were counted: "GetGuiResources" on Windows; under Wine, whose
  // GetGuiResources is a stub that answers 0, "gdi-table" (the process's GDI
  // handle table) and "windows" (its windows: the USER objects Wine lets
  // another process see).
  std::string how;
};

GuiObjectCounts CountGuiObjects(DWORD processId);

}  // namespace quillmor::e2e
