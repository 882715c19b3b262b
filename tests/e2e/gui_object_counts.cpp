#include "tests/e2e/gui_object_counts.h"

#include <cstdint>
#include <vector>

namespace quillmor::e2e {
namespace {

// Wine keeps a process's GDI objects in a table of 65,536 entries that the
// process environment block points to (as Windows once did); a free entry
// has type 0.
#pragma pack(push, 1)
struct GdiTableEntry {
  uint64_t object;
  uint32_t owner;
  uint16_t unique;  // bit 0x80 marks a stock object
  uint8_t type;
  uint8_t flags;
  uint64_t userData;
};
#pragma pack(pop)
static_assert(sizeof(GdiTableEntry) == 24);
constexpr size_t kGdiTableEntries = 0x10000;
constexpr size_t kPebGdiTableOffset = 0xF8;
constexpr uint16_t kStockObjectBit = 0x80;

struct ProcessBasicInformation {
  LONG_PTR exitStatus;
  void* pebBase;
  ULONG_PTR affinityMask;
  LONG_PTR basePriority;
  ULONG_PTR processId;
  ULONG_PTR parentProcessId;
};
using NtQueryInformationProcessFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);

long CountGdiTableEntries(HANDLE process) {
  const auto query = reinterpret_cast<NtQueryInformationProcessFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  if (query == nullptr) return -1;
  ProcessBasicInformation info{};
  if (query(process, 0, &info, sizeof info, nullptr) != 0 || info.pebBase == nullptr) return -1;
  uint64_t table = 0;
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, static_cast<char*>(info.pebBase) + kPebGdiTableOffset, &table, sizeof table, &read) ||
      table == 0) {
    return -1;
  }
  std::vector<GdiTableEntry> entries(kGdiTableEntries);
  if (!ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(),
                         entries.size() * sizeof(GdiTableEntry), &read)) {
    return -1;
  }
  long used = 0;
  for (const GdiTableEntry& e : entries) {
    if (e.type != 0 && (e.unique & kStockObjectBit) == 0) ++used;
  }
  return used;
}

// The table is trusted only when it sees this process's own new brushes.
bool GdiTableIsReadable() {
  const HANDLE self = GetCurrentProcess();
  const long before = CountGdiTableEntries(self);
  HBRUSH brushes[8];
  for (HBRUSH& b : brushes) b = CreateSolidBrush(RGB(1, 2, 3));
  const long during = CountGdiTableEntries(self);
  for (HBRUSH b : brushes) DeleteObject(b);
  return before >= 0 && during == before + 8;
}

struct WindowTally {
  DWORD processId;
  long count = 0;
};

bool OwnedBy(HWND window, DWORD processId) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  return owner == processId;
}

BOOL CALLBACK TallyChild(HWND window, LPARAM tally) {
  auto& t = *reinterpret_cast<WindowTally*>(tally);
  if (OwnedBy(window, t.processId)) ++t.count;
  return TRUE;
}

BOOL CALLBACK TallyTopLevel(HWND window, LPARAM tally) {
  TallyChild(window, tally);
  EnumChildWindows(window, TallyChild, tally);  // every descendant
  return TRUE;
}

// Visible or not, top-level, child and message-only.
long CountWindows(DWORD processId) {
  WindowTally tally{processId};
  EnumWindows(TallyTopLevel, reinterpret_cast<LPARAM>(&tally));
  for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w != nullptr;
       w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) {
    TallyTopLevel(w, reinterpret_cast<LPARAM>(&tally));
  }
  return tally.count;
}

}  // namespace

GuiObjectCounts CountGuiObjects(DWORD processId) {
  GuiObjectCounts counts;
  const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (process == nullptr) return counts;
  SetLastError(ERROR_SUCCESS);
  const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  const bool stub = GetLastError() == ERROR_CALL_NOT_IMPLEMENTED || (gdi == 0 && user == 0);
  if (!stub) {
    counts = {static_cast<long>(gdi), static_cast<long>(user), "GetGuiResources"};
  } else {
    counts.gdi = GdiTableIsReadable() ? CountGdiTableEntries(process) : -1;
    counts.user = CountWindows(processId);
    counts.how = "gdi-table+windows";
  }
  CloseHandle(process);
  return counts;
}

}  // namespace quillmor::e2e
