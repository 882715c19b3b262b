// The command line of quillmor-cli.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quillmor {

// Paths and the query are taken as file names are (FileNameFromBytes): bytes
// that are not UTF-8 still name the file, and a query can hold them.
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

  // Filters, as the filter bar sets them.
  int tag = 0;                // --tag N: index into the loaded tag list
  int sizePreset = 0;         // --size 0..4
  std::u16string sizeCustom;  // --size-custom TEXT (with --size 4)
  int sizeUnit = 2;           // --size-unit 0..3 (bytes, KB, MB, GB)
  int timePreset = 0;         // --time 0..4
  int dateFrom = 0;           // --from YYYYMMDD (with --time 4)
  int dateTo = 0;             // --to YYYYMMDD
  // Sorting, as a click on a column header: 1 name, 2 size, 3 modified,
  // 4 created, 5 path; 0 unsorted. --desc clicks it a second time.
  int sortColumn = 0;
  bool descending = false;
  bool longFormat = false;         // --long: size, modified, created, path
  bool json = false;               // --json: one JSON object per row
  bool nullTerminated = false;     // -0, --null: rows end with NUL, not a line break
  uint64_t limit = 0;              // -l N, --limit N: at most N rows; 0 none
  bool help = false;               // -h, --help
  bool version = false;            // --version
  std::u16string configDirectory;  // --config DIR
  std::u16string language;         // --lang CODE

  std::u16string query;
};

// The exit status: something was printed (or counted), nothing was, or the
// command line was wrong or no drive could be indexed.
inline constexpr int kExitFound = 0;
inline constexpr int kExitNothingFound = 1;
inline constexpr int kExitUsage = 2;

// The usage text, for --help and errors.
const char* CliUsage();

// "quillmor-cli 1.2.3", for --version.
const char* CliVersion();

// Parses the arguments after the program name. False with a one-line
// `error` on bad usage. With --help or --version no query is needed.
bool ParseCliOptions(const std::vector<std::string>& arguments, CliOptions& options, std::string& error);

}  // namespace quillmor
