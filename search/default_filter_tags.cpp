#include "search/default_filter_tags.h"

#include <array>
#include <initializer_list>

#include "index/ascii_case.h"
#include "settings/localisation.h"
#include "settings/settings_file.h"

namespace quillmor {
namespace {

struct DefaultTag {
  std::u16string_view englishName;
  std::u16string_view chineseName;
  std::initializer_list<std::u16string_view> extensions;
};

const std::array<DefaultTag, kDefaultTagCount>& DefaultTags() {
  static const std::array<DefaultTag, kDefaultTagCount> tags{{
      {u"All Files", kChineseAllFilesName, {}},
      {u"Folders", u"文件夹", {u".dir"}},
      {u"Documents",
       u"文档",
       {u".doc", u".docx", u".pdf", u".txt", u".xls", u".xlsx", u".ppt", u".pptx", u".md", u".csv"}},
      {u"Images",
       u"图片",
       {u".jpg", u".jpeg", u".png", u".gif", u".bmp", u".webp", u".ico", u".svg", u".tif", u".psd"}},
      {u"Archives", u"压缩包", {u".zip", u".rar", u".7z", u".tar", u".gz", u".iso", u".cab"}},
      {u"Applications", u"应用程序", {u".exe", u".msi", u".bat", u".cmd", u".dll", u".sys", u".ps1"}},
      {u"Videos", u"视频", {u".mp4", u".mkv", u".avi", u".mov", u".wmv", u".flv", u".rmvb", u".m3u8"}},
      {u"Audio", u"音频", {u".mp3", u".wav", u".flac", u".aac", u".ogg", u".m4a"}},
  }};
  return tags;
}

std::vector<std::u16string> ExtensionsOf(const DefaultTag& tag) {
  return std::vector<std::u16string>(tag.extensions.begin(), tag.extensions.end());
}

std::u16string FilterKey(size_t index) { return u"Filter." + std::u16string(1, static_cast<char16_t>(u'0' + index)); }

// The non-empty text of `key` in `table`, or nothing.
const std::u16string* NonEmptyText(const StringTable& table, std::u16string_view key) {
  const auto it = table.find(key);
  return it != table.end() && !it->second.empty() ? &it->second : nullptr;
}

bool SameExtensionsIgnoringCase(const FilterTag& tag, const DefaultTag& builtIn) {
  if (tag.extensions.size() != builtIn.extensions.size()) return false;
  auto expected = builtIn.extensions.begin();
  for (const std::u16string& extension : tag.extensions) {
    if (!EqualIgnoringAsciiCase(extension, *expected++)) return false;
  }
  return true;
}

}  // namespace

FilterTagList BuildDefaultTags(bool chinese) {
  FilterTagList tags;
  tags.reserve(kDefaultTagCount);
  for (const DefaultTag& tag : DefaultTags()) {
    tags.push_back({std::u16string(chinese ? tag.chineseName : tag.englishName), ExtensionsOf(tag)});
  }
  return tags;
}

FilterTagList LocalisedDefaultTags() {
  const std::shared_ptr<const StringTable> active = ActiveStringTable();
  const bool chinese = IsChineseLanguage();
  FilterTagList tags;
  tags.reserve(kDefaultTagCount);
  for (size_t i = 0; i < kDefaultTagCount; ++i) {
    const DefaultTag& builtIn = DefaultTags()[i];
    const std::u16string_view builtInName = chinese ? builtIn.chineseName : builtIn.englishName;
    const std::u16string* text = NonEmptyText(*active, FilterKey(i));
    if (text == nullptr) text = NonEmptyText(*active, builtInName);
    std::u16string name = FilterFileSafeName(text != nullptr ? std::u16string_view(*text) : builtInName);
    if (name.empty()) name = builtInName;  // a translation of nothing but blanks
    tags.push_back({std::move(name), ExtensionsOf(builtIn)});
  }
  return tags;
}

bool EnsureFolderTag(FilterTagList& tags) {
  for (const FilterTag& tag : tags) {
    if (IsFolderTag(tag)) return false;
  }
  std::u16string name = FilterFileSafeName(Translate(u"Filter_Folders", u"文件夹", u"Folders"));
  if (name.empty()) name = IsChineseLanguage() ? u"文件夹" : u"Folders";
  FilterTag folder{std::move(name), {u".dir"}};
  tags.insert(tags.empty() ? tags.end() : tags.begin() + 1, std::move(folder));
  return true;
}

std::u16string TagDisplayName(size_t index, const FilterTag& tag) {
  const std::shared_ptr<const StringTable> active = ActiveStringTable();
  if (const std::u16string* text = NonEmptyText(*active, tag.name)) return *text;
  if (index < kDefaultTagCount && SameExtensionsIgnoringCase(tag, DefaultTags()[index])) {
    const DefaultTag& builtIn = DefaultTags()[index];
    std::u16string text = Translate(FilterKey(index), builtIn.chineseName, builtIn.englishName);
    if (!text.empty()) return text;
  }
  return tag.name;
}

std::u16string FilterFileSafeName(std::u16string_view name) {
  std::u16string safe(name);
  for (char16_t& c : safe) {
    if (c == u'\n' || c == u'=') c = u' ';
  }
  std::u16string_view trimmed = TrimSettingsBlanks(safe);
  while (!trimmed.empty() && trimmed.front() == u'#') trimmed = TrimSettingsBlanks(trimmed.substr(1));
  return std::u16string(trimmed);
}

}  // namespace quillmor
