#include "engine/content_zip_settings.h"

#include <mutex>
#include <shared_mutex>

#include "platform/utf.h"
#include "platform/win32_constants.h"
#include "settings/config_directory.h"
#include "settings/settings_file.h"

namespace quillmor {
namespace {

constexpr size_t kLineBufferChars = 2048;

std::shared_mutex g_listsLock;
ContentZipSettings g_lists;  // Guarded by g_listsLock.

constexpr std::u16string_view kExtsHeader =
    u"# Content search: extensions below are read as ZIP (Office Open XML / ODF).\n"
    u"# Sister file content_zip_inner_patterns.ini controls which inner entries are scanned.\n"
    u"# 与 content_zip_inner_patterns.ini 配套：后者决定 ZIP 内扫描哪些内嵌文件。\n"
    u"# Comma-separated; optional prefix exts=\n"
    u"# 内容搜索：以下扩展名将按 ZIP 解压，仅在 Office/ODF 相关内嵌 XML 中匹配关键字（可随时编辑本文件）。\n";

constexpr std::u16string_view kPatternsHeader =
    u"# ZIP internal paths (forward slashes). Multiple patterns per line: comma-separated.\n"
    u"# Wildcard * matches any substring. Example: *.xml matches every .xml entry in the archive.\n"
    u"# ZIP 包内路径（正斜杠）；一行多个规则请用英文逗号分隔；*.xml 表示匹配全部 XML。\n";

// The comma-separated tokens of a settings file's lines, trimmed, without
// comments, the optional prefix and empty tokens. False when the file
// cannot be read.
bool ReadTokens(FileSystem& files, std::u16string_view path, std::u16string_view prefix,
                std::vector<std::u16string>& tokens) {
  std::vector<std::u16string> lines;
  if (!ReadSettingsLines(files, path, kLineBufferChars, lines)) return false;
  for (const std::u16string& line : lines) {
    std::u16string_view rest = line;
    if (rest.starts_with(u'#')) continue;
    if (rest.starts_with(prefix)) rest = TrimSettingsBlanks(rest.substr(prefix.size()));
    for (;;) {
      const size_t comma = rest.find(u',');
      const std::u16string_view token = TrimSettingsBlanks(rest.substr(0, comma));
      if (!token.empty()) tokens.emplace_back(token);
      if (comma == std::u16string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
  }
  return true;
}

std::vector<std::u16string> ParseExtensions(const std::vector<std::u16string>& tokens) {
  std::vector<std::u16string> extensions;
  for (const std::u16string& token : tokens) {
    std::u16string ext = LowerAscii(token);
    if (ext.front() != u'.') ext.insert(ext.begin(), u'.');
    if (ext != u".") extensions.push_back(std::move(ext));
  }
  return extensions;
}

std::vector<std::string> ParsePatterns(const std::vector<std::u16string>& tokens) {
  std::vector<std::string> patterns;
  for (const std::u16string& token : tokens) {
    std::string pattern = Utf16ToUtf8(token);
    for (char& c : pattern) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
    if (!pattern.empty()) patterns.push_back(std::move(pattern));
  }
  return patterns;
}

std::u16string ExtsFileText(const std::vector<std::u16string>& extensions) {
  std::u16string text(kExtsHeader);
  text += u"exts=";
  for (size_t i = 0; i < extensions.size(); ++i) {
    if (i != 0) text += u',';
    text += extensions[i];
  }
  text += u'\n';
  return text;
}

std::u16string PatternsFileText(const std::vector<std::string>& patterns) {
  std::u16string text(kPatternsHeader);
  for (const std::string& pattern : patterns) {
    text += Utf8ToUtf16(pattern);
    text += u'\n';
  }
  return text;
}

bool IsExistingFile(FileSystem& files, std::u16string_view path) {
  const uint32_t attributes = files.GetFileAttributes(path);
  return attributes != win32::kInvalidFileAttributes && !(attributes & win32::kFileAttributeDirectory);
}

// Reads one of the two files into `list`: see LoadContentZipSettings.
template <typename List, typename Parse, typename Format>
void LoadList(Env& env, std::u16string_view name, std::u16string_view prefix, const List& defaults, List& list,
              Parse parse, Format format) {
  const std::u16string path = ConfigFilePath(env, name);
  if (!IsExistingFile(*env.files, path)) {
    list = defaults;
    WriteSettingsFile(*env.files, path, format(defaults));  // a file we cannot create is no error
    return;
  }
  std::vector<std::u16string> tokens;
  if (ReadTokens(*env.files, path, prefix, tokens)) list = parse(tokens);
}

}  // namespace

ContentZipSettings DefaultContentZipSettings() {
  return {
      {u".docx", u".pptx", u".xlsx", u".xlsm", u".docm", u".pptm", u".odt", u".ods", u".odp"},
      {"word/document.xml", "word/footnotes.xml", "word/endnotes.xml", "word/comments.xml", "word/header*.xml",
       "word/footer*.xml", "xl/sharedstrings.xml", "xl/worksheets/sheet*.xml", "xl/comments*.xml",
       "ppt/slides/slide*.xml", "ppt/notesslides/notesslide*.xml", "ppt/comments*.xml", "docprops/core.xml",
       "docprops/app.xml", "content.xml", "styles.xml", "*.xml"},
  };
}

void LoadContentZipSettings(Env& env) {
  const ContentZipSettings defaults = DefaultContentZipSettings();
  ContentZipSettings lists = CopyContentZipSettings();  // kept for a file that cannot be read
  LoadList(env, kContentZipExtsFile, u"exts=", defaults.extensions, lists.extensions, ParseExtensions, ExtsFileText);
  LoadList(env, kContentZipInnerPatternsFile, u"patterns=", defaults.innerPatterns, lists.innerPatterns, ParsePatterns,
           PatternsFileText);
  InstallContentZipSettings(std::move(lists));
}

void InstallContentZipSettings(ContentZipSettings settings) {
  std::unique_lock lock(g_listsLock);
  g_lists = std::move(settings);
}

ContentZipSettings CopyContentZipSettings() {
  std::shared_lock lock(g_listsLock);
  return g_lists;
}

bool HasZipExtension(std::u16string_view path, std::span<const std::u16string> extensions) {
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos) return false;
  const std::u16string extension = LowerAscii(path.substr(dot));
  for (const std::u16string& candidate : extensions) {
    if (candidate == extension) return true;
  }
  return false;
}

bool IsZipDocument(std::u16string_view path) {
  std::shared_lock lock(g_listsLock);
  return HasZipExtension(path, g_lists.extensions);
}

}  // namespace quillmor
