// Every text the user sees is looked up here by key when it is shown:
// the built-in tables of ten languages, the active table of the current
// language (built by language switching from a built-in table and the user's
// files), and Translate, which never returns a blank for a missing key.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/env.h"

namespace quillmor {

// Lets tables be searched with a string_view without building a string.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>{}(text); }
};

// Key to text.
using StringTable = std::unordered_map<std::u16string, std::u16string, TextHash, std::equal_to<>>;

// The built-in language codes, in menu order: "zh-cn", "en-us", "de-de",
// "ja-jp", "fr-fr", "ko-kr", "es-es", "ru-ru", "no-no", "ar-sa".
std::span<const std::u16string_view> BuiltInLanguageCodes();

// Every key of the English table, in the order language templates list them.
std::span<const std::u16string_view> LocalisationKeys();

// Trims blanks and lower-cases; a bare two-letter built-in code ("DE")
// becomes the full one ("de-de"). Other codes ("pt-br") are kept.
std::u16string NormaliseLanguageCode(std::u16string_view code);

// The built-in table of a language; the English table for a code without one.
// Tables are built on first use and live until the process ends.
const StringTable& StringTableOf(std::u16string_view code);

// Builds the tables when they are not yet built, and makes Translate report
// missing keys to the timing log of `env`. Called once at start-up; `env`
// must outlive every later Translate.
void InitLocalisation(Env& env);

// The only source of user-visible text. Looks the key up (old dotted keys are
// mapped to their current names) in the active table, then in the English and
// the Chinese built-in tables. A key no table has is logged once per run and
// gives the caller's default: `zhDefault` when the current language counts as
// Chinese, else `enDefault`. Thread-safe: background tasks call it while the
// user-interface thread may install a new language.
std::u16string Translate(std::u16string_view key, std::u16string_view zhDefault, std::u16string_view enDefault);

// --- The current language, as language switching sets it ---

// Makes `table` the active table, `code` the current language code and
// `chinese` the Chinese flag, all three at once: a concurrent Translate sees
// either the old language or the new one, never a mixture. User-interface
// thread.
void InstallActiveLanguage(std::u16string code, std::shared_ptr<const StringTable> table, bool chinese);

// Changes only the Chinese flag (set from the system's user-interface
// language at start-up, before any language is installed).
void SetChineseLanguageFlag(bool chinese);

// The current language code; empty before a language is installed.
std::u16string CurrentLanguageCode();

// Whether the current language counts as Chinese.
bool IsChineseLanguage();

// The active table (empty before a language is installed). The pointer keeps
// the table alive however often the language changes meanwhile.
std::shared_ptr<const StringTable> ActiveStringTable();

// The Chinese flag for a language: the table's "LanguageIsChinese" text
// lower-cased is "1", "true" or "yes"; without that entry, whether the code
// starts with "zh".
bool CountsAsChinese(const StringTable& table, std::u16string_view code);

}  // namespace quillmor
