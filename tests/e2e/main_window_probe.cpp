#include "tests/e2e/main_window_probe.h"

#include <string_view>

#include "app/core/window_ids.h"

namespace quillmor::e2e {
namespace {

constexpr wchar_t kMainWindowClass[] = L"MARLOWEWND";
constexpr UINT kAnswerTimeoutMs = 1000;

BOOL CALLBACK CountIfMain(HWND window, LPARAM count) {
  wchar_t name[32] = L"";
  GetClassNameW(window, name, 32);
  if (std::wstring(name) == kMainWindowClass) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &result) != 0;
}

// The number `text` is made of, or -1.
long long Decimal(std::wstring_view text) {
  if (text.empty() || text.size() > 18) return -1;
  long long value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return -1;
    value = value * 10 + (c - L'0');
  }
  return value;
}

int Scale(int value96, HWND window) {
  const UINT dpi = GetDpiForWindow(window);
  return MulDiv(value96, dpi == 0 ? 96 : static_cast<int>(dpi), 96);
}

}  // namespace

HWND FindMainWindow() { return FindWindowW(kMainWindowClass, nullptr); }

int CountMainWindows() {
  int count = 0;
  EnumWindows(CountIfMain, reinterpret_cast<LPARAM>(&count));
  return count;
}

std::wstring TitleOf(HWND window) {
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, 512);
  return text;
}

std::optional<std::wstring> ControlText(HWND control) {
  wchar_t text[512] = L"";
  DWORD_PTR copied = 0;
  if (!Send(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), copied)) return std::nullopt;
  return std::wstring(text, copied < 512 ? copied : 511);
}

std::vector<std::wstring> ComboEntries(HWND box) {
  std::vector<std::wstring> entries;
  DWORD_PTR count = 0;
  if (box == nullptr || !Send(box, CB_GETCOUNT, 0, 0, count)) return entries;
  for (DWORD_PTR i = 0; i < count && i < 64; ++i) {
    wchar_t text[512] = L"";
    DWORD_PTR length = 0;
    if (!Send(box, CB_GETLBTEXTLEN, i, 0, length) || length >= 512) break;
    if (!Send(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text), length)) break;
    entries.emplace_back(text);
  }
  return entries;
}

bool Answers(HWND window, std::chrono::milliseconds timeout) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(timeout.count()), &result) != 0;
}

long long FinalTitleCount(const std::wstring& title) {
  static const std::wstring kFilterPrefix = L"Quillmor - Filter:";
  static const std::wstring kHits = L" | Hits:";
  static const std::wstring kSearchPrefix = L"Quillmor - ";
  static const std::wstring kSearchTail = L" results found";
  const std::wstring_view view(title);
  if (view.starts_with(kFilterPrefix)) {
    const size_t hits = view.rfind(kHits);
    if (hits == std::wstring_view::npos) return -1;
    std::wstring_view count = view.substr(hits + kHits.size());
    while (!count.empty() && count.front() == L' ') count.remove_prefix(1);
    return Decimal(count);
  }
  if (view.starts_with(kSearchPrefix) && view.ends_with(kSearchTail)) {
    return Decimal(view.substr(kSearchPrefix.size(), view.size() - kSearchPrefix.size() - kSearchTail.size()));
  }
  return -1;
}

bool IsFinalTitleFor(const std::wstring& title, long long count) { return FinalTitleCount(title) == count; }

std::optional<ScreenPoint> CentreOf(HWND child) {
  RECT r{};
  if (child == nullptr || !GetWindowRect(child, &r)) return std::nullopt;
  return ScreenPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::optional<ScreenPoint> NameHeaderPoint(HWND main) {
  // The list's vertical bar starts just below the 40 px header, and its
  // horizontal bar at the list's left edge. Until the list lays them out,
  // the list starts at the left edge, 126 px down.
  POINT origin{0, 0};
  if (!ClientToScreen(main, &origin)) return std::nullopt;
  int listLeft = origin.x;
  int headerTop = origin.y + Scale(126, main);
  RECT vertical{}, horizontal{};
  const HWND vbar = GetDlgItem(main, kIdListVScroll);
  const HWND hbar = GetDlgItem(main, kIdListHScroll);
  if (vbar != nullptr && hbar != nullptr && GetWindowRect(vbar, &vertical) && GetWindowRect(hbar, &horizontal) &&
      vertical.top - Scale(40, main) > origin.y) {
    headerTop = vertical.top - Scale(40, main);
    listLeft = horizontal.left;
  }
  // Past the row-number column (60 px), inside Name (280 px).
  return ScreenPoint{listLeft + Scale(60 + 100, main), headerTop + Scale(20, main)};
}

std::optional<ScreenPoint> RowPoint(HWND main, int row) {
  const std::optional<ScreenPoint> header = NameHeaderPoint(main);
  if (!header || row < 0) return std::nullopt;
  // Rows of 44 px start below the 40 px header (the list scrolled to the top).
  return ScreenPoint{header->x, header->y - Scale(20, main) + Scale(40 + 44 * row + 22, main)};
}

}  // namespace quillmor::e2e
