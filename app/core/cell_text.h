// The texts of the result list's cells, also shown by its tooltip, and of its
// column headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/clock.h"

namespace quillmor {

// "%lld B" below 1024 bytes, "%lld KB" (whole KB, rounded down) below 1 MB,
// "%.2f MB" below 1 GB, else "%.2f GB".
std::u16string SizeText(uint64_t bytes);

// A local time as "%04d-%02d-%02d %02d:%02d".
std::u16string LocalDateTimeText(const LocalTime& local);

// A FILETIME in the local time zone through `clock`; "-" for 0, and for a
// time the clock cannot convert.
std::u16string DateText(uint64_t fileTime, Clock& clock);

// The row-number column: the index + 1 with at least two digits ("01").
std::u16string RowNumberText(int64_t rowIndex);

// The size column: empty for a directory, "..." while the size is not loaded.
std::u16string SizeCellText(bool isDirectory, std::optional<uint64_t> size);
// The modified and created columns: "..." while the time is not loaded.
std::u16string DateCellText(std::optional<uint64_t> fileTime, Clock& clock);

// A column's localised header, with " ↑" or " ↓" when the list is sorted by
// it (ascending or descending). `sortColumn` -1 means unsorted; the
// row-number column never shows an arrow. Empty for a column out of range.
std::u16string HeaderText(int32_t column, int32_t sortColumn, bool ascending);

}  // namespace quillmor
