#include "app/core/list_selection.h"

#include <algorithm>

namespace quillmor {

void ListSelection::Clear() {
  runs_.clear();
  focused_ = -1;
  anchor_ = -1;
}

void ListSelection::SelectOne(int64_t row) {
  Clear();
  if (row < 0) return;
  runs_.push_back({row, row + 1});
  focused_ = anchor_ = row;
}

void ListSelection::Toggle(int64_t row) {
  if (row < 0) return;
  if (IsSelected(row)) {
    Remove(row);
  } else {
    Add(row);
  }
  if (runs_.empty()) {
    focused_ = anchor_ = -1;
  } else {
    focused_ = anchor_ = row;
  }
}

void ListSelection::SelectRange(int64_t row) {
  if (row < 0) return;
  if (anchor_ < 0) anchor_ = row;
  runs_.assign(1, Run{std::min(anchor_, row), std::max(anchor_, row) + 1});
  focused_ = row;
}

void ListSelection::SelectAll(int64_t rowCount) {
  if (rowCount <= 0) {
    Clear();
    return;
  }
  runs_.assign(1, Run{0, rowCount});
  if (focused_ < 0 || focused_ >= rowCount) focused_ = 0;
  anchor_ = focused_;
}

bool ListSelection::IsSelected(int64_t row) const {
  // The first run that ends after `row`.
  auto it = std::upper_bound(runs_.begin(), runs_.end(), row, [](int64_t r, const Run& run) { return r < run.last; });
  return it != runs_.end() && it->first <= row;
}

int64_t ListSelection::Count() const {
  int64_t count = 0;
  for (const Run& run : runs_) count += run.last - run.first;
  return count;
}

std::vector<int64_t> ListSelection::SelectedRows() const {
  std::vector<int64_t> rows;
  rows.reserve(static_cast<size_t>(Count()));
  for (const Run& run : runs_) {
    for (int64_t r = run.first; r < run.last; ++r) rows.push_back(r);
  }
  return rows;
}

void ListSelection::Add(int64_t row) {
  auto it = std::lower_bound(runs_.begin(), runs_.end(), row, [](const Run& run, int64_t r) { return run.last < r; });
  // `it` is the first run that ends at or after `row`: it may end right
  // before `row` (extend it) or start right after (extend it downwards).
  if (it != runs_.end() && it->last == row) {
    it->last = row + 1;
    auto next = it + 1;
    if (next != runs_.end() && next->first == it->last) {
      it->last = next->last;
      runs_.erase(next);
    }
    return;
  }
  if (it != runs_.end() && it->first == row + 1) {
    it->first = row;
    return;
  }
  runs_.insert(it, Run{row, row + 1});
}

void ListSelection::Remove(int64_t row) {
  auto it = std::upper_bound(runs_.begin(), runs_.end(), row, [](int64_t r, const Run& run) { return r < run.last; });
  if (it == runs_.end() || it->first > row) return;
  if (it->first == row && it->last == row + 1) {
    runs_.erase(it);
  } else if (it->first == row) {
    it->first = row + 1;
  } else if (it->last == row + 1) {
    it->last = row;
  } else {
    const Run tail{row + 1, it->last};
    it->last = row;
    runs_.insert(it + 1, tail);
  }
}

}  // namespace quillmor
