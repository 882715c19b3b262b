// The size presets and the custom size range the user types ("1-100", "-5",
// "0.5-", each side in the chosen unit).
#pragma once

#include <cstdint>
#include <string_view>

namespace quillmor {

// Bytes per unit: 0 B, 1 KB, 2 MB, 3 GB; any other value counts as MB.
uint64_t SizeUnitMultiplier(int32_t unit);

struct CustomSizeRange {
  bool valid = false;
  int64_t minimum = -1;  // bytes; -1 when the left side is empty
  int64_t maximum = -1;  // bytes; -1 when the right side is empty
};

// Reads "<min>-<max>": spaces are removed, the text is split at its first '-',
// and each side is cut at its first '(' (so "1(MB)" reads as 1). A side is
// read as a decimal number as wcstod reads it (the leading number, 0 when there
// is none) times the unit's bytes, truncated; sizes past 2^63 - 1 saturate.
// Invalid: no '-', both sides empty, a negative side, a side that is not a
// number ("nan"), or minimum above maximum.
CustomSizeRange ParseCustomSize(std::u16string_view text, int32_t unit);

// The size test of a preset (kSizeAll and unknown values pass everything; an
// invalid custom range does not restrict).
bool PassesSizePreset(int32_t sizePreset, const CustomSizeRange& custom, uint64_t size);

}  // namespace quillmor
