#include "engine/sort_order.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <thread>

#include "engine/folded_path_writer.h"
#include "engine/text_key_sort.h"
#include "engine/volume_runs.h"
#include "index/name_pool.h"

namespace quillmor {
namespace {

// One row and its key for an attribute sort. The key is the column's value
// made comparable as an unsigned number (sizes compare as signed 64-bit
// values, times as FILETIMEs, which CompareFileTime treats as unsigned).
struct AttrElement {
  MatchItem row;
  uint32_t rank = 0;
  uint8_t isDirectory = 0;
  uint8_t known = 0;
  uint64_t key = 0;
};

template <typename Element>
bool TieLess(const Element& a, const Element& b) {
  if (a.rank != b.rank) return a.rank < b.rank;
  return a.row.recordIndex < b.row.recordIndex;
}

uint64_t AttributeKey(int32_t column, const AttrEntry& entry) {
  constexpr uint64_t kSignBit = uint64_t{1} << 63;
  switch (column) {
    case kColumnSize:
      return entry.size ^ kSignBit;  // signed order as unsigned
    case kColumnModified:
      return entry.lastWriteTime;
    default:
      return entry.creationTime;
  }
}

struct AttrLess {
  bool sizeColumn;
  bool ascending;
  bool knownFirst;
  bool operator()(const AttrElement& a, const AttrElement& b) const {
    // By size, directories come before every file ascending, after them
    // descending.
    if (sizeColumn && a.isDirectory != b.isDirectory) {
      return ascending ? a.isDirectory > b.isDirectory : a.isDirectory < b.isDirectory;
    }
    // The order shown while attributes are read: known rows first either way.
    if (knownFirst && a.known != b.known) return a.known > b.known;
    if (a.key != b.key) return ascending ? a.key < b.key : a.key > b.key;
    return TieLess(a, b);
  }
};

}  // namespace

VolumeOrder::VolumeOrder(std::span<const MatchItem> rows) {
  std::vector<const VolumeIndex*> volumes;
  for (const MatchItem& row : rows) {
    if (row.volume != nullptr && (volumes.empty() || volumes.back() != row.volume)) volumes.push_back(row.volume);
  }
  std::sort(volumes.begin(), volumes.end());
  volumes.erase(std::unique(volumes.begin(), volumes.end()), volumes.end());

  std::vector<const VolumeIndex*> byDrive = volumes;
  // `drive` is written only by a build that gives a volume its first drive,
  // never changed afterwards, so it is read here without a lock.
  std::sort(byDrive.begin(), byDrive.end(), [](const VolumeIndex* a, const VolumeIndex* b) {
    if (a->drive != b->drive) return a->drive < b->drive;
    return std::less<const VolumeIndex*>()(a, b);
  });
  for (uint32_t i = 0; i < byDrive.size(); ++i) ranks_.emplace_back(byDrive[i], i + 1);
  std::sort(ranks_.begin(), ranks_.end());
}

uint32_t VolumeOrder::Rank(const VolumeIndex* volume) const {
  const auto it = std::lower_bound(ranks_.begin(), ranks_.end(), std::pair<const VolumeIndex*, uint32_t>(volume, 0));
  return it != ranks_.end() && it->first == volume ? it->second : 0;
}

int CompareTextIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const char16_t x = FoldAsciiCase(a[i]), y = FoldAsciiCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

void SortByAttribute(std::vector<MatchItem>& rows, int32_t column, bool ascending, bool knownFirst,
                     const VolumeOrder& order) {
  std::vector<AttrElement> elements(rows.size());
  std::vector<uint64_t> fileRefs;
  std::vector<uint8_t> inRange;
  ForEachVolumeRun(rows, [&](VolumeIndex* volume, size_t begin, size_t end) {
    const uint32_t rank = order.Rank(volume);
    for (size_t i = begin; i < end; ++i) {
      elements[i].row = rows[i];
      elements[i].rank = rank;
      elements[i].key = AttributeKey(column, AttrEntry{});
    }
    if (volume == nullptr) return;
    fileRefs.assign(end - begin, 0);
    inRange.assign(end - begin, 0);
    {
      std::shared_lock records(volume->recordsLock);
      for (size_t i = begin; i < end; ++i) {
        const uint32_t index = rows[i].recordIndex;
        if (index >= volume->records.size()) continue;
        const FileRecord& record = volume->records[index];
        fileRefs[i - begin] = record.fileRef;
        inRange[i - begin] = 1;
        elements[i].isDirectory = record.isDirectory != 0 ? 1 : 0;
      }
    }
    std::shared_lock attrs(volume->attrsLock);
    for (size_t i = begin; i < end; ++i) {
      AttrElement& element = elements[i];
      if (element.isDirectory) {
        element.known = 1;  // directories sort with zeros, no lookup
        continue;
      }
      if (!inRange[i - begin]) continue;
      const auto it = volume->attrs.find(fileRefs[i - begin]);
      if (it == volume->attrs.end()) continue;
      element.known = it->second.known;
      element.key = AttributeKey(column, it->second);
    }
  });

  std::sort(elements.begin(), elements.end(), AttrLess{column == kColumnSize, ascending, knownFirst});
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = elements[i].row;
}

void SortByText(std::vector<MatchItem>& rows, int32_t column, bool ascending, const VolumeOrder& order) {
  SortByText(rows, column, ascending, order, TextSortThreads(rows.size(), std::thread::hardware_concurrency()));
}

unsigned TextSortThreads(size_t rows, unsigned hardwareThreads) {
  // Fewer rows sort on one thread: a second one costs more than it saves.
  constexpr size_t kParallelRows = size_t{1} << 16;
  return rows >= kParallelRows && hardwareThreads >= 2 ? 2 : 1;
}

void SortByText(std::vector<MatchItem>& rows, int32_t column, bool ascending, const VolumeOrder& order,
                unsigned threads) {
  const bool byName = column == kColumnName, byPath = column == kColumnPath;
  // Rows in tie-break order first, so that the key sort, which keeps the
  // order of equal keys, ends in it. Results usually come in that order.
  auto tieLess = [&order](const MatchItem& a, const MatchItem& b) {
    const uint32_t x = order.Rank(a.volume), y = order.Rank(b.volume);
    return x != y ? x < y : a.recordIndex < b.recordIndex;
  };
  bool inTieOrder = true;
  for (size_t i = 1; i < rows.size() && inTieOrder; ++i) {
    inTieOrder = rows[i - 1].volume == rows[i].volume ? rows[i - 1].recordIndex <= rows[i].recordIndex
                                                      : !tieLess(rows[i], rows[i - 1]);
  }
  if (!inTieOrder) std::sort(rows.begin(), rows.end(), tieLess);

  TextSortKeys keys;
  keys.keys.resize(rows.size());
  // Every key, folded once here and copied out of the name pool, so that the
  // sort holds no lock and a rebuild cannot free a name under it.
  keys.units.reserve(byName || byPath ? rows.size() * 24 : 0);
  FoldedPathWriter paths;
  ForEachVolumeRun(rows, [&](VolumeIndex* volume, size_t begin, size_t end) {
    if (volume == nullptr || (!byName && !byPath)) return;
    std::shared_lock records(volume->recordsLock);
    paths.Reset();  // the records may have changed since the last stretch
    for (size_t i = begin; i < end; ++i) {
      const uint32_t index = rows[i].recordIndex;
      if (index >= volume->records.size()) continue;  // an empty key
      if (byPath) {
        keys.keys[i] = paths.Append(*volume, index, keys.units);
        continue;
      }
      const FileRecord& record = volume->records[index];
      keys.keys[i].tail = keys.units.size();
      keys.keys[i].tailLength = record.nameLength;
      keys.units.insert(keys.units.end(), record.lowerName(), record.lowerName() + record.nameLength);
    }
  });
  PageVector<uint32_t> sorted = SortedTextOrder(keys, ascending, threads);
  keys = TextSortKeys{};

  // rows[i] becomes rows[sorted[i]], one cycle of the permutation at a time,
  // without a second copy of the rows.
  constexpr uint32_t kPlaced = UINT32_MAX;
  for (size_t start = 0; start < sorted.size(); ++start) {
    if (sorted[start] == kPlaced || sorted[start] == start) continue;
    const MatchItem first = rows[start];
    size_t at = start;
    for (;;) {
      const size_t from = sorted[at];
      sorted[at] = kPlaced;
      if (from == start) {
        rows[at] = first;
        break;
      }
      rows[at] = rows[from];
      at = from;
    }
  }
}

}  // namespace quillmor
