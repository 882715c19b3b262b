#include "app/core/message_texts.h"

#include <algorithm>
#include <string>

#include "settings/localisation.h"
#include "settings/translate_format.h"

namespace quillmor {
namespace {

constexpr size_t kTitleBufferChars = 128;

std::u16string Decimal(uint64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string Decimal(int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// Cut to what a buffer of `capacity` units holds with its terminator, never
// between the two halves of a surrogate pair.
std::u16string CutToBuffer(std::u16string text, size_t capacity) {
  if (text.size() < capacity) return text;
  size_t length = capacity - 1;
  if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
  text.resize(length);
  return text;
}

// "Label:" + value reads "Label: value"; a value that brings its own space
// (or nothing) gets none.
void AppendAfterLabel(std::u16string& out, std::u16string_view value) {
  const bool labelEndsInColon = !out.empty() && out.back() == u':';
  if (labelEndsInColon && !value.empty() && value.front() != u' ') out += u' ';
  out += value;
}

}  // namespace

std::u16string SearchResultsTitle(int64_t lParam, uint64_t displayedCount) {
  const auto count = static_cast<int64_t>(std::min<uint64_t>(displayedCount, INT64_MAX));
  std::u16string title = lParam == kResultsPartial
                             ? FormatTranslated(u"Title_SearchPartialFmt", u"Quillmor - %lld+ 个结果...",
                                                u"Quillmor - %lld+ results...", count)
                             : FormatTranslated(u"Title_SearchFinalFmt", u"Quillmor - 找到 %lld 个结果",
                                                u"Quillmor - %lld results found", count);
  return CutToBuffer(std::move(title), kTitleBufferChars);
}

std::u16string SearchResultsStatus(const SearchStatusInput& input) {
  if (!input.hasSnapshot || input.resultCount == 0) return {};
  if (input.lParam == kResultsPartial) {
    return Translate(u"Status_SearchingShowingPrefix", u"正在搜索... 已显示 ", u"Searching... showing ") +
           Decimal(input.resultCount) + Translate(u"Status_SearchingShowingSuffix", u" 个结果", u" results");
  }
  if (input.selectedTag != 0) {
    return Translate(u"Status_FilterApplyingPrefix", u"筛选: ", u"Filter: ") + std::u16string(input.tagName) +
           Translate(u"Status_FilterApplyingSuffix", u" | 正在应用筛选...", u" | Applying filter...");
  }
  return Translate(u"Status_FilterHitsPrefix", u"筛选: ", u"Filter: ") + std::u16string(input.tagName) +
         Translate(u"Status_FilterHitsMid", u" | 命中: ", u" | Hits: ") + Decimal(input.resultCount);
}

std::u16string FilterResultsTitle(std::u16string_view tagName, uint64_t count) {
  std::u16string title = Translate(u"App_FilterTitlePrefix", u"Quillmor - 筛选：", u"Quillmor - Filter: ");
  AppendAfterLabel(title, tagName);
  AppendAfterLabel(title, Translate(u"App_FilterTitleHitsSeparator", u" | 命中：", u" | Hits: "));
  AppendAfterLabel(title, Decimal(count));
  return title;
}

std::u16string NonNtfsRefreshStatus(int64_t refreshed, int64_t failed) {
  if (refreshed < 1) {
    return Translate(u"Status_RefreshNonNtfsFailed", u"刷新非 NTFS 卷索引失败；详情请查看调试输出。",
                     u"Failed to refresh non-NTFS volume indexes; see debug output for details.");
  }
  std::u16string text = Translate(u"Status_RefreshNonNtfsPrefix", u"已刷新 ", u"Refreshed ") + Decimal(refreshed);
  if (failed != 0) {
    text += Translate(u"Status_RefreshNonNtfsFailedMid", u" 个非 NTFS 卷；失败 ", u" non-NTFS volumes; ");
    text += Decimal(failed);
    text += Translate(u"Status_RefreshNonNtfsFailedSuffix", u" 个；详情请查看调试输出。",
                      u" failed; see debug output for details.");
  } else {
    text += Translate(u"Status_RefreshNonNtfsSingleSuffix", u" 个非 NTFS 卷索引；详情请查看调试输出。",
                      u" non-NTFS volume indexes; see debug output for details.");
  }
  return text;
}

std::u16string_view TagNameFromCaption(std::u16string_view caption) { return caption.substr(0, caption.find(u"\r\n")); }

std::u16string_view CountFromCaption(std::u16string_view caption) {
  const size_t lineBreak = caption.find(u"\r\n");
  if (lineBreak == std::u16string_view::npos) return {};
  std::u16string_view count = caption.substr(lineBreak + 2);
  if (count.size() >= 2 && count.front() == u'(' && count.back() == u')') count = count.substr(1, count.size() - 2);
  return count;
}

}  // namespace quillmor
