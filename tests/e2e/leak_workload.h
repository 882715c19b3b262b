// The handle-leak check: drive a running Quillmor.exe through many searches,
// scrolls, view changes and theme switches, and compare its GDI and USER
// object counts before and after.
#pragma once

#include <windows.h>

#include <string>

namespace quillmor::e2e {

struct LeakWorkload {
  int searches = 200;
  // Two queries with different result counts, searched in turn, so that
  // every search changes the title and its end can be seen.
  std::wstring queryA;
  long long countA = 0;
  std::wstring queryB;
  long long countB = 0;
  long tolerance = 8;  // objects either count may end above its start
};

// Runs the workload against the main window; prints the counts and returns
// true when both ended within the tolerance of where they started.
bool RunLeakCheck(HWND main, const LeakWorkload& workload);

}  // namespace quillmor::e2e
