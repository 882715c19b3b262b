// The built-in texts of the user interface, one array of (key, text) pairs per
// language. English holds every key; each other language lays its own texts
// over a copy of the English table.
#pragma once

#include <span>
#include <string_view>

namespace quillmor {

struct LocalisedText {
  std::u16string_view key;
  std::u16string_view text;
};

// Every key, in the order the language templates list them.
std::span<const LocalisedText> EnglishTexts();

std::span<const LocalisedText> ChineseSimplifiedTexts();
std::span<const LocalisedText> GermanTexts();
std::span<const LocalisedText> JapaneseTexts();
std::span<const LocalisedText> FrenchTexts();
std::span<const LocalisedText> KoreanTexts();
std::span<const LocalisedText> SpanishTexts();
std::span<const LocalisedText> RussianTexts();
std::span<const LocalisedText> NorwegianTexts();
std::span<const LocalisedText> ArabicTexts();

}  // namespace quillmor
