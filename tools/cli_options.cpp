#include "tools/cli_options.h"

#include <cstdlib>

#include "platform/file_name_bytes.h"
#include "platform/utf.h"

namespace quillmor {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char16_t UpperLetter(char c) { return static_cast<char16_t>(c >= 'a' ? c - 32 : c); }

// Decimal digits only, at most `highest`.
bool ParseSmallNumber(const std::string& text, int highest, int& out) {
  if (text.empty() || text.size() > 9) return false;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (n > highest) return false;
  out = n;
  return true;
}

}  // namespace

const char* CliUsage() {
  return "usage: quillmor-cli [options] [--] QUERY\n"
         "  --drive L:=DIR        index the directory DIR as drive L: (repeatable)\n"
         "  --scope all|desktop|L:  where to search (default all)\n"
         "  --desktop PATH        the Desktop folder, as a path under an indexed drive\n"
         "  --initials on|off     initial-letter search for Chinese names (default on)\n"
         "  --count               print only the number of hits\n"
         "  --stats               print index_ms, records, search_ms and hits to standard error\n"
         "  --repeat N            run the search N times; search_ms is the median\n"
         "  --tag N               keep only the rows of filter tag N (an index of the loaded tag list)\n"
         "  --size 0..4           size preset: all, < 1MB, 1~100MB, > 100MB, custom\n"
         "  --size-custom TEXT    the custom size range, such as 10-200 (with --size 4)\n"
         "  --size-unit 0..3      unit of the custom range: bytes, KB, MB (default), GB\n"
         "  --time 0..4           time preset: all, today, 7 days, 30 days, custom\n"
         "  --from YYYYMMDD, --to YYYYMMDD  the custom date range (with --time 4)\n"
         "  --sort name|size|modified|created|path  sort ascending, as a click on the column\n"
         "  --desc                then reverse, as a second click\n"
         "  --long                print size, modified and created time (local) and the path, tab-separated\n"
         "  --json                print one JSON object per line: path, name, directory, size, modified and\n"
         "                        created (ISO 8601 with the local offset; null when unknown)\n"
         "  -0, --null            end each row with a NUL byte instead of a line break (for xargs -0)\n"
         "  -l, --limit N         print at most N rows (a name search without --sort or filters stops there)\n"
         "  --config DIR          the configuration directory (filters, languages, attribute cache)\n"
         "  --lang CODE           the language, for the names of the filter tags\n"
         "  -h, --help            print this text\n"
         "  --version             print the version\n"
         "Query terms with * or ? match whole names: *.pdf, IMG_20??.jpg, \"annual report*\".\n"
         "Exit status: 0 when something was found, 1 when nothing was, 2 on bad usage or when\n"
         "no drive could be indexed.\n";
}

const char* CliVersion() { return "quillmor-cli " QUILLMOR_VERSION "\n"; }

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
        options.query = FileNameFromBytes(arguments[i + 1]);
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
      options.drives.emplace_back(UpperLetter(v[0]), FileNameFromBytes(v.substr(3)));
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
      options.desktop = FileNameFromBytes(v);
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
    } else if (arg == "--tag" || arg == "--size" || arg == "--size-unit" || arg == "--time") {
      if (!value(v)) return false;
      const int highest = arg == "--tag" ? 1000000 : arg == "--size-unit" ? 3 : 4;
      int n = 0;
      if (!ParseSmallNumber(v, highest, n)) {
        error = arg + " wants a number from 0 to " + std::to_string(highest) + ", got " + v;
        return false;
      }
      (arg == "--tag"         ? options.tag
       : arg == "--size"      ? options.sizePreset
       : arg == "--size-unit" ? options.sizeUnit
                              : options.timePreset) = n;
    } else if (arg == "--size-custom") {
      if (!value(v)) return false;
      options.sizeCustom = Utf8ToUtf16(v);
    } else if (arg == "--from" || arg == "--to") {
      if (!value(v)) return false;
      int n = 0;
      if (v.size() != 8 || !ParseSmallNumber(v, 99999999, n)) {
        error = arg + " wants a date as YYYYMMDD, got " + v;
        return false;
      }
      (arg == "--from" ? options.dateFrom : options.dateTo) = n;
    } else if (arg == "--sort") {
      if (!value(v)) return false;
      const char* const columns[] = {"name", "size", "modified", "created", "path"};
      options.sortColumn = 0;
      for (int c = 0; c < 5; ++c) {
        if (v == columns[c]) options.sortColumn = c + 1;
      }
      if (options.sortColumn == 0) {
        error = "--sort wants name, size, modified, created or path, got " + v;
        return false;
      }
    } else if (arg == "--desc") {
      options.descending = true;
    } else if (arg == "--long") {
      options.longFormat = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "-0" || arg == "--null") {
      options.nullTerminated = true;
    } else if (arg == "-l" || arg == "--limit") {
      if (!value(v)) return false;
      char* end = nullptr;
      const unsigned long long n = std::strtoull(v.c_str(), &end, 10);
      if (v.empty() || v[0] < '0' || v[0] > '9' || *end != '\0' || v.size() > 18 || n == 0) {
        error = arg + " wants a number of rows from 1 up, got " + v;
        return false;
      }
      options.limit = n;
    } else if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--config") {
      if (!value(v)) return false;
      options.configDirectory = FileNameFromBytes(v);
    } else if (arg == "--lang") {
      if (!value(v)) return false;
      options.language = Utf8ToUtf16(v);
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      error = "unknown option " + arg;
      return false;
    } else {
      if (haveQuery) {
        error = "only one query is allowed (quote a query with spaces)";
        return false;
      }
      options.query = FileNameFromBytes(arg);
      haveQuery = true;
    }
  }
  if (options.help || options.version) return true;
  if (options.json && options.longFormat) {
    error = "--json and --long are two formats: choose one";
    return false;
  }
  if (options.descending && options.sortColumn == 0) {
    error = "--desc needs --sort";
    return false;
  }
  if (!haveQuery) {
    error = "a QUERY is required (an empty one, \"\", lists everything)";
    return false;
  }
  return true;
}

}  // namespace quillmor
