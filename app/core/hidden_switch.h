// The command line's only switch: "-hidden" or "/hidden", in any case, starts
// the program hidden in the notification area (as autostart does).
#pragma once

#include <span>
#include <string_view>

#include "index/ascii_case.h"

namespace quillmor {

// `arguments` are those after the program's name, as CommandLineToArgvW
// splits them.
inline bool HasHiddenSwitch(std::span<const std::u16string_view> arguments) {
  for (const std::u16string_view argument : arguments) {
    if (EqualIgnoringAsciiCase(argument, u"-hidden") || EqualIgnoringAsciiCase(argument, u"/hidden")) return true;
  }
  return false;
}

// Only when the command line cannot be split: the raw text holds either
// switch, exactly as written.
inline bool RawTextHasHiddenSwitch(std::u16string_view commandLine) {
  return commandLine.find(u"-hidden") != std::u16string_view::npos ||
         commandLine.find(u"/hidden") != std::u16string_view::npos;
}

}  // namespace quillmor
