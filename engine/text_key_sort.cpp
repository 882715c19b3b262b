#include "engine/text_key_sort.h"

#include <algorithm>
#include <string_view>
#include <system_error>
#include <thread>

namespace quillmor {
namespace {

// Units per digit: four 16-bit units fill a 64-bit integer.
constexpr size_t kDigitUnits = 4;
// A run this short is finished by comparing keys: cheaper than gathering
// further digits for it.
constexpr size_t kComparedRun = 32;

// A row being sorted, with its key's digit at the depth its run has reached.
struct Item {
  uint64_t digit = 0;
  uint32_t row = 0;
  uint32_t length = 0;
};

class TextSorter {
 public:
  TextSorter(const TextSortKeys& keys, bool ascending) : keys_(keys), ascending_(ascending) {}

  // The final order of two rows whose keys agree before `depth`.
  bool Less(const Item& a, const Item& b, size_t depth) const {
    for (size_t i = depth;;) {
      const std::u16string_view x = Piece(a.row, i), y = Piece(b.row, i);
      const size_t common = std::min(x.size(), y.size());
      if (common == 0) break;
      for (size_t k = 0; k < common; ++k) {
        if (x[k] != y[k]) return (x[k] < y[k]) == ascending_;
      }
      i += common;
    }
    if (a.length != b.length) return (a.length < b.length) == ascending_;
    return a.row < b.row;
  }

  // Orders [first, last) completely.
  void Sort(Item* first, Item* last) const {
    struct Run {
      Item* first;
      Item* last;
      size_t depth;  // units every row of the run agrees on
    };
    std::vector<Run> pending{{first, last, 0}};
    while (!pending.empty()) {
      Run run = pending.back();
      pending.pop_back();
      const size_t count = static_cast<size_t>(run.last - run.first);
      if (count < 2) continue;
      if (count <= kComparedRun) {
        std::sort(run.first, run.last, [&](const Item& a, const Item& b) { return Less(a, b, run.depth); });
        continue;
      }
      // The next digit of every row; digits all rows share are skipped.
      bool allEqual = true, anyEnded = false;
      for (;;) {
        const uint64_t firstDigit = Digit(*run.first, run.depth);
        allEqual = true;
        anyEnded = false;
        for (Item* item = run.first; item != run.last; ++item) {
          item->digit = Digit(*item, run.depth);
          allEqual &= item->digit == firstDigit;
          anyEnded |= item->length <= run.depth + kDigitUnits;
        }
        if (!allEqual || anyEnded) break;
        run.depth += kDigitUnits;
      }
      if (!allEqual) {
        std::sort(run.first, run.last, [](const Item& a, const Item& b) { return a.digit < b.digit; });
      }
      for (Item* begin = run.first; begin != run.last;) {
        Item* end = begin + 1;
        while (end != run.last && end->digit == begin->digit) ++end;
        SplitDigitRun(begin, end, run.depth, pending);
        begin = end;
      }
    }
  }

 private:
  // The units of a row's key from `position` that lie in one piece (in its
  // head or in its tail); empty past the end.
  std::u16string_view Piece(uint32_t row, size_t position) const {
    const TextSortKeys::Key& key = keys_.keys[row];
    if (position < key.headLength) return {keys_.units.data() + key.head + position, key.headLength - position};
    position -= key.headLength;
    if (position < key.tailLength) return {keys_.units.data() + key.tail + position, key.tailLength - position};
    return {};
  }

  // Four units of a row's key from `depth`, the first in the high bits, 0
  // past the end; complemented for a descending sort.
  uint64_t Digit(const Item& item, size_t depth) const {
    uint64_t digit = 0;
    size_t filled = 0;
    while (filled < kDigitUnits) {
      const std::u16string_view piece = Piece(item.row, depth + filled);
      if (piece.empty()) break;
      const size_t take = std::min(piece.size(), kDigitUnits - filled);
      for (size_t k = 0; k < take; ++k) digit = (digit << 16) | piece[k];
      filled += take;
    }
    if (filled < kDigitUnits) digit = filled == 0 ? 0 : digit << (16 * (kDigitUnits - filled));
    return ascending_ ? digit : ~digit;
  }

  // [begin, end) agree on every unit up to depth + kDigitUnits, padded with
  // 0s past their ends. A key ending within the digit is the start of every
  // longer one there, so those come first (last descending) ordered by
  // length, the equal ones by row number; the others go on to the next digit.
  template <typename Pending>
  void SplitDigitRun(Item* begin, Item* end, size_t depth, Pending& pending) const {
    if (end - begin < 2) return;
    const size_t next = depth + kDigitUnits;
    auto ended = [next](const Item& item) { return item.length <= next; };
    Item* middle = ascending_ ? std::partition(begin, end, ended)
                              : std::partition(begin, end, [&](const Item& item) { return !ended(item); });
    Item* endedFirst = ascending_ ? begin : middle;
    Item* endedLast = ascending_ ? middle : end;
    std::sort(endedFirst, endedLast, [&](const Item& a, const Item& b) {
      if (a.length != b.length) return (a.length < b.length) == ascending_;
      return a.row < b.row;
    });
    if (ascending_) {
      pending.push_back({middle, end, next});
    } else {
      pending.push_back({begin, middle, next});
    }
  }

  const TextSortKeys& keys_;
  bool ascending_;
};

std::vector<Item> MakeItems(const TextSortKeys& keys) {
  std::vector<Item> items(keys.size());
  for (size_t i = 0; i < items.size(); ++i) {
    items[i].row = static_cast<uint32_t>(i);
    items[i].length = keys.keys[i].headLength + keys.keys[i].tailLength;
  }
  return items;
}

// Runs `besideWork` on a second thread while the caller runs `ownWork`.
// False when that thread could not start or its work threw; the caller then
// does that work itself.
template <typename BesideWork, typename OwnWork>
bool RunBeside(BesideWork&& besideWork, OwnWork&& ownWork) {
  bool failed = false;
  std::thread beside;
  try {
    beside = std::thread([&] {
      try {
        besideWork();
      } catch (...) {
        failed = true;
      }
    });
  } catch (const std::system_error&) {
    failed = true;
  }
  try {
    ownWork();
  } catch (...) {
    if (beside.joinable()) beside.join();
    throw;
  }
  if (beside.joinable()) beside.join();
  return !failed;
}

}  // namespace

std::vector<uint32_t> SortedTextOrder(const TextSortKeys& keys, bool ascending, unsigned threads) {
  const TextSorter sorter(keys, ascending);
  std::vector<Item> items = MakeItems(keys);
  const size_t n = items.size();
  std::vector<uint32_t> order(n);

  if (threads < 2 || n < 2) {
    sorter.Sort(items.data(), items.data() + n);
    for (size_t i = 0; i < n; ++i) order[i] = items[i].row;
    return order;
  }

  // Two halves side by side, then one thread merges the first half of the
  // output from the front while the other merges the second half from the
  // back. No two rows are equal (row numbers break ties), so the two merges
  // meet exactly.
  Item* const left = items.data();
  Item* const middle = left + n / 2;
  Item* const right = left + n;
  if (!RunBeside([&] { sorter.Sort(middle, right); }, [&] { sorter.Sort(left, middle); })) {
    sorter.Sort(middle, right);  // unfinished rows are still all there
  }

  const size_t front = n / 2;
  auto mergeFront = [&] {
    const Item *a = left, *b = middle;
    for (size_t k = 0; k < front; ++k) {
      order[k] = (b != right && (a == middle || sorter.Less(*b, *a, 0)) ? b++ : a++)->row;
    }
  };
  auto mergeBack = [&] {
    const Item *a = middle, *b = right;
    for (size_t k = n; k > front; --k) {
      order[k - 1] = (a != left && (b == middle || sorter.Less(*(b - 1), *(a - 1), 0)) ? --a : --b)->row;
    }
  };
  if (!RunBeside(mergeBack, mergeFront)) mergeBack();
  return order;
}

}  // namespace quillmor
