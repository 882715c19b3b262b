// Whether the test runs under Wine, for the checks that say what Wine does
// where it differs from Windows.
#pragma once

#include "platform/win32/windows_api.h"

namespace quillmor {

inline bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace quillmor
