// The command line of quillmor-cli.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quillmor {

struct CliOptions {
  // --drive L:=DIR, in order.
  std::vector<std::pair<char16_t, std::u16string>> drives;
  // --scope all|desktop|L: ("all", "desktop" or a drive such as "E:").
  std::u16string scope = u"all";
  // --desktop PATH: the Desktop folder, as a path under an indexed drive.
  std::u16string desktop;
  bool initials = true;  // --initials on|off
  bool count = false;    // --count
  bool stats = false;    // --stats
  int repeat = 1;        // --repeat N
  std::u16string query;
};

// The usage text, for --help and errors.
const char* CliUsage();

// Parses the arguments after the program name. False with a one-line
// `error` on bad usage.
bool ParseCliOptions(const std::vector<std::string>& arguments, CliOptions& options, std::string& error);

}  // namespace quillmor
