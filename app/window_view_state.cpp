#include "app/window_view_state.h"

#include <cstring>

#include "app/core/window_ids.h"

namespace quillmor {

void WindowViewState::Attach(HWND mainWindow, HWND statusLine) {
  window_ = mainWindow;
  statusLine_ = statusLine;
  windowThread_ = mainWindow != nullptr ? GetWindowThreadProcessId(mainWindow, nullptr) : 0;
}

bool WindowViewState::OnWindowThread() const { return windowThread_.load() == GetCurrentThreadId(); }

void WindowViewState::StoreSearchText(std::u16string text) {
  std::lock_guard lock(mutex_);
  searchText_ = std::move(text);
}

void WindowViewState::StoreCustomSizeText(std::optional<std::u16string> text) {
  std::lock_guard lock(mutex_);
  customSizeText_ = std::move(text);
}

void WindowViewState::StoreDateRange(std::optional<std::pair<int32_t, int32_t>> range) {
  std::lock_guard lock(mutex_);
  dateRange_ = range;
}

void WindowViewState::StoreGeometry(const ListGeometry& geometry) {
  std::lock_guard lock(mutex_);
  geometry_ = geometry;
}

std::u16string WindowViewState::SearchText() {
  std::lock_guard lock(mutex_);
  return searchText_;
}

void WindowViewState::SetStatusText(std::u16string_view text) {
  const HWND status = statusLine_.load();
  if (status == nullptr) return;
  if (OnWindowThread()) {
    SetWindowTextU(status, std::u16string(text));
    ShowWindow(status, text.empty() ? SW_HIDE : SW_SHOWNA);
    return;
  }
  // Another thread: the window shows it when it gets to it. Once the window
  // has ended there is nobody to show it to (a null window would post it to
  // this thread's own queue, where nothing frees it).
  const HWND window = window_.load();
  if (window == nullptr) return;
  auto* buffer = new char16_t[text.size() + 1];
  std::memcpy(buffer, text.data(), text.size() * sizeof(char16_t));
  buffer[text.size()] = u'\0';
  if (!PostMessageW(window, WMU_APP_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(buffer))) delete[] buffer;
}

bool WindowViewState::CustomSizeText(std::u16string& text) {
  std::lock_guard lock(mutex_);
  if (!customSizeText_) return false;
  text = *customSizeText_;
  return true;
}

bool WindowViewState::CustomDateRange(int32_t& from, int32_t& to) {
  std::lock_guard lock(mutex_);
  if (!dateRange_) return false;
  from = dateRange_->first;
  to = dateRange_->second;
  return true;
}

ListGeometry WindowViewState::Geometry() {
  std::lock_guard lock(mutex_);
  return geometry_;
}

void WindowViewState::ScheduleSearchRetry(uint32_t milliseconds) {
  const HWND window = window_.load();
  if (window == nullptr) return;
  // SetTimer only works for a window of the calling thread.
  if (OnWindowThread()) {
    SetTimer(window, ID_TIMER_SEARCH_RETRY, milliseconds, nullptr);
  } else {
    PostMessageW(window, WMU_APP_SCHEDULE_RETRY, milliseconds, 0);
  }
}

void WindowViewState::Invalidate() {
  const HWND window = window_.load();
  if (window != nullptr) InvalidateRect(window, nullptr, FALSE);
}

}  // namespace quillmor
