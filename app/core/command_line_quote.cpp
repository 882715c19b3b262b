#include "app/core/command_line_quote.h"

namespace quillmor {

std::u16string QuoteArgument(std::u16string_view text) {
  if (text.find_first_of(u" \t\"") == std::u16string_view::npos) return std::u16string(text);
  std::u16string quoted = u"\"";
  size_t backslashes = 0;
  for (const char16_t c : text) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count only before a quote: there each stands for half of
    // the doubled run, and one more escapes the quote itself.
    quoted.append(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
    quoted += c;
    backslashes = 0;
  }
  quoted.append(2 * backslashes, u'\\');  // before the closing quote
  quoted += u'"';
  return quoted;
}

std::u16string BuildCommandLine(std::u16string_view executable, std::span<const std::u16string> arguments) {
  std::u16string line = QuoteArgument(executable);
  for (const std::u16string& argument : arguments) {
    line += u' ';
    line += QuoteArgument(argument);
  }
  return line;
}

}  // namespace quillmor
