#include "search/filters_file.h"

#include <vector>

#include "index/name_pool.h"
#include "search/default_filter_tags.h"
#include "settings/config_directory.h"
#include "settings/localisation.h"
#include "settings/localisation_files.h"
#include "settings/localisation_languages.h"
#include "settings/settings_file.h"

namespace quillmor {
namespace {

std::vector<std::u16string> ParseExtensions(std::u16string_view value) {
  std::vector<std::u16string> extensions;
  size_t start = 0;
  while (start <= value.size()) {
    size_t end = value.find(u',', start);
    if (end == std::u16string_view::npos) end = value.size();
    const std::u16string_view piece = TrimSettingsBlanks(value.substr(start, end - start));
    if (!piece.empty()) {
      std::u16string extension;
      extension.reserve(piece.size() + 1);
      if (piece.front() != u'.') extension.push_back(u'.');
      for (char16_t c : piece) extension.push_back(FoldAsciiCase(c));
      extensions.push_back(std::move(extension));
    }
    start = end + 1;
  }
  return extensions;
}

// CopyFileW(from, to, overwrite allowed), through a temporary file so that a
// failed copy never leaves a half-written backup.
void CopyOver(FileSystem& files, std::u16string_view from, std::u16string_view to) {
  std::string bytes;
  if (files.ReadFile(from, bytes, kMaxSettingsFileBytes)) ReplaceFileContents(files, to, bytes);
}

// The tags of a file that read: Chinese defaults under a language that is not
// Chinese give way to the English defaults; otherwise the folder tag is made
// sure of. The file is rewritten when that changed it, unless it was cut at
// kMaxFilterTags (rewriting would lose the rest); then it is copied to the
// backup.
void InstallRead(Env& env, FilterState& state, std::u16string_view path, FilterTagList tags, FilterFileRead read,
                 std::u16string_view backup) {
  if (!IsChineseLanguage() && tags.front().name == kChineseAllFilesName) {
    tags = BuildDefaultTags(false);
    WriteFilterFile(*env.files, path, tags);
  } else if (EnsureFolderTag(tags) && read == FilterFileRead::kRead) {
    WriteFilterFile(*env.files, path, tags);
  }
  state.SetTags(std::move(tags));
  CopyOver(*env.files, path, backup);
}

}  // namespace

std::u16string FilterFilePath(Env& env) {
  const std::u16string code = CurrentLanguageCode();
  if (code.empty() || !IsUsableLanguageCode(code)) return ConfigFilePath(env, u"filters.ini");
  std::u16string name = u"filters." + LowerAscii(code) + u".ini";
  for (char16_t& c : name) {
    if (c == u' ') c = u'_';
  }
  return ConfigFilePath(env, name);
}

FilterFileRead ReadFilterFile(FileSystem& files, std::u16string_view path, FilterTagList& tags) {
  std::vector<std::u16string> lines;
  if (!ReadLanguageFileLines(files, path, kFilterLineChars, lines)) return FilterFileRead::kFailed;
  FilterTagList read;
  bool truncated = false;
  for (const std::u16string& line : lines) {
    std::u16string_view name, value;
    if (line.starts_with(u'#') || !SplitSettingsKeyValue(line, name, value) || name.empty()) continue;
    if (read.size() == kMaxFilterTags) {
      truncated = true;
      break;
    }
    read.push_back({std::u16string(name), ParseExtensions(value)});
  }
  if (read.empty()) return FilterFileRead::kFailed;
  tags = std::move(read);
  return truncated ? FilterFileRead::kTruncated : FilterFileRead::kRead;
}

bool WriteFilterFile(FileSystem& files, std::u16string_view path, const FilterTagList& tags) {
  std::u16string text;
  for (const FilterTag& tag : tags) {
    text += FilterFileSafeName(tag.name);
    text += u'=';
    for (size_t i = 0; i < tag.extensions.size(); ++i) {
      if (i > 0) text += u',';
      text += tag.extensions[i];
    }
    text += u'\n';
  }
  return WriteSettingsFile(files, path, text);
}

void LoadFilterTags(Env& env, FilterState& state) {
  const std::u16string ini = ConfigFilePath(env, u"filters.ini");
  const std::u16string backup = ConfigFilePath(env, u"filters.bak");
  const std::u16string lang = FilterFilePath(env);

  FilterTagList tags;
  if (const FilterFileRead read = ReadFilterFile(*env.files, lang, tags); read != FilterFileRead::kFailed) {
    InstallRead(env, state, lang, std::move(tags), read, backup);
    return;
  }
  if (const FilterFileRead read = ReadFilterFile(*env.files, ini, tags); read != FilterFileRead::kFailed) {
    InstallRead(env, state, ini, std::move(tags), read, backup);
    return;
  }
  if (ReadFilterFile(*env.files, backup, tags) != FilterFileRead::kFailed) {
    EnsureFolderTag(tags);
  } else {
    tags = BuildDefaultTags(IsChineseLanguage());
  }
  WriteFilterFile(*env.files, lang, tags);
  state.SetTags(std::move(tags));
}

void ResetFilterTags(Env& env, FilterState& state) {
  FilterTagList tags = BuildDefaultTags(IsChineseLanguage());
  WriteFilterFile(*env.files, FilterFilePath(env), tags);
  state.SetTags(std::move(tags));
}

}  // namespace quillmor
