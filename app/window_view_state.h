// The main window as the search side sees it (ViewState): what background
// jobs may read of the controls, kept in copies the window's thread updates,
// since a job must never send a message to a window of another thread and
// wait for the answer.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "app/win32_app.h"
#include "engine/view_state.h"

namespace quillmor {

class WindowViewState : public ViewState {
 public:
  void Attach(HWND mainWindow, HWND statusLine);

  // --- The window's thread keeps these up to date ---
  void StoreSearchText(std::u16string text);
  void StoreCustomSizeText(std::optional<std::u16string> text);
  void StoreDateRange(std::optional<std::pair<int32_t, int32_t>> range);
  void StoreGeometry(const ListGeometry& geometry);

  // --- ViewState, any thread ---
  std::u16string SearchText() override;
  void SetStatusText(std::u16string_view text) override;
  bool CustomSizeText(std::u16string& text) override;
  bool CustomDateRange(int32_t& from, int32_t& to) override;
  ListGeometry Geometry() override;
  void ScheduleSearchRetry(uint32_t milliseconds) override;
  void Invalidate() override;

 private:
  bool OnWindowThread() const;

  std::atomic<HWND> window_{nullptr};
  std::atomic<HWND> statusLine_{nullptr};
  std::atomic<DWORD> windowThread_{0};
  std::mutex mutex_;
  std::u16string searchText_;                             // Guarded by mutex_.
  std::optional<std::u16string> customSizeText_;          // Guarded by mutex_.
  std::optional<std::pair<int32_t, int32_t>> dateRange_;  // Guarded by mutex_.
  ListGeometry geometry_;                                 // Guarded by mutex_.
};

}  // namespace quillmor
