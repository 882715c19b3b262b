// The languages the Language menu offers and the language the user chose
// last time ("lang" in language.ini).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"

namespace quillmor {

struct AvailableLanguage {
  std::u16string code;
  std::u16string displayName;
};

// The "lang" folder of the configuration directory. Not created here.
std::u16string LanguageFolderPath(Env& env);

// Rebuilds the list: the ten built-in languages (named by their own tables),
// then each language the "lang" folder has a "<code>.ini" file for, by code.
// Creates the folder when it is missing. User-interface thread.
void LoadAvailableLanguages(Env& env);

// The list LoadAvailableLanguages built last.
std::vector<AvailableLanguage> AvailableLanguages();

// The value of "lang" in language.ini; empty when the file or the line is
// missing, or when the value could not be a language file's name (it names
// files the program reads and writes).
std::u16string ReadSavedLanguage(Env& env);

// Whether `code` can name language and filters files: not empty, at most 64
// characters, no path separators, drive colons, wildcards, quotes or control
// characters, and not "." or "..".
bool IsUsableLanguageCode(std::u16string_view code);

}  // namespace quillmor
