#include "tools/cli_options.h"

#include <cstdlib>

#include "platform/utf.h"

namespace quillmor {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char16_t UpperLetter(char c) { return static_cast<char16_t>(c >= 'a' ? c - 32 : c); }

}  // namespace

const char* CliUsage() {
  return "usage: quillmor-cli [options] [--] QUERY\n"
         "  --drive L:=DIR        index the directory DIR as drive L: (repeatable)\n"
         "  --scope all|desktop|L:  where to search (default all)\n"
         "  --desktop PATH        the Desktop folder, as a path under an indexed drive\n"
         "  --initials on|off     initial-letter search for Chinese names (default on)\n"
         "  --count               print only the number of hits\n"
         "  --stats               print index_ms, records, search_ms and hits to standard error\n"
         "  --repeat N            run the search N times; search_ms is the median\n";
}

bool ParseCliOptions(const std::vector<std::string>& arguments, CliOptions& options, std::string& error) {
  bool haveQuery = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    const auto value = [&](std::string& out) {
      if (i + 1 >= arguments.size()) {
        error = arg + " needs a value";
        return false;
      }
      out = arguments[++i];
      return true;
    };
    std::string v;
    if (arg == "--") {
      if (i + 1 < arguments.size()) {
        if (haveQuery || i + 2 < arguments.size()) {
          error = "only one query is allowed";
          return false;
        }
        options.query = Utf8ToUtf16(arguments[i + 1]);
        haveQuery = true;
      }
      break;
    } else if (arg == "--drive") {
      if (!value(v)) return false;
      // L:=DIR
      if (v.size() < 4 || !IsDriveLetter(v[0]) || v[1] != ':' || v[2] != '=') {
        error = "--drive wants L:=DIR, got " + v;
        return false;
      }
      options.drives.emplace_back(UpperLetter(v[0]), Utf8ToUtf16(v.substr(3)));
    } else if (arg == "--scope") {
      if (!value(v)) return false;
      if (v == "all" || v == "desktop") {
        options.scope = Utf8ToUtf16(v);
      } else if (v.size() == 2 && IsDriveLetter(v[0]) && v[1] == ':') {
        options.scope = {UpperLetter(v[0]), u':'};
      } else {
        error = "--scope wants all, desktop or a drive such as E:, got " + v;
        return false;
      }
    } else if (arg == "--desktop") {
      if (!value(v)) return false;
      options.desktop = Utf8ToUtf16(v);
    } else if (arg == "--initials") {
      if (!value(v)) return false;
      if (v != "on" && v != "off") {
        error = "--initials wants on or off, got " + v;
        return false;
      }
      options.initials = v == "on";
    } else if (arg == "--count") {
      options.count = true;
    } else if (arg == "--stats") {
      options.stats = true;
    } else if (arg == "--repeat") {
      if (!value(v)) return false;
      char* end = nullptr;
      const long n = std::strtol(v.c_str(), &end, 10);
      if (v.empty() || *end != '\0' || n < 1 || n > 100000) {
        error = "--repeat wants a number from 1 to 100000, got " + v;
        return false;
      }
      options.repeat = static_cast<int>(n);
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      error = "unknown option " + arg;
      return false;
    } else {
      if (haveQuery) {
        error = "only one query is allowed (quote a query with spaces)";
        return false;
      }
      options.query = Utf8ToUtf16(arg);
      haveQuery = true;
    }
  }
  if (!haveQuery) {
    error = "a QUERY is required (an empty one, \"\", lists everything)";
    return false;
  }
  return true;
}

}  // namespace quillmor
