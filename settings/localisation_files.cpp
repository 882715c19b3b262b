#include "settings/localisation_files.h"

#include <algorithm>

#include "platform/utf.h"
#include "settings/settings_file.h"

namespace quillmor {
namespace {

std::u16string DecodeLanguageFile(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) {
    bytes.remove_prefix(2);
    std::u16string text(bytes.size() / 2, u'\0');  // an odd last byte is dropped
    for (size_t i = 0; i < text.size(); ++i) {
      text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                      static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return text;
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return Utf8ToUtf16(bytes);
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

// Whether the lines are those of a template this program wrote, whose values
// are escaped.
bool IsEscapedTemplate(const std::vector<std::u16string>& lines) {
  return !lines.empty() && lines.front() == kLanguageTemplateFirstLine;
}

// A value as the file holds it, after its quotes are removed.
std::u16string ValueText(std::u16string_view value, bool escaped) {
  const std::u16string_view unquoted = UnquoteLanguageValue(value);
  return escaped ? DecodeLanguageValue(unquoted) : std::u16string(unquoted);
}

}  // namespace

bool ReadLanguageFileLines(FileSystem& files, std::u16string_view path, size_t bufferChars,
                           std::vector<std::u16string>& lines) {
  lines.clear();
  std::string bytes;
  if (!files.ReadFile(path, bytes, kMaxSettingsFileBytes)) return false;
  const std::u16string text = DecodeLanguageFile(bytes);

  // A reader with a buffer of bufferChars characters stops after a newline
  // or when the buffer is full; the rest of a long line is the next read.
  const size_t piece = bufferChars > 1 ? bufferChars - 1 : 1;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && end - pos < piece && text[end] != u'\n') ++end;
    if (end < text.size() && text[end] == u'\n' && end - pos < piece) ++end;
    const std::u16string_view line = TrimSettingsBlanks(std::u16string_view(text).substr(pos, end - pos));
    if (!line.empty()) lines.emplace_back(line);
    pos = end;
  }
  return true;
}

std::u16string_view UnquoteLanguageValue(std::u16string_view value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::u16string EncodeLanguageValue(std::u16string_view text) {
  std::u16string escaped;
  escaped.reserve(text.size() + 2);
  for (char16_t c : text) {
    if (c == u'\\') {
      escaped += u"\\\\";
    } else if (c == u'\n') {
      escaped += u"\\n";
    } else {
      escaped += c;
    }
  }
  const bool blankAtEnd = !escaped.empty() && (IsBlank(escaped.front()) || IsBlank(escaped.back()));
  if (blankAtEnd || UnquoteLanguageValue(escaped).size() != escaped.size()) return u'"' + escaped + u'"';
  return escaped;
}

std::u16string DecodeLanguageValue(std::u16string_view value) {
  std::u16string text;
  text.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == u'\\' && i + 1 < value.size() && (value[i + 1] == u'n' || value[i + 1] == u'\\')) {
      text += value[i + 1] == u'n' ? u'\n' : u'\\';
      ++i;
    } else {
      text += value[i];  // any other backslash is the user's own ("C:\temp")
    }
  }
  return text;
}

std::u16string ReadLanguageDisplayName(FileSystem& files, std::u16string_view path, std::u16string_view code) {
  std::vector<std::u16string> lines;
  if (ReadLanguageFileLines(files, path, kDisplayNameLineChars, lines)) {
    const bool escaped = IsEscapedTemplate(lines);
    for (const std::u16string& line : lines) {
      std::u16string_view key, value;
      if (line.starts_with(u'#') || !SplitSettingsKeyValue(line, key, value)) continue;
      if (!EqualsIgnoringAsciiCase(key, u"Name")) continue;
      const std::u16string name = ValueText(value, escaped);
      if (!name.empty()) return name;
    }
  }
  return std::u16string(code);
}

bool ReadLanguageOverrides(FileSystem& files, std::u16string_view path, StringTable& table) {
  std::vector<std::u16string> lines;
  if (!ReadLanguageFileLines(files, path, kOverrideLineChars, lines)) return false;
  const bool escaped = IsEscapedTemplate(lines);
  for (const std::u16string& line : lines) {
    std::u16string_view key, value;
    if (line.starts_with(u'#') || !SplitSettingsKeyValue(line, key, value) || key.empty()) continue;
    table.insert_or_assign(std::u16string(key), ValueText(value, escaped));
  }
  return true;
}

std::u16string LanguageTemplateText(const StringTable& table) {
  std::u16string text(kLanguageTemplateFirstLine);
  text += u'\n';
  auto append = [&text](std::u16string_view key, std::u16string_view value) {
    text += key;
    text += u'=';
    text += EncodeLanguageValue(value);
    text += u'\n';
  };
  for (std::u16string_view key : LocalisationKeys()) {
    if (const auto it = table.find(key); it != table.end()) append(key, it->second);
  }
  const std::span<const std::u16string_view> known = LocalisationKeys();
  std::vector<std::u16string_view> others;
  for (const auto& [key, value] : table) {
    if (std::find(known.begin(), known.end(), key) == known.end()) others.push_back(key);
  }
  std::sort(others.begin(), others.end());
  for (std::u16string_view key : others) append(key, table.find(key)->second);
  return text;
}

bool WriteLanguageTemplate(FileSystem& files, std::u16string_view path, const StringTable& table) {
  return WriteSettingsFile(files, path, LanguageTemplateText(table));
}

}  // namespace quillmor
