// The main window's controls as tests set them: the search box, the custom
// size edit and date pickers, the list geometry; status texts, retries and
// repaints are recorded.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/view_state.h"

namespace quillmor {

class FakeViewState : public ViewState {
 public:
  std::u16string SearchText() override {
    std::lock_guard lock(mutex_);
    return searchText_;
  }
  void SetSearchText(std::u16string text) {
    std::lock_guard lock(mutex_);
    searchText_ = std::move(text);
  }
  void SetStatusText(std::u16string_view text) override {
    std::lock_guard lock(mutex_);
    statusTexts_.emplace_back(text);
  }
  std::vector<std::u16string> StatusTexts() {
    std::lock_guard lock(mutex_);
    return statusTexts_;
  }
  bool CustomSizeText(std::u16string& text) override {
    std::lock_guard lock(mutex_);
    if (!customSize_) return false;
    text = *customSize_;
    return true;
  }
  void SetCustomSizeText(std::optional<std::u16string> text) {
    std::lock_guard lock(mutex_);
    customSize_ = std::move(text);
  }
  bool CustomDateRange(int32_t& from, int32_t& to) override {
    std::lock_guard lock(mutex_);
    if (!dates_) return false;
    from = dates_->first;
    to = dates_->second;
    return true;
  }
  void SetCustomDateRange(std::optional<std::pair<int32_t, int32_t>> dates) {
    std::lock_guard lock(mutex_);
    dates_ = dates;
  }
  ListGeometry Geometry() override {
    std::lock_guard lock(mutex_);
    return geometry_;
  }
  void SetGeometry(const ListGeometry& geometry) {
    std::lock_guard lock(mutex_);
    geometry_ = geometry;
  }
  void ScheduleSearchRetry(uint32_t milliseconds) override {
    std::lock_guard lock(mutex_);
    retries_.push_back(milliseconds);
  }
  std::vector<uint32_t> Retries() {
    std::lock_guard lock(mutex_);
    return retries_;
  }
  void Invalidate() override {
    std::lock_guard lock(mutex_);
    ++invalidations_;
  }
  int Invalidations() {
    std::lock_guard lock(mutex_);
    return invalidations_;
  }

 private:
  std::mutex mutex_;
  std::u16string searchText_;                         // Guarded by mutex_.
  std::vector<std::u16string> statusTexts_;           // Guarded by mutex_.
  std::optional<std::u16string> customSize_;          // Guarded by mutex_.
  std::optional<std::pair<int32_t, int32_t>> dates_;  // Guarded by mutex_.
  ListGeometry geometry_;                             // Guarded by mutex_.
  std::vector<uint32_t> retries_;                     // Guarded by mutex_.
  int invalidations_ = 0;                             // Guarded by mutex_.
};

}  // namespace quillmor
