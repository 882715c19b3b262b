#include "engine/text_key_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <shared_mutex>
#include <string>
#include <vector>

#include "engine/sort_order.h"
#include "platform/sim/test_env.h"
#include "tests/engine/nested_volume.h"

namespace quillmor {
namespace {

// The order by plain comparisons of whole keys, which the radix sort must
// reproduce.
PageVector<uint32_t> ComparedOrder(const TextSortKeys& keys, bool ascending) {
  PageVector<uint32_t> order(keys.size());
  std::iota(order.begin(), order.end(), 0u);
  auto key = [&](uint32_t row) {
    const TextSortKeys::Key& k = keys.keys[row];
    return std::u16string(keys.units.data() + k.head, k.headLength) +
           std::u16string(keys.units.data() + k.tail, k.tailLength);
  };
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const int r = key(a).compare(key(b));
    if (r != 0) return ascending ? r < 0 : r > 0;
    return a < b;
  });
  return order;
}

// Appends `text` to the units and returns where it starts.
size_t Write(TextSortKeys& keys, std::u16string_view text) {
  const size_t offset = keys.units.size();
  keys.units.insert(keys.units.end(), text.begin(), text.end());
  return offset;
}

void AddKey(TextSortKeys& keys, std::u16string_view head, std::u16string_view tail) {
  TextSortKeys::Key key;
  key.head = Write(keys, head);
  key.headLength = static_cast<uint32_t>(head.size());
  Write(keys, u"#");  // the pieces are not contiguous
  key.tail = Write(keys, tail);
  key.tailLength = static_cast<uint32_t>(tail.size());
  keys.keys.push_back(key);
}

// Keys from a tiny alphabet (0 and 0xFFFF included, so padding and the
// highest unit meet real units), many of them equal or each other's starts,
// cut into head and tail anywhere.
TextSortKeys RandomKeys(size_t count, uint64_t seed) {
  const char16_t alphabet[] = {0, 1, u'a', u'b', u'\\', 0xFFFF};
  std::mt19937_64 rng(seed);
  TextSortKeys keys;
  for (size_t i = 0; i < count; ++i) {
    const size_t length = rng() % 4 == 0 ? rng() % 3 : rng() % 14;
    std::u16string key;
    for (size_t k = 0; k < length; ++k) key.push_back(alphabet[rng() % std::size(alphabet)]);
    const size_t cut = rng() % (length + 1);
    AddKey(keys, std::u16string_view(key).substr(0, cut), std::u16string_view(key).substr(cut));
  }
  return keys;
}

TEST(TextKeySortTest, MatchesWholeKeyComparisonsOnOneThreadAndOnTwo) {
  for (const size_t count : {size_t{0}, size_t{1}, size_t{2}, size_t{31}, size_t{33}, size_t{1000}, size_t{20000}}) {
    const TextSortKeys keys = RandomKeys(count, count + 7);
    for (const bool ascending : {true, false}) {
      const PageVector<uint32_t> expected = ComparedOrder(keys, ascending);
      for (const unsigned threads : {1u, 2u}) {
        EXPECT_EQ(SortedTextOrder(keys, ascending, threads), expected)
            << count << " rows, ascending " << ascending << ", threads " << threads;
      }
    }
  }
}

// Keys as full paths give them: a folder's own row is the start of every row
// inside it, and nearly every row lies in one deep chain of folders, so the
// split between two threads has to go down the chain digit by digit, past
// rows whose keys end on a digit's edge or inside it, and past equal keys.
TEST(TextKeySortTest, PathLikeKeysSplitDownOneDeepFolder) {
  std::mt19937_64 rng(11);
  auto component = [&] {
    std::u16string text;
    for (size_t k = 1 + rng() % 6; k > 0; --k) text.push_back(u"abc_"[rng() % 4]);
    return text;
  };
  std::vector<std::u16string> folders = {u"c:"};
  for (int level = 0; level < 14; ++level) folders.push_back(folders.back() + u"\\" + component());
  TextSortKeys keys;
  for (size_t i = 0; i < 6000; ++i) {
    // Nine rows in ten lie in the three deepest folders.
    const size_t folder = rng() % 10 != 0 ? folders.size() - 1 - rng() % 3 : rng() % folders.size();
    const std::u16string path = rng() % 8 == 0 ? folders[folder] : folders[folder] + u"\\" + component();
    const size_t cut = path.rfind(u'\\') == std::u16string::npos ? path.size() : path.rfind(u'\\');
    AddKey(keys, std::u16string_view(path).substr(0, cut), std::u16string_view(path).substr(cut));
  }
  for (const bool ascending : {true, false}) {
    EXPECT_EQ(SortedTextOrder(keys, ascending, 2), ComparedOrder(keys, ascending)) << "ascending " << ascending;
  }
}

TEST(TextKeySortTest, LongSharedStartsAndEqualKeysFallToTheTies) {
  // Keys of hundreds of equal units, then one that differs, or none.
  TextSortKeys keys;
  const std::u16string common(300, u'x');
  for (uint32_t i = 0; i < 200; ++i) {
    AddKey(keys, common.substr(0, i), common.substr(i) + (i % 3 == 0 ? u"" : i % 3 == 1 ? u"a" : u"b"));
  }
  for (const bool ascending : {true, false}) {
    for (const unsigned threads : {1u, 2u})
      EXPECT_EQ(SortedTextOrder(keys, ascending, threads), ComparedOrder(keys, ascending));
  }
}

TEST(TextKeySortTest, PathAndNameSortsEqualComparingTheBuiltPaths) {
  TestEnv t;
  const VolumePtr e = NestedVolume(t.env);
  std::vector<MatchItem> inIndexOrder = AllRows(e), shuffled = inIndexOrder;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937_64(9));
  shuffled.push_back({e.get(), 100000});  // out of range: an empty key

  for (const auto& sortCase :
       {std::pair(kColumnName, shuffled), std::pair(kColumnPath, shuffled), std::pair(kColumnPath, inIndexOrder)}) {
    const int32_t column = sortCase.first;
    const std::vector<MatchItem>& rows = sortCase.second;
    auto text = [&](const MatchItem& row) -> std::u16string {
      if (row.recordIndex >= e->records.size()) return u"";
      std::shared_lock lock(e->recordsLock);
      const FileRecord& record = e->records[row.recordIndex];
      return column == kColumnName ? std::u16string(record.name, record.nameLength) : e->BuildPath(row.recordIndex);
    };
    for (const bool ascending : {true, false}) {
      std::vector<MatchItem> expected = rows;
      std::stable_sort(expected.begin(), expected.end(), [&](const MatchItem& a, const MatchItem& b) {
        const int r = CompareTextIgnoringAsciiCase(text(a), text(b));
        if (r != 0) return ascending ? r < 0 : r > 0;
        return a.recordIndex < b.recordIndex;
      });
      for (const unsigned threads : {1u, 2u}) {
        std::vector<MatchItem> sorted = rows;
        SortByText(sorted, column, ascending, VolumeOrder(sorted), threads);
        EXPECT_EQ(sorted, expected) << "column " << column << ", ascending " << ascending << ", threads " << threads;
      }
    }
  }
}

}  // namespace
}  // namespace quillmor
