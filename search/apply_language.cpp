#include "search/apply_language.h"

#include "search/default_filter_tags.h"
#include "search/filters_file.h"
#include "settings/config_directory.h"
#include "settings/language_switch.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

// Installs `tags` unless the list already equals them; returns whether it
// changed.
bool Install(FilterState& state, FilterTagList tags) {
  if (*state.Tags() == tags) return false;
  state.SetTags(std::move(tags));
  return true;
}

}  // namespace

bool ReconcileFilterTags(Env& env, FilterState& state, FilterConflictQuestion& question) {
  FilterTagList defaults = LocalisedDefaultTags();
  const std::u16string languageFile = FilterFilePath(env);

  FilterTagList tags;
  if (ReadFilterFile(*env.files, languageFile, tags) != FilterFileRead::kFailed) return Install(state, std::move(tags));
  if (ReadFilterFile(*env.files, ConfigFilePath(env, u"filters.ini"), tags) == FilterFileRead::kFailed) {
    WriteFilterFile(*env.files, languageFile, defaults);
    return Install(state, std::move(defaults));
  }
  if (tags == defaults) return false;

  const std::u16string title =
      Translate(u"MsgTitle_LanguageSwitchConflict", u"切换语言 - 筛选配置冲突", u"Language Switch - Filters Conflict");
  const std::u16string text = Translate(
      u"Msg_LanguageSwitchFilterConflict",
      u"您已自定义筛选标签（filters.ini）。切换语言时要如何处理？\n\n"
      u"是：用新语言的默认标签覆盖 filters.ini（永久）。\n"
      u"否：保留当前的自定义标签（推荐）。\n"
      u"取消：仅在本次运行期间使用新语言的默认标签。",
      u"You have customized filters (filters.ini). How would you like to handle it when switching language?\n\n"
      u"Yes: Overwrite filters.ini with language defaults (permanent).\n"
      u"No: Keep your current custom filters (recommended).\n"
      u"Cancel: Use language defaults temporarily for this session only.");
  switch (question.Ask(title, text)) {
    case FilterConflictAnswer::kYes:
      WriteFilterFile(*env.files, languageFile, defaults);
      return Install(state, std::move(defaults));
    case FilterConflictAnswer::kNo:
      return Install(state, std::move(tags));
    case FilterConflictAnswer::kCancel:
      return Install(state, std::move(defaults));
  }
  return false;
}

AppliedLanguage ApplyLanguage(Env& env, std::u16string_view code, FilterState& state,
                              FilterConflictQuestion& question) {
  AppliedLanguage applied;
  applied.code = MakeLanguageCurrent(env, code);
  applied.tagsChanged = ReconcileFilterTags(env, state, question);
  return applied;
}

}  // namespace quillmor
