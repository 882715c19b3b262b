#include "tests/app/win32/list_fixture.h"

#include <algorithm>
#include <cstdio>

#include "app/core/column_layout.h"
#include "app/core/window_ids.h"
#include "engine/attr_cache_state.h"
#include "platform/win32_constants.h"

namespace quillmor {

uint32_t PaintedFrame::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFF;
  const uint32_t p = pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF;
  return ((p & 0xFF) << 16) | (p & 0xFF00) | (p >> 16);
}

int PaintedFrame::Count(const RECT& rect, uint32_t colour) const {
  int n = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) n += At(x, y) == colour ? 1 : 0;
  }
  return n;
}

ListFixture::~ListFixture() { g_attrCache.prewarmPending = 1; }

void ListFixture::NumberedFiles(int count) {
  AddWalkedDrive(u'E');
  for (int i = 0; i < count; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "E:\\files\\file-%03d.txt", i);
    const std::string path(name);
    memory.AddFile(std::u16string(path.begin(), path.end()), std::string(static_cast<size_t>(i) + 1, 'x'));
  }
}

void ListFixture::WriteWindowIni(const std::string& lines) { memory.AddFile(ConfigPath(u"window.ini"), lines); }

void ListFixture::AllowSortingNow() {
  KillTimer(hwnd, ID_TIMER_PREWARM);
  KillTimer(hwnd, ID_TIMER_PREWARM_WATCH);
  g_attrCache.prewarmPending = 0;
}

void ListFixture::ResizeClient(int width, int height) {
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
  SetWindowPos(hwnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top, SWP_NOZORDER | SWP_NOMOVE);
  PumpFor(50);
}

PaintedFrame ListFixture::Paint() {
  MainWindow& w = Window();
  PaintedFrame frame;
  frame.width = w.clientWidth;
  frame.height = w.clientHeight;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = frame.width;
  info.bmiHeader.biHeight = -frame.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC dc = CreateCompatibleDC(nullptr);
  const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  EXPECT_NE(bitmap, nullptr);
  if (bitmap == nullptr) {
    DeleteDC(dc);
    return frame;
  }
  const HGDIOBJ old = SelectObject(dc, bitmap);
  PaintListFrame(w, dc, RECT{0, 0, frame.width, frame.height});
  GdiFlush();
  const auto* p = static_cast<const uint32_t*>(bits);
  frame.pixels.assign(p, p + static_cast<size_t>(frame.width) * frame.height);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return frame;
}

POINT ListFixture::CellCentre(int64_t row, int32_t column) {
  const ListFrame frame = Frame();
  const auto edges = ColumnEdges(frame, Window().list.hScrollOffset);
  const int32_t rowHeight = ViewMetricsFor(frame.viewMode, frame.dpi).rowHeight;
  const int64_t top = ContentTop(frame) + row * rowHeight - Window().list.scrollOffset;
  // The middle of the part of the column in view.
  const Rect area = ListArea(frame);
  const int32_t left = std::max(edges[column], area.left);
  const int32_t right = std::min(edges[column + 1], area.right);
  return POINT{(left + right) / 2, static_cast<LONG>(top + rowHeight / 2)};
}

POINT ListFixture::HeaderCentre(int32_t column) {
  const ListFrame frame = Frame();
  const auto edges = ColumnEdges(frame, Window().list.hScrollOffset);
  return POINT{(edges[column] + edges[column + 1]) / 2, frame.listTop + 20};
}

void ListFixture::Click(POINT at, WPARAM keys) {
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(at.x, at.y));
  SendMessageW(hwnd, WM_LBUTTONUP, keys, MAKELPARAM(at.x, at.y));
}

void ListFixture::MouseMove(POINT at, WPARAM keys) { SendMessageW(hwnd, WM_MOUSEMOVE, keys, MAKELPARAM(at.x, at.y)); }

void ListFixture::Wheel(POINT at, int notches, WPARAM keys) {
  POINT screen = at;
  ClientToScreen(hwnd, &screen);
  SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(notches * WHEEL_DELTA))),
               MAKELPARAM(screen.x, screen.y));
}

void ListFixture::PressKey(HWND target, UINT key, bool ctrl, bool shift) {
  BYTE keys[256]{};
  GetKeyboardState(keys);
  const BYTE before[2] = {keys[VK_CONTROL], keys[VK_SHIFT]};
  keys[VK_CONTROL] = ctrl ? 0x80 : 0;
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  SendMessageW(target, WM_KEYDOWN, key, 1);
  keys[VK_CONTROL] = before[0];
  keys[VK_SHIFT] = before[1];
  SetKeyboardState(keys);
}

std::vector<std::u16string> ListFixture::RowNames() {
  std::vector<std::u16string> names;
  for (int64_t row = 0; row < Window().list.count; ++row) names.push_back(Cell(row, kColumnName));
  return names;
}

}  // namespace quillmor
