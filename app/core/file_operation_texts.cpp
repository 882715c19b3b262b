#include "app/core/file_operation_texts.h"

#include <string>

#include "settings/localisation.h"
#include "settings/translate_format.h"

namespace quillmor {

std::u16string ConfirmDeleteTitle() { return Translate(u"MsgTitle_ConfirmDelete", u"确认删除", u"Confirm Delete"); }

std::u16string ConfirmDeleteText(std::span<const std::u16string> paths) {
  if (paths.size() == 1) {
    return Translate(u"Msg_DeleteSingleConfirmPrefix", u"确定要永久删除此文件吗？\n\n",
                     u"Permanently delete this file?\n\n") +
           paths.front();
  }
  const std::string digits = std::to_string(paths.size());
  const std::u16string count(digits.begin(), digits.end());
  return Translate(u"Msg_DeleteMultiConfirmPrefix", u"确定要永久删除选中的 ", u"Permanently delete the selected ") +
         count + Translate(u"Msg_DeleteMultiConfirmSuffix", u" 个项目吗？", u" items?");
}

std::u16string DeleteFailedText(size_t failures) {
  return FormatTranslated(u"Msg_DeleteFailedCountFmt", u"有 %zu 个选中的项目删除失败。",
                          u"Failed to delete %zu selected items.", failures);
}

std::u16string RecycleFailedText() {
  return Translate(u"Msg_RecycleDeleteFailed", u"无法移到回收站，备用的删除方式也失败了。",
                   u"Could not move to the Recycle Bin. Fallback deletion also failed.");
}

std::u16string CopyFailedText() {
  return Translate(u"Msg_CopyClipboardFailed", u"复制到剪贴板失败。", u"Failed to copy to the clipboard.");
}

std::u16string RenameInvalidCharsText() {
  return Translate(u"Msg_RenameInvalidChars", u"名称包含无效字符，无法使用。",
                   u"The name contains invalid characters and cannot be used.");
}

std::u16string RenameFailedText(uint32_t errorCode) {
  return FormatTranslated(u"Msg_RenameFailedFormat", u"重命名失败。\n错误代码：%lu", u"Rename failed.\nError code: %lu",
                          errorCode);
}

}  // namespace quillmor
