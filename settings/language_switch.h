// Making a language current: the templates of the built-in languages, the
// active table from a built-in table and the user's files in the "lang"
// folder, the Chinese flag and language.ini. The filter tags follow the new
// language in search/apply_language.h, which calls this first.
#pragma once

#include <string>
#include <string_view>

#include "platform/env.h"

namespace quillmor {

// Writes "<code>.ini" into the "lang" folder (creating the folder) for every
// built-in language whose file does not exist, with every text of its built-in
// table. Existing files are never touched. Failures are skipped.
void WriteMissingLanguageTemplates(Env& env);

// Makes `code` the current language (steps in order): writes the missing
// templates; normalises the code (a code that could not name a file, such as
// one with a path separator, becomes "en-us"); builds the active table from the
// code's built-in table (English for a code without one) with "<code>.ini",
// "<code>.user.ini" and "custom.ini" laid over it, later files winning; decides
// the Chinese flag; installs all three at once; and writes language.ini.
// Returns the code made current. User-interface thread.
std::u16string MakeLanguageCurrent(Env& env, std::u16string_view code);

// The language to apply at start-up: the saved one, else "zh-cn" when the
// system's user-interface language is Chinese, else "en-us".
std::u16string StartupLanguageCode(Env& env, bool systemLanguageIsChinese);

}  // namespace quillmor
