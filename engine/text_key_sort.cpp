#include "engine/text_key_sort.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "platform/thread.h"

namespace quillmor {
namespace {

// Units per digit: four 16-bit units fill a 64-bit integer.
constexpr size_t kDigitUnits = 4;
// A run this short is finished by comparing keys: cheaper than gathering
// further digits for it.
constexpr size_t kComparedRun = 32;
// How many rows ahead the digit gathering asks for a key's units.
constexpr ptrdiff_t kPrefetchDistance = 8;

// A row being sorted, with its key's digit at the depth its run has reached.
struct Item {
  uint64_t digit = 0;
  uint32_t row = 0;
  uint32_t length = 0;
};

// Rows [first, last) of the array being sorted, which agree on the first
// `depth` units of their keys.
struct Run {
  Item* first;
  Item* last;
  size_t depth;
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

  // Sets the digit of every row of [first, last) at `depth`, first moving
  // `depth` past the digits all of them share. True when the digits differ;
  // false when they are all equal and some key ends within the digit.
  bool FillDigits(Item* first, Item* last, size_t& depth) const {
    for (;;) {
      const uint64_t firstDigit = Digit(*first, depth);
      bool allEqual = true, anyEnded = false;
      for (Item* item = first; item != last; ++item) {
        // Rows are out of key order from the second digit on: each key
        // read is a cache miss. Ask for the rows' keys, and then for their
        // units, well before they are needed, so that the misses overlap.
        if (last - item > 2 * kPrefetchDistance) __builtin_prefetch(&keys_.keys[item[2 * kPrefetchDistance].row]);
        if (last - item > kPrefetchDistance) __builtin_prefetch(UnitAt(item[kPrefetchDistance].row, depth));
        item->digit = Digit(*item, depth);
        allEqual &= item->digit == firstDigit;
        anyEnded |= item->length <= depth + kDigitUnits;
      }
      if (!allEqual) return true;
      if (anyEnded) return false;
      depth += kDigitUnits;
    }
  }

  // Orders the rows of each run completely, in place.
  void Sort(std::vector<Run> pending) const {
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
      if (FillDigits(run.first, run.last, run.depth)) {
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

  // Moves the rows of [begin, end) whose keys end by `next` units, which
  // agree with the others on every unit up to there, where they belong:
  // before the others ascending, after them descending. Returns where they
  // lie, in no particular order.
  Run SetEndedApart(Item* begin, Item* end, size_t next) const {
    auto ended = [next](const Item& item) { return item.length <= next; };
    if (ascending_) return {begin, std::partition(begin, end, ended), 0};
    return {std::partition(begin, end, [&](const Item& item) { return !ended(item); }), end, 0};
  }

  bool ascending() const { return ascending_; }

 private:
  // Where a row's key holds its unit at `position`; its tail past the end.
  const char16_t* UnitAt(uint32_t row, size_t position) const {
    const TextSortKeys::Key& key = keys_.keys[row];
    if (position < key.headLength) return keys_.units.data() + key.head + position;
    position -= key.headLength;
    return keys_.units.data() + key.tail + (position < key.tailLength ? position : 0);
  }

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
  void SplitDigitRun(Item* begin, Item* end, size_t depth, std::vector<Run>& pending) const {
    if (end - begin < 2) return;
    const Run ended = SetEndedApart(begin, end, depth + kDigitUnits);
    std::sort(ended.first, ended.last, [&](const Item& a, const Item& b) {
      if (a.length != b.length) return (a.length < b.length) == ascending_;
      return a.row < b.row;
    });
    if (ascending_) {
      pending.push_back({ended.last, end, depth + kDigitUnits});
    } else {
      pending.push_back({begin, ended.first, depth + kDigitUnits});
    }
  }

  const TextSortKeys& keys_;
  bool ascending_;
};

PageVector<Item> MakeItems(const TextSortKeys& keys) {
  PageVector<Item> items(keys.size());
  for (size_t i = 0; i < items.size(); ++i) {
    items[i].row = static_cast<uint32_t>(i);
    items[i].length = keys.keys[i].headLength + keys.keys[i].tailLength;
  }
  return items;
}

// Finds a place in [first, last) (rows agreeing on their first `depth`
// units) near the middle that splits the rows in two with every row before
// it ordered before every row after it, and leaves the rows on each side as
// runs to sort, `before` and `after`. Goes down digit by digit while the
// middle falls among rows that share a digit; gives every row to one side
// when the keys cannot be told apart by a digit.
void SplitInTwo(const TextSorter& sorter, Item* first, Item* last, size_t depth, std::vector<Run>& before,
                std::vector<Run>& after) {
  Item* const middle = first + (last - first) / 2;
  // Near enough: an eighth of the rows either way.
  const ptrdiff_t slack = (last - first) / 8;
  for (;;) {
    // [low, high): the rows that share the digit of a sample row near the
    // middle, between those with smaller digits and those with larger ones.
    Item* low = first;
    Item* high = last;
    if (sorter.FillDigits(first, last, depth)) {
      const size_t n = static_cast<size_t>(last - first);
      constexpr size_t kSamples = 255;
      std::vector<uint64_t> samples;
      samples.reserve(kSamples);
      for (size_t k = 0; k < kSamples; ++k) samples.push_back(first[k * n / kSamples].digit);
      const auto at = samples.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(middle - first) * kSamples / n);
      std::nth_element(samples.begin(), at, samples.end());
      const uint64_t pivot = *at;
      low = std::partition(first, last, [pivot](const Item& item) { return item.digit < pivot; });
      high = std::partition(low, last, [pivot](const Item& item) { return item.digit == pivot; });
      if (low != first) before.push_back({first, low, depth});
      if (high != last) after.push_back({high, last, depth});
      // Whichever edge of the pivot's rows lies closer to the middle will
      // do unless the middle lies well inside them.
      const ptrdiff_t lowGap = std::abs(middle - low), highGap = std::abs(high - middle);
      if (lowGap <= slack || highGap <= slack || middle <= low || middle >= high) {
        (lowGap <= highGap ? after : before).push_back({low, high, depth});
        return;
      }
    }
    // The middle lies among rows that share the digit: those whose keys end
    // within it go to their side, the others are split by the next digit.
    const Run ended = sorter.SetEndedApart(low, high, depth + kDigitUnits);
    if (ended.first != ended.last) (ended.last <= middle ? before : after).push_back({ended.first, ended.last, depth});
    first = sorter.ascending() ? ended.last : low;
    last = sorter.ascending() ? high : ended.first;
    depth += kDigitUnits;
    if (middle <= first || middle >= last) {
      if (first != last) (middle <= first ? after : before).push_back({first, last, depth});
      return;
    }
  }
}

// Runs `besideWork` on a second thread while the caller runs `ownWork`.
// False when that thread could not start or its work threw; the caller then
// does that work itself.
template <typename BesideWork, typename OwnWork>
bool RunBeside(BesideWork&& besideWork, OwnWork&& ownWork) {
  bool failed = false;
  Thread beside;
  try {
    beside = Thread([&] {
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

PageVector<uint32_t> SortedTextOrder(const TextSortKeys& keys, bool ascending, unsigned threads) {
  const TextSorter sorter(keys, ascending);
  PageVector<Item> items = MakeItems(keys);
  const size_t n = items.size();
  PageVector<uint32_t> order(n);

  if (threads < 2 || n < 2) {
    sorter.Sort({{items.data(), items.data() + n, 0}});
    for (size_t i = 0; i < n; ++i) order[i] = items[i].row;
    return order;
  }

  // Two sides sorted side by side, each to the end: every row on the first
  // comes before every row on the second, so the sides need no merge.
  std::vector<Run> before, after;
  SplitInTwo(sorter, items.data(), items.data() + n, 0, before, after);
  if (!RunBeside([&] { sorter.Sort(after); }, [&] { sorter.Sort(before); })) {
    sorter.Sort(after);  // unfinished rows are still all there
  }
  for (size_t i = 0; i < n; ++i) order[i] = items[i].row;
  return order;
}

}  // namespace quillmor
