// A result set over hand-built volumes, a view that records what it is told,
// and a window that frees the status texts it receives, as the main window
// must.
#pragma once

#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "engine/result_set.h"
#include "engine/view_state.h"
#include "tests/engine/attr_cache_test_support.h"
#include "tests/engine/engine_fixture.h"
#include "tests/engine/hand_built_volume.h"

namespace quillmor {

class RecordingView : public ViewState {
 public:
  std::u16string SearchText() override { return {}; }
  void SetStatusText(std::u16string_view text) override {
    std::lock_guard lock(mutex_);
    statusTexts.emplace_back(text);
  }
  bool CustomSizeText(std::u16string&) override { return false; }
  bool CustomDateRange(int32_t&, int32_t&) override { return false; }
  ListGeometry Geometry() override {
    std::lock_guard lock(mutex_);
    return geometry;
  }
  void ScheduleSearchRetry(uint32_t) override {}
  void Invalidate() override { ++invalidations; }

  std::vector<std::u16string> statusTexts;
  ListGeometry geometry;
  std::atomic<int> invalidations{0};

 private:
  std::mutex mutex_;
};

// Takes the WMU_STATUS_TEXT buffers (and frees them with delete[], as the
// window does) and remembers the results each WMU_SEARCH_RESULTS announced;
// passes every message on to the recording poster with lParam as posted.
class ReceivingPoster : public WindowPoster {
 public:
  ReceivingPoster(RecordingWindowPoster& inner, ResultSet& set) : inner_(inner), set_(set) {}

  bool IsWindow(WindowHandle window) override { return inner_.IsWindow(window); }
  bool Post(WindowHandle window, uint32_t message, uint64_t wParam, int64_t lParam) override {
    if (!inner_.IsWindow(window)) return false;  // the sender keeps the buffer
    std::lock_guard lock(mutex_);
    if (message == WMU_STATUS_TEXT) {
      std::unique_ptr<char16_t[]> text(reinterpret_cast<char16_t*>(static_cast<intptr_t>(lParam)));
      statusTexts_.emplace_back(text.get());
    } else if (message == WMU_SEARCH_RESULTS) {
      // Posted right after the install, on the publishing thread.
      const Results results = SnapshotResults(set_);
      published_.push_back(results ? *results : std::vector<MatchItem>());
    }
    return inner_.Post(window, message, wParam, lParam);
  }

  std::vector<std::u16string> StatusTexts() {
    std::lock_guard lock(mutex_);
    return statusTexts_;
  }
  std::vector<std::vector<MatchItem>> Published() {
    std::lock_guard lock(mutex_);
    return published_;
  }

 private:
  RecordingWindowPoster& inner_;
  ResultSet& set_;
  std::mutex mutex_;
  std::vector<std::u16string> statusTexts_;        // Guarded by mutex_.
  std::vector<std::vector<MatchItem>> published_;  // Guarded by mutex_.
};

class SortFixture : public EngineFixture {
 protected:
  SortFixture() {
    ResetAttrCacheState(/*prewarmPending=*/0);
    set.window = RecordingWindowPoster::TestWindow();
    t.env.windows = &receiver;
  }
  ~SortFixture() override {
    WaitForBackgroundTasks();
    t.env.windows = &t.poster;
  }

  void Show(std::vector<MatchItem> rows, std::vector<VolumePtr> volumes) {
    std::lock_guard lock(set.mutex);
    set.results = MakeResults(std::move(rows), std::move(volumes));
  }
  std::vector<MatchItem> Rows() {
    const Results results = SnapshotResults(set);
    return results ? *results : std::vector<MatchItem>();
  }
  static std::vector<std::u16string> Names(const std::vector<MatchItem>& rows) {
    std::vector<std::u16string> names;
    for (const MatchItem& row : rows) {
      std::shared_lock lock(row.volume->recordsLock);
      const FileRecord& r = row.volume->records[row.recordIndex];
      names.emplace_back(r.name, r.nameLength);
    }
    return names;
  }
  std::vector<std::u16string> Names() { return Names(Rows()); }
  static std::vector<uint32_t> Indices(const std::vector<MatchItem>& rows) {
    std::vector<uint32_t> indices;
    for (const MatchItem& row : rows) indices.push_back(row.recordIndex);
    return indices;
  }

  // Clicks a column and waits for the job (and any save it started).
  void Sort(int32_t column) {
    DoSortAsync(*engine, set, view, column);
    WaitForBackgroundTasks();
  }

  std::vector<PostedMessage> MessagesOf(uint32_t message) {
    std::vector<PostedMessage> found;
    for (const PostedMessage& m : t.poster.Messages()) {
      if (m.message == message) found.push_back(m);
    }
    return found;
  }

  ResultSet set;
  RecordingView view;
  ReceivingPoster receiver{t.poster, set};
};

}  // namespace quillmor
