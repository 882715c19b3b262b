#include "app/core/cell_text.h"

#include <cstdio>
#include <string_view>

#include "settings/localisation.h"
#include "settings/window_settings.h"

namespace quillmor {
namespace {

constexpr uint64_t kKB = 1024;
constexpr uint64_t kMB = 1024 * kKB;
constexpr uint64_t kGB = 1024 * kMB;

// printf's output is ASCII here; widen it unit by unit.
std::u16string Widen(const char* text, int length) {
  std::u16string out;
  for (int i = 0; i < length && text[i] != 0; ++i) out.push_back(static_cast<char16_t>(text[i]));
  return out;
}

template <typename... Args>
std::u16string Printf(const char* format, Args... args) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, format, args...);
  if (n < 0) return {};
  return Widen(buffer, n < static_cast<int>(sizeof buffer) ? n : static_cast<int>(sizeof buffer) - 1);
}

}  // namespace

std::u16string SizeText(uint64_t bytes) {
  if (bytes < kKB) return Printf("%lld B", static_cast<long long>(bytes));
  if (bytes < kMB) return Printf("%lld KB", static_cast<long long>(bytes / kKB));
  if (bytes < kGB) return Printf("%.2f MB", static_cast<double>(bytes) / static_cast<double>(kMB));
  return Printf("%.2f GB", static_cast<double>(bytes) / static_cast<double>(kGB));
}

std::u16string LocalDateTimeText(const LocalTime& local) {
  return Printf("%04d-%02d-%02d %02d:%02d", local.year, local.month, local.day, local.hour, local.minute);
}

std::u16string DateText(uint64_t fileTime, Clock& clock) {
  LocalTime local;
  if (fileTime == 0 || !clock.FileTimeToLocal(fileTime, local)) return u"-";
  return LocalDateTimeText(local);
}

std::u16string RowNumberText(int64_t rowIndex) { return Printf("%02lld", static_cast<long long>(rowIndex) + 1); }

std::u16string SizeCellText(bool isDirectory, std::optional<uint64_t> size) {
  if (isDirectory) return {};
  return size ? SizeText(*size) : u"...";
}

std::u16string DateCellText(std::optional<uint64_t> fileTime, Clock& clock) {
  return fileTime ? DateText(*fileTime, clock) : u"...";
}

std::u16string HeaderText(int32_t column, int32_t sortColumn, bool ascending) {
  struct Header {
    std::u16string_view key, zh, en;
  };
  static constexpr Header kHeaders[kResultColumnCount] = {
      {u"Header_RowNumber", u"#", u"#"},
      {u"Header_Name", u"名称", u"Name"},
      {u"Header_Size", u"大小", u"Size"},
      {u"Header_Modified", u"修改时间", u"Modified"},
      {u"Header_Created", u"创建时间", u"Created"},
      {u"Header_Path", u"路径", u"Path"},
  };
  if (column < 0 || column >= kResultColumnCount) return {};
  const Header& h = kHeaders[column];
  std::u16string text = Translate(h.key, h.zh, h.en);
  if (column != kColumnRowNumber && column == sortColumn) text += ascending ? u" \u2191" : u" \u2193";
  return text;
}

}  // namespace quillmor
