// Windows command lines built so that the child's CommandLineToArgvW (and the
// C runtime's argv) splits them back into exactly the arguments given.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quillmor {

// An argument ready for a command line. Text without a space, tab or double
// quote is returned as it is (an empty text too, so it contributes nothing);
// anything else is enclosed in double quotes, each quote inside escaped with
// a backslash and the backslashes before a quote (or before the closing one)
// doubled, since only those have to be escaped.
std::u16string QuoteArgument(std::u16string_view text);

// The executable and each argument through QuoteArgument, joined by single
// spaces: what CreateProcessW takes as its command line.
std::u16string BuildCommandLine(std::u16string_view executable, std::span<const std::u16string> arguments);

}  // namespace quillmor
