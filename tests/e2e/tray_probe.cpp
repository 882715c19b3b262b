#include "tests/e2e/tray_probe.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace quillmor::e2e {
namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[128] = L"";
  GetClassNameW(window, name, 128);
  return name;
}

DWORD ProcessOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId;
}

struct Search {
  std::wstring className;
  DWORD processId = 0;  // 0: any
  HWND found = nullptr;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  if (!IsWindowVisible(window) || ClassOf(window) != search.className) return TRUE;
  if (search.processId != 0 && ProcessOf(window) != search.processId) return TRUE;
  search.found = window;
  return FALSE;
}

HWND FindVisibleTopLevel(const std::wstring& className, DWORD processId) {
  Search search{className, processId};
  EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  if (parent != nullptr) EnumChildWindows(parent, CollectChildren, reinterpret_cast<LPARAM>(&children));
  return children;
}

void PrintWindow(const char* indent, HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  DWORD_PTR tools = 0;
  if (ClassOf(window) == L"tooltips_class32") {
    SendMessageTimeoutW(window, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &tools);
  }
  std::printf("%s%p class='%s' pid=%lu visible=%d rect=%ld,%ld-%ld,%ld tools=%lu title='%s'\n", indent,
              static_cast<void*>(window), Utf8(ClassOf(window)).c_str(), ProcessOf(window),
              IsWindowVisible(window) ? 1 : 0, r.left, r.top, r.right, r.bottom, static_cast<unsigned long>(tools),
              Utf8(TitleOf(window)).c_str());
}

std::wstring LowerAscii(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return text;
}

struct TitleSearch {
  std::wstring text;  // lower case
  DWORD notProcessId = 0;
  HWND found = nullptr;
};

BOOL CALLBACK FindTitled(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<TitleSearch*>(data);
  if (!IsWindowVisible(window) || ProcessOf(window) == search.notProcessId) return TRUE;
  if (LowerAscii(TitleOf(window)).find(search.text) == std::wstring::npos) return TRUE;
  search.found = window;
  return FALSE;
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM) {
  PrintWindow("", window);
  return TRUE;
}

// Whether a block of `pixels` (rows of `stride`) is all one colour: an empty
// place of the taskbar.
bool IsPlain(const std::vector<uint32_t>& pixels, int stride, int left, int width, int height) {
  const uint32_t first = pixels[static_cast<size_t>(left)];
  for (int y = 0; y < height; ++y) {
    for (int x = left; x < left + width; ++x) {
      if (pixels[static_cast<size_t>(y) * static_cast<size_t>(stride) + static_cast<size_t>(x)] != first) return false;
    }
  }
  return true;
}

// The pixels of a block of the screen, top-down, 0x00RRGGBB.
std::vector<uint32_t> ScreenPixels(const RECT& r) {
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

}  // namespace

std::optional<std::wstring> VisibleTooltipText() {
  const HWND tooltip = FindVisibleTopLevel(L"tooltips_class32", 0);
  if (tooltip == nullptr) return std::nullopt;
  std::optional<std::wstring> text = ControlText(tooltip);
  if (!text || text->empty()) return std::nullopt;
  return text;
}

HWND FindPopupMenu(DWORD processId) { return FindVisibleTopLevel(L"#32768", processId); }

HWND FindDialog(DWORD processId) { return FindVisibleTopLevel(L"#32770", processId); }

std::wstring DialogText(HWND dialog) {
  std::wstring longest;
  for (HWND child : ChildrenOf(dialog)) {
    if (ClassOf(child) != L"Static") continue;
    const std::optional<std::wstring> text = ControlText(child);
    if (text && text->size() > longest.size()) longest = *text;
  }
  return longest;
}

long TrayIconCount() {
  // Wine's taskbar shows only while there is an icon, and draws the icons
  // itself from its right end, one icon and its border wide each: count the
  // places that are not empty.
  const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  RECT bar{};
  if (taskbar == nullptr || !IsWindowVisible(taskbar) || !GetWindowRect(taskbar, &bar)) return 0;
  const int place = GetSystemMetrics(SM_CXSMICON) + 4;
  const int places = std::min(8, static_cast<int>((bar.right - bar.left) / place));
  const RECT area{bar.right - places * place, bar.top, bar.right, bar.bottom};
  const std::vector<uint32_t> pixels = ScreenPixels(area);
  const int width = area.right - area.left;
  long icons = 0;
  for (int i = 1; i <= places; ++i) {
    if (IsPlain(pixels, width, width - i * place, place, area.bottom - area.top)) break;
    ++icons;
  }
  return icons;
}

std::optional<POINT> TrayIconPoint() {
  RECT r{};
  const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (taskbar == nullptr || !GetWindowRect(taskbar, &r)) return std::nullopt;
  return POINT{r.right - 10, (r.top + r.bottom) / 2};
}

HWND FindWindowTitled(const std::wstring& text, DWORD notProcessId) {
  TitleSearch search{LowerAscii(text), notProcessId};
  EnumWindows(FindTitled, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void PrintWindows() {
  EnumWindows(PrintTopLevel, 0);
  for (HWND child : ChildrenOf(FindWindowW(L"Shell_TrayWnd", nullptr))) PrintWindow("  taskbar child: ", child);
}

}  // namespace quillmor::e2e
