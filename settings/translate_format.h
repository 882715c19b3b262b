// printf-style texts from the language tables, filled safely. A user's
// language file may replace any text, formats included; a replacement whose
// conversions differ from the default's (a "%s" where "%lld" is expected, an
// extra or missing conversion, "%n") would otherwise meet the wrong arguments.
// Here a translated format is used only when its conversions match the
// default's, and formatting never hands text to a C variadic function: the
// format is parsed here and each conversion is filled from a typed argument.
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace quillmor {

// One argument of a format: a signed or unsigned integer, or a string.
class FormatArg {
 public:
  template <std::integral T>
  requires(!std::same_as<T, bool>) FormatArg(T value) {  // NOLINT: implicit, so that calls read like printf's
    if constexpr (std::is_signed_v<T>) {
      value_ = static_cast<int64_t>(value);
    } else {
      value_ = static_cast<uint64_t>(value);
    }
  }
  FormatArg(std::u16string_view text) : value_(text) {}                                                  // NOLINT
  FormatArg(const std::u16string& text) : value_(std::u16string_view(text)) {}                           // NOLINT
  FormatArg(const char16_t* text) : value_(text ? std::u16string_view(text) : std::u16string_view()) {}  // NOLINT

  const std::variant<int64_t, uint64_t, std::u16string_view>& value() const { return value_; }

 private:
  std::variant<int64_t, uint64_t, std::u16string_view> value_;
};

// The conversions of a format in order, each as its length modifier and
// letter ("lld", "zu", "s"); "%%" is no conversion. False when the text is
// not a format that can be filled safely: a "%" at the end, an unknown
// conversion or length modifier, "%n", "%p", floating point, a "*" width or
// precision, a positional argument, or a width or precision above 1024.
bool FormatConversions(std::u16string_view format, std::vector<std::u16string>& conversions);

// Whether `candidate` may stand in for `reference`: both are safe formats and
// their conversions agree in number, order, letter and length modifier
// (flags, width and precision may differ).
bool SameFormatConversions(std::u16string_view candidate, std::u16string_view reference);

// Fills a safe format from `args`, as printf would for flags "-+ #0", width,
// precision and the conversions d i u x X o c s. A conversion without an
// argument, or with an argument of the other kind (a string for "%d"), gives
// nothing; surplus arguments are ignored. A format that is not safe comes
// back as it stands.
std::u16string FormatWithArgs(std::u16string_view format, std::span<const FormatArg> args);

// The localised format of `key`: the translated text when its conversions
// match `enDefault`'s, else the default text of the current language
// (`zhDefault` for Chinese when it matches, else `enDefault`).
std::u16string TranslatedFormat(std::u16string_view key, std::u16string_view zhDefault, std::u16string_view enDefault);

// TranslatedFormat filled with `args`, which must suit `enDefault`.
template <typename... Args>
std::u16string FormatTranslated(std::u16string_view key, std::u16string_view zhDefault, std::u16string_view enDefault,
                                const Args&... args) {
  const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
  return FormatWithArgs(TranslatedFormat(key, zhDefault, enDefault), list);
}

}  // namespace quillmor
