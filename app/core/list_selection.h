// The result list's selection: a set of row indices with the focused row and
// the anchor of Shift ranges (-1 when none). The set is kept as sorted,
// disjoint runs of rows, so that selecting all of ten million rows costs one
// run, not ten million entries.
#pragma once

#include <cstdint>
#include <vector>

namespace quillmor {

class ListSelection {
 public:
  // Empties the set; focused and anchor become -1.
  void Clear();
  // The set holds only `row`; focused and anchor become `row`. A negative row
  // clears.
  void SelectOne(int64_t row);
  // Ctrl: adds or removes `row`; focused and anchor become `row`, or both -1
  // when that left the set empty.
  void Toggle(int64_t row);
  // Shift: without an anchor `row` becomes the anchor; the set becomes every
  // row from the smaller to the larger of anchor and `row`; `row` becomes
  // focused and the anchor stays.
  void SelectRange(int64_t row);
  // Ctrl+A: every row of [0, rowCount); the focused row stays (row 0 when
  // there was none) and becomes the anchor. Clears when rowCount is 0.
  void SelectAll(int64_t rowCount);

  bool IsSelected(int64_t row) const;
  bool Empty() const { return runs_.empty(); }
  // The number of selected rows.
  int64_t Count() const;
  // The selected rows in ascending order.
  std::vector<int64_t> SelectedRows() const;

  int64_t Focused() const { return focused_; }
  int64_t Anchor() const { return anchor_; }
  // Moves the focus without touching the set (a double click, a right click
  // on a selected row).
  void SetFocused(int64_t row) { focused_ = row < 0 ? -1 : row; }

 private:
  // Rows [first, last), sorted by first, never touching or overlapping.
  struct Run {
    int64_t first;
    int64_t last;
  };
  void Add(int64_t row);
  void Remove(int64_t row);

  std::vector<Run> runs_;
  int64_t focused_ = -1;
  int64_t anchor_ = -1;
};

}  // namespace quillmor
