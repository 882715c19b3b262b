#include "search/custom_size.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "search/filter_state.h"
#include "settings/settings_file.h"

namespace quillmor {
namespace {

constexpr uint64_t kOneMB = 1'048'576;
constexpr uint64_t kHundredMB = 104'857'600;

// The value of one side in units, as wcstod reads it: optional blanks and
// sign, then the longest decimal number (digits, a point, an exponent) or
// "inf"/"infinity"/"nan". No number at all reads as 0.
double ReadLeadingNumber(std::u16string_view side) {
  size_t i = 0;
  while (i < side.size() && (side[i] == u'\t' || side[i] == u'\v' || side[i] == u'\f')) ++i;
  bool negative = false;
  if (i < side.size() && (side[i] == u'+' || side[i] == u'-')) negative = side[i++] == u'-';
  // Only ASCII can be part of a number; stop at the first other unit.
  std::string ascii;
  for (; i < side.size() && side[i] < 0x80; ++i) ascii.push_back(static_cast<char>(side[i]));
  double value = 0;
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (end == ascii.data()) return negative ? -0.0 : 0.0;  // no number
  if (error == std::errc::result_out_of_range) {
    // from_chars leaves the value alone here; strtod of the same (plainly
    // decimal) text gives HUGE_VAL for too large and 0 for too small, as
    // wcstod does.
    value = std::strtod(std::string(ascii.data(), static_cast<size_t>(end - ascii.data())).c_str(), nullptr);
  }
  return negative ? -value : value;
}

// Units times multiplier as a byte count, truncated; false for a side that
// makes the text invalid.
bool SideBytes(std::u16string_view side, uint64_t multiplier, int64_t& bytes) {
  const double units = ReadLeadingNumber(side);
  if (std::isnan(units) || units < 0) return false;
  const double value = units * static_cast<double>(multiplier);
  // 2^63 is exactly representable; anything from there on saturates.
  bytes = value >= 9223372036854775808.0 ? std::numeric_limits<int64_t>::max() : static_cast<int64_t>(value);
  return true;
}

std::u16string_view CutAtParenthesis(std::u16string_view side) {
  const size_t open = side.find(u'(');
  return TrimSettingsBlanks(open == std::u16string_view::npos ? side : side.substr(0, open));
}

}  // namespace

uint64_t SizeUnitMultiplier(int32_t unit) {
  switch (unit) {
    case kUnitBytes:
      return 1;
    case kUnitKB:
      return 1024;
    case kUnitGB:
      return 1'073'741'824;
    default:
      return kOneMB;
  }
}

CustomSizeRange ParseCustomSize(std::u16string_view text, int32_t unit) {
  std::u16string compact;
  for (char16_t c : TrimSettingsBlanks(text)) {
    if (c != u' ') compact.push_back(c);
  }
  CustomSizeRange range;
  const size_t dash = compact.find(u'-');
  if (compact.empty() || dash == std::u16string::npos) return range;
  const std::u16string_view left = CutAtParenthesis(std::u16string_view(compact).substr(0, dash));
  const std::u16string_view right = CutAtParenthesis(std::u16string_view(compact).substr(dash + 1));
  if (left.empty() && right.empty()) return range;

  const uint64_t multiplier = SizeUnitMultiplier(unit);
  if (!left.empty() && !SideBytes(left, multiplier, range.minimum)) return {};
  if (!right.empty() && !SideBytes(right, multiplier, range.maximum)) return {};
  if (range.minimum >= 0 && range.maximum >= 0 && range.minimum > range.maximum) return {};
  range.valid = true;
  return range;
}

bool PassesSizePreset(int32_t sizePreset, const CustomSizeRange& custom, uint64_t size) {
  switch (sizePreset) {
    case kSizeUnder1MB:
      return size < kOneMB;
    case kSize1To100MB:
      return size >= kOneMB && size <= kHundredMB;
    case kSizeOver100MB:
      return size > kHundredMB;
    case kSizeCustom:
      if (!custom.valid) return true;
      if (custom.minimum >= 0 && size < static_cast<uint64_t>(custom.minimum)) return false;
      if (custom.maximum >= 0 && size > static_cast<uint64_t>(custom.maximum)) return false;
      return true;
    default:
      return true;
  }
}

}  // namespace quillmor
