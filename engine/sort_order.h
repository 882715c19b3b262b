// The orders of the result list's columns: the sort keys gathered once per
// row, and the comparisons, which end in a fixed (volume, record index)
// tie-break so that every order is total.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/match_item.h"

namespace quillmor {

// The result list's columns.
inline constexpr int32_t kColumnRowNumber = 0;  // not sortable
inline constexpr int32_t kColumnName = 1;
inline constexpr int32_t kColumnSize = 2;
inline constexpr int32_t kColumnModified = 3;
inline constexpr int32_t kColumnCreated = 4;
inline constexpr int32_t kColumnPath = 5;

// Size, modified and created sort by cached attributes; the other columns by
// text (a column without text sorts by the tie-break alone).
constexpr bool IsAttributeColumn(int32_t column) { return column >= kColumnSize && column <= kColumnCreated; }

// The volume order of the tie-break: by drive (UTF-16 units as unsigned
// numbers), and volumes of the same drive (an old volume the set has dropped
// beside its successor) by address. Fixed for the whole of one sort.
class VolumeOrder {
 public:
  explicit VolumeOrder(std::span<const MatchItem> rows);
  // The volume's position in the order; 0 for a volume the rows did not name.
  uint32_t Rank(const VolumeIndex* volume) const;

 private:
  std::vector<std::pair<const VolumeIndex*, uint32_t>> ranks_;  // by address
};

// _wcsicmp in the "C" locale: 'A'..'Z' compare as 'a'..'z', everything else
// as unsigned units; a text that ends first is smaller. <0, 0 or >0.
int CompareTextIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// Reorders `rows` by size, modified or created time, read from the cache
// under each volume's shared locks (never both at once, no hit counting).
// Directories count as known with size and times 0; for the size column they
// come before all files ascending and after them descending. With
// `knownFirst`, rows with known attributes come first in either direction
// (the order shown while the missing ones are read). A row whose index is out
// of range sorts as an unknown file with zeros.
void SortByAttribute(std::vector<MatchItem>& rows, int32_t column, bool ascending, bool knownFirst,
                     const VolumeOrder& order);

// Reorders `rows` by name (column 1), full path (column 5) or, for any other
// column, by the tie-break alone, comparing as CompareTextIgnoringAsciiCase.
// Uses TextSortThreads threads.
void SortByText(std::vector<MatchItem>& rows, int32_t column, bool ascending, const VolumeOrder& order);
// The same on `threads` threads (1 or 2); the order does not depend on it.
void SortByText(std::vector<MatchItem>& rows, int32_t column, bool ascending, const VolumeOrder& order,
                unsigned threads);
// Two threads for a large sort on a machine with two or more.
unsigned TextSortThreads(size_t rows, unsigned hardwareThreads);

}  // namespace quillmor
