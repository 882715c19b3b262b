// Apply language: makes a language current and brings the filter tags in line
// with it. The Language menu calls ApplyLanguage on the user-interface thread.
// At start-up there is no tag list yet to bring in line: the entry point calls
// MakeLanguageCurrent (settings/language_switch.h) and then LoadFilterTags,
// which reads the language's filters file itself; no question is asked before
// the window exists.
#pragma once

#include <string>
#include <string_view>

#include "platform/env.h"
#include "search/filter_state.h"

namespace quillmor {

enum class FilterConflictAnswer {
  kYes,     // overwrite with the new language's defaults, for good
  kNo,      // keep the customised tags
  kCancel,  // the new defaults for this session only
};

// The question asked when the shared filters.ini was customised and the new
// language has no filters file of its own. The window asks it with a Yes/No/
// Cancel message box (question icon, owned by the main window); tests answer.
class FilterConflictQuestion {
 public:
  virtual ~FilterConflictQuestion() = default;
  virtual FilterConflictAnswer Ask(std::u16string_view title, std::u16string_view text) = 0;
};

// Brings the tag list in line with the current language:
// - the language's own filters file, when it reads, gives the tags;
// - else, when filters.ini does not read either, the language's defaults are
//   written to the language's file and become the tags;
// - else, when filters.ini holds exactly the language's defaults, nothing
//   changes;
// - else `question` decides: Yes writes the defaults to the language's file
//   and takes them, No takes filters.ini's tags, Cancel takes the defaults
//   without writing anything.
// Returns whether the tag list changed (the window then rebuilds its tag
// buttons and refreshes the filter bar).
bool ReconcileFilterTags(Env& env, FilterState& state, FilterConflictQuestion& question);

struct AppliedLanguage {
  std::u16string code;       // the code made current
  bool tagsChanged = false;  // the window must rebuild its tag buttons
};

// MakeLanguageCurrent, then ReconcileFilterTags. Afterwards the window (when
// it exists) sets its title to "App_TitleMain", clears the status line,
// refills the preset boxes (SizePresetTexts, TimePresetTexts), refreshes the
// filter bar and repaints.
AppliedLanguage ApplyLanguage(Env& env, std::u16string_view code, FilterState& state, FilterConflictQuestion& question);

}  // namespace quillmor
