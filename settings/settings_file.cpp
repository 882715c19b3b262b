#include "settings/settings_file.h"

#include <limits>

#include "platform/utf.h"

namespace quillmor {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// The digits after blanks and a sign, as wcstoul and friends see them.
struct ParsedNumber {
  bool negative = false;
  bool overflow = false;  // beyond 64 bits
  uint64_t magnitude = 0;
};

ParsedNumber ParseDecimal(std::u16string_view s) {
  ParsedNumber n;
  size_t i = 0;
  // wcstol skips what iswspace accepts; these are the ones a settings line
  // can still hold after trimming.
  while (i < s.size() && (IsBlank(s[i]) || s[i] == u'\v' || s[i] == u'\f')) ++i;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) n.negative = s[i++] == u'-';
  for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
    const uint64_t digit = s[i] - u'0';
    if (n.magnitude > (std::numeric_limits<uint64_t>::max() - digit) / 10) {
      n.overflow = true;
    } else {
      n.magnitude = n.magnitude * 10 + digit;
    }
  }
  return n;
}

}  // namespace

std::u16string_view TrimSettingsBlanks(std::u16string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool ReadSettingsLines(FileSystem& files, std::u16string_view path, size_t bufferChars,
                       std::vector<std::u16string>& lines) {
  lines.clear();
  std::string bytes;
  if (!files.ReadFile(path, bytes, kMaxSettingsFileBytes)) return false;
  std::string_view utf8 = bytes;
  if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
  const std::u16string text = Utf8ToUtf16(utf8);

  // fgetws(buffer, bufferChars) stops after a newline or when bufferChars - 1
  // characters are read; the rest of a long line is the next read.
  const size_t piece = bufferChars > 1 ? bufferChars - 1 : 1;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && end - pos < piece && text[end] != u'\n') ++end;
    if (end < text.size() && text[end] == u'\n' && end - pos < piece) ++end;  // the newline belongs to this read
    const std::u16string_view line = TrimSettingsBlanks(std::u16string_view(text).substr(pos, end - pos));
    if (!line.empty()) lines.emplace_back(line);
    pos = end;
  }
  return true;
}

std::string TextModeUtf8(std::u16string_view text) {
  const std::string utf8 = Utf16ToUtf8(text);
  std::string bytes;
  bytes.reserve(utf8.size() + utf8.size() / 16);
  for (char c : utf8) {
    if (c == '\n') bytes.push_back('\r');
    bytes.push_back(c);
  }
  return bytes;
}

bool WriteSettingsFile(FileSystem& files, std::u16string_view path, std::u16string_view text) {
  return ReplaceFileContents(files, path, "\xEF\xBB\xBF" + TextModeUtf8(text));
}

bool ReplaceFileContents(FileSystem& files, std::u16string_view path, std::string_view bytes) {
  const std::u16string temporary = std::u16string(path) + u".tmp";
  if (files.WriteFile(temporary, bytes) && files.ReplaceFile(temporary, path)) return true;
  files.DeleteFile(temporary);
  return false;
}

bool SplitSettingsKeyValue(std::u16string_view line, std::u16string_view& key, std::u16string_view& value) {
  const size_t eq = line.find(u'=');
  if (eq == std::u16string_view::npos) return false;
  key = TrimSettingsBlanks(line.substr(0, eq));
  value = TrimSettingsBlanks(line.substr(eq + 1));
  return true;
}

int32_t ParseSettingsInt(std::u16string_view value) {
  const ParsedNumber n = ParseDecimal(value);
  constexpr uint64_t kMaxPositive = std::numeric_limits<int32_t>::max();
  if (n.negative) {
    if (n.overflow || n.magnitude > kMaxPositive + 1) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(-static_cast<int64_t>(n.magnitude));
  }
  if (n.overflow || n.magnitude > kMaxPositive) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(n.magnitude);
}

uint32_t ParseSettingsUnsigned(std::u16string_view value) {
  const ParsedNumber n = ParseDecimal(value);
  if (n.overflow || n.magnitude > std::numeric_limits<uint32_t>::max()) return std::numeric_limits<uint32_t>::max();
  const auto v = static_cast<uint32_t>(n.magnitude);
  return n.negative ? static_cast<uint32_t>(0u - v) : v;  // wcstoul negates in unsigned arithmetic
}

uint64_t ParseSettingsUnsigned64(std::u16string_view value) {
  const ParsedNumber n = ParseDecimal(value);
  if (n.overflow) return std::numeric_limits<uint64_t>::max();
  return n.negative ? 0 - n.magnitude : n.magnitude;
}

std::u16string LowerAscii(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return out;
}

bool ParseSettingsBool(std::u16string_view value) {
  const std::u16string lower = LowerAscii(value);
  return !(lower == u"0" || lower == u"false" || lower == u"off");
}

std::u16string JoinPath(std::u16string_view directory, std::u16string_view name) {
  std::u16string path(directory);
  path.push_back(u'\\');
  path.append(name);
  return path;
}

}  // namespace quillmor
