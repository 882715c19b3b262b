// quillmor-cli as pipelines use it, run as a program over a real folder
// tree: NUL-terminated paths, a row limit, JSON read back, UTF-8 output to a
// file and the exit status.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/utf.h"
#include "tests/scratch_directory.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace quillmor {
namespace {

namespace fs = std::filesystem;

struct CliRun {
  int exitCode = -1;
  std::string out;  // standard output, byte for byte
  std::string err;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The program the build made. A Windows build runs under Wine here, where a
// path of the Unix host is found under drive Z:.
fs::path CliProgram() {
  std::string path = QUILLMOR_CLI_PATH;
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') {
    for (char& c : path) c = c == '/' ? '\\' : c;
    path = "Z:" + path;
  }
#endif
  return fs::path(Utf8ToUtf16(path));
}

// Runs the program through the shell with its output sent to files.
// `environment` is a POSIX shell prefix such as "TZ=UTC0 " (ignored on
// Windows).
CliRun RunCli(const fs::path& scratch, const std::vector<std::string>& arguments, const std::string& environment = "") {
  const fs::path out = scratch / "out.bin", err = scratch / "err.txt";
#ifdef _WIN32
  // cmd.exe: every argument in double quotes (no test argument holds one),
  // and the whole line in one more pair, which cmd /c strips.
  const auto quote = [](const std::u16string& s) { return u"\"" + s + u"\""; };
  std::u16string line = quote(CliProgram().u16string());
  for (const std::string& a : arguments) line += u" " + quote(Utf8ToUtf16(a));
  line += u" >" + quote(out.u16string()) + u" 2>" + quote(err.u16string());
  line = u"\"" + line + u"\"";
  (void)environment;
  const int status = _wsystem(reinterpret_cast<const wchar_t*>(line.c_str()));
  const int exitCode = status;
#else
  const auto quote = [](const std::string& s) {
    std::string q = "'";
    for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
  };
  std::string line = environment + quote(CliProgram().string());
  for (const std::string& a : arguments) line += " " + quote(a);
  line += " >" + quote(out.string()) + " 2>" + quote(err.string());
  const int status = std::system(line.c_str());
  const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  return {exitCode, ReadFile(out), ReadFile(err)};
}

// One line of quillmor-cli --json: an object of strings (as UTF-16, so that
// escaped lone surrogates survive), numbers, booleans and nulls. Anything
// else, or a raw control character in a string, fails the parse.
struct JsonValue {
  enum Kind { kNull, kBool, kNumber, kString } kind = kNull;
  bool boolean = false;
  uint64_t number = 0;
  std::u16string text;
};
using JsonObject = std::map<std::string, JsonValue>;

class JsonLine {
 public:
  explicit JsonLine(std::string_view line) : s_(line) {}

  bool ParseObject(JsonObject& object) {
    if (!Take('{')) return false;
    if (Take('}')) return AtEnd();
    do {
      JsonValue key, value;
      if (!ParseString(key.text) || !Take(':') || !ParseValue(value)) return false;
      object[Utf16ToUtf8(key.text)] = value;
    } while (Take(','));
    return Take('}') && AtEnd();
  }

 private:
  bool AtEnd() const { return i_ == s_.size(); }
  bool Take(char c) {
    if (i_ < s_.size() && s_[i_] == c) return ++i_, true;
    return false;
  }
  bool Word(std::string_view w) {
    if (s_.substr(i_, w.size()) != w) return false;
    i_ += w.size();
    return true;
  }
  bool ParseValue(JsonValue& v) {
    if (i_ < s_.size() && s_[i_] == '"') return v.kind = JsonValue::kString, ParseString(v.text);
    if (Word("null")) return v.kind = JsonValue::kNull, true;
    if (Word("true")) return v.kind = JsonValue::kBool, v.boolean = true, true;
    if (Word("false")) return v.kind = JsonValue::kBool, v.boolean = false, true;
    const size_t start = i_;
    while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') v.number = v.number * 10 + (s_[i_++] - '0');
    v.kind = JsonValue::kNumber;
    return i_ > start;
  }
  bool ParseString(std::u16string& out) {
    if (!Take('"')) return false;
    std::string raw;  // UTF-8 not yet converted
    const auto flush = [&] { out += Utf8ToUtf16(raw), raw.clear(); };
    while (i_ < s_.size()) {
      const char c = s_[i_++];
      if (c == '"') return flush(), true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        raw += c;
        continue;
      }
      if (i_ >= s_.size()) return false;
      const char e = s_[i_++];
      flush();
      const std::string_view simple = "\"\\/bfnrt", meaning = "\"\\/\b\f\n\r\t";
      if (const size_t k = simple.find(e); k != std::string_view::npos) {
        out += static_cast<char16_t>(meaning[k]);
      } else if (e == 'u' && i_ + 4 <= s_.size()) {
        out += static_cast<char16_t>(std::stoul(std::string(s_.substr(i_, 4)), nullptr, 16));
        i_ += 4;
      } else {
        return false;
      }
    }
    return false;
  }

  std::string_view s_;
  size_t i_ = 0;
};

// Seconds since 1970 of "YYYY-MM-DDTHH:MM:SS+HH:MM"; the offset is taken out.
bool ParseIsoTime(const std::u16string& text, int64_t& seconds, std::string& offset) {
  const std::string t = Utf16ToUtf8(text);
  int year, month, day, hour, minute, second, offsetHours, offsetMinutes;
  char sign;
  if (t.size() != 25 || std::sscanf(t.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c%2d:%2d", &year, &month, &day, &hour, &minute,
                                    &second, &sign, &offsetHours, &offsetMinutes) != 9) {
    return false;
  }
  // Days from 1970-01-01 (the civil-date count, from 1 March).
  const int y = year - (month <= 2);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t days = era * 146097LL + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
  const int64_t offsetSeconds = (sign == '-' ? -1 : 1) * (offsetHours * 3600 + offsetMinutes * 60);
  seconds = days * 86400 + hour * 3600 + minute * 60 + second - offsetSeconds;
  offset = t.substr(19);
  return true;
}

// A tree of files with names pipelines stumble on. Windows forbids quotes,
// backslashes and control characters in names, so those exist only where
// the file system allows them.
class CliPipelineTest : public ::testing::Test {
 protected:
  struct Entry {
    std::u16string relative;  // with '/' between folders
    size_t size;
  };

  void SetUp() override {
    tree_ = scratch_ / "tree";
    fs::create_directories(tree_ / "docs");
    fs::create_directories(scratch_ / "config");
    createdAfter_ = NowSeconds() - 2;
    std::vector<Entry> entries = {
        {u"docs/Report 2024.pdf", 10}, {u"docs/report_2023.xlsx", 3},
        {u"docs/notes.txt", 0},        {u"\u00dcn\u00efc\u00f6d\u00e9 \u65b0\u5efa\u6587\u4ef6\u5939.pdf", 5},
        {u"it's (1).docx", 7},
#ifndef _WIN32
        {u"say \"hi\".pdf", 1},        {u"back\\slash.pdf", 2},
        {u"ctrl\x01\x1f.txt", 4},      {u"new\nline.pdf", 6},
        {u"tab\there.pdf", 8},
#endif
    };
    for (const Entry& e : entries) {
      std::ofstream(tree_ / fs::path(e.relative), std::ios::binary) << std::string(e.size, 'x');
      ASSERT_TRUE(fs::exists(tree_ / fs::path(e.relative))) << Utf16ToUtf8(e.relative);
      files_.push_back(e);
    }
    createdBefore_ = NowSeconds() + 2;
  }
  static int64_t NowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
  }

  // quillmor-cli over the tree as drive E:.
  CliRun Cli(std::vector<std::string> arguments, const std::string& environment = "") {
    arguments.insert(arguments.begin(), {"--config", Utf16ToUtf8((scratch_ / "config").u16string()), "--drive",
                                         "E:=" + Utf16ToUtf8(tree_.u16string())});
    return RunCli(scratch_, arguments, environment);
  }

  static std::u16string PathOf(const std::u16string& relative) {
    std::u16string path = u"E:\\" + relative;
    for (size_t i = 3; i < path.size(); ++i) {
      if (path[i] == u'/') path[i] = u'\\';
    }
    return path;
  }
  static std::u16string NameOf(const std::u16string& relative) { return relative.substr(relative.rfind(u'/') + 1); }
  static bool IsPdf(const std::u16string& relative) { return relative.ends_with(u".pdf"); }

  std::set<std::u16string> PdfPaths() const {
    std::set<std::u16string> paths;
    for (const Entry& e : files_) {
      if (IsPdf(e.relative)) paths.insert(PathOf(e.relative));
    }
    return paths;
  }

  static std::vector<std::string> Split(const std::string& text, char end) {
    std::vector<std::string> rows;
    size_t start = 0;
    for (size_t at = text.find(end); at != std::string::npos; at = text.find(end, start)) {
      rows.push_back(text.substr(start, at - start));
      start = at + 1;
    }
    EXPECT_EQ(start, text.size()) << "the last row is not terminated";
    return rows;
  }

  const ScratchDirectory scratchDirectory_{"quillmor-cli-test"};
  const fs::path& scratch_ = scratchDirectory_.path();
  fs::path tree_;
  std::vector<Entry> files_;
  int64_t createdAfter_ = 0, createdBefore_ = 0;
};

TEST_F(CliPipelineTest, NulTerminatedPathsReadBack) {
  const CliRun run = Cli({"-0", "*.PDF"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::set<std::u16string> paths;
  for (const std::string& row : Split(run.out, '\0')) paths.insert(Utf8ToUtf16(row));
  EXPECT_EQ(paths, PdfPaths());
}

TEST_F(CliPipelineTest, JsonRowsParseBackToTheTree) {
  const CliRun run = Cli({"--json", ""});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::map<std::u16string, JsonObject> rows;
  for (const std::string& line : Split(run.out, '\n')) {
    JsonObject object;
    ASSERT_TRUE(JsonLine(line).ParseObject(object)) << line;
    EXPECT_EQ(object.size(), 6u) << line;
    for (const char* key : {"path", "name", "directory", "size", "modified", "created"}) {
      EXPECT_EQ(object.count(key), 1u) << key << " missing from " << line;
    }
    rows[object["path"].text] = object;
  }
  ASSERT_EQ(rows.size(), files_.size() + 1);  // and the folder

  JsonObject& folder = rows[u"E:\\docs"];
  EXPECT_EQ(folder["name"].text, u"docs");
  EXPECT_TRUE(folder["directory"].boolean);
  EXPECT_EQ(folder["size"].kind, JsonValue::kNull);

  for (const Entry& e : files_) {
    SCOPED_TRACE(Utf16ToUtf8(e.relative));
    ASSERT_EQ(rows.count(PathOf(e.relative)), 1u);
    JsonObject& row = rows[PathOf(e.relative)];
    EXPECT_EQ(row["name"].text, NameOf(e.relative));
    EXPECT_EQ(row["directory"].kind, JsonValue::kBool);
    EXPECT_FALSE(row["directory"].boolean);
    // A backslash in a file name cannot be told from a separator when the
    // path is opened to read the size and times.
    if (NameOf(e.relative).find(u'\\') != std::u16string::npos) continue;
    EXPECT_EQ(row["size"].kind, JsonValue::kNumber);
    EXPECT_EQ(row["size"].number, e.size);
    int64_t modified = 0;
    std::string offset;
    ASSERT_TRUE(ParseIsoTime(row["modified"].text, modified, offset)) << Utf16ToUtf8(row["modified"].text);
    EXPECT_GE(modified, createdAfter_);
    EXPECT_LE(modified, createdBefore_);
    if (row["created"].kind != JsonValue::kNull) {
      int64_t created = 0;
      ASSERT_TRUE(ParseIsoTime(row["created"].text, created, offset)) << Utf16ToUtf8(row["created"].text);
      EXPECT_LE(created, createdBefore_);
    }
  }
}

#ifndef _WIN32
// The offset is that of the local zone: a zone half an hour off a whole hour
// (given as a POSIX TZ rule, no zone database needed) shows in every time,
// and the time still names the same instant.
TEST_F(CliPipelineTest, JsonTimesCarryTheLocalOffset) {
  const CliRun run = Cli({"--json", "notes.txt"}, "TZ=QMT-5:30 ");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  JsonObject row;
  ASSERT_TRUE(JsonLine(run.out.substr(0, run.out.size() - 1)).ParseObject(row)) << run.out;
  int64_t modified = 0;
  std::string offset;
  ASSERT_TRUE(ParseIsoTime(row["modified"].text, modified, offset));
  EXPECT_EQ(offset, "+05:30");
  EXPECT_GE(modified, createdAfter_);
  EXPECT_LE(modified, createdBefore_);
}
#endif

TEST_F(CliPipelineTest, LimitPrintsAtMostNRowsAndStopsTheSearch) {
  const std::set<std::u16string> pdfs = PdfPaths();
  ASSERT_GE(pdfs.size(), 2u);
  // NUL-terminated: a name may hold a line break.
  const CliRun limited = Cli({"-0", "-l", "2", "--stats", "*.pdf"});
  ASSERT_EQ(limited.exitCode, 0) << limited.err;
  const std::vector<std::string> rows = Split(limited.out, '\0');
  ASSERT_EQ(rows.size(), 2u);
  for (const std::string& row : rows) EXPECT_EQ(pdfs.count(Utf8ToUtf16(row)), 1u) << row;
  // The search itself ended at the limit...
  EXPECT_NE(limited.err.find(" hits=2"), std::string::npos) << limited.err;
  // ...unless a sort needs every hit: then only the printing stops.
  const CliRun sorted = Cli({"-0", "--limit", "2", "--sort", "name", "--stats", "*.pdf"});
  ASSERT_EQ(sorted.exitCode, 0) << sorted.err;
  EXPECT_EQ(Split(sorted.out, '\0').size(), 2u);
  EXPECT_NE(sorted.err.find(" hits=" + std::to_string(pdfs.size())), std::string::npos) << sorted.err;
  EXPECT_EQ(Cli({"-l", "2", "--count", "*.pdf"}).out, "2\n");
  // More room than hits: all of them.
  EXPECT_EQ(Split(Cli({"-0", "-l", "1000", "*.pdf"}).out, '\0').size(), pdfs.size());
}

TEST_F(CliPipelineTest, NonAsciiPathsAreUtf8InAFile) {
  const CliRun run = Cli({"\u00dcn\u00efc\u00f6d\u00e9*"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "E:\\\u00dcn\u00efc\u00f6d\u00e9 \u65b0\u5efa\u6587\u4ef6\u5939.pdf\n");
}

TEST_F(CliPipelineTest, ExitStatusSaysFoundNothingOrTrouble) {
  EXPECT_EQ(Cli({"report"}).exitCode, 0);
  const CliRun nothing = Cli({"zzz*"});
  EXPECT_EQ(nothing.exitCode, 1);
  EXPECT_EQ(nothing.out, "");
  const CliRun none = Cli({"--count", "*.none"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.out, "0\n");

  const CliRun usage = Cli({"--limit", "many", "report"});
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_NE(usage.err.find("usage:"), std::string::npos) << usage.err;
  EXPECT_EQ(RunCli(scratch_, {"--config", Utf16ToUtf8((scratch_ / "config").u16string()), "--drive",
                              "E:=" + Utf16ToUtf8((scratch_ / "missing").u16string()), "report"})
                .exitCode,
            2);  // no drive could be indexed

  const CliRun version = RunCli(scratch_, {"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("quillmor-cli ", 0), 0u) << version.out;
  const CliRun help = RunCli(scratch_, {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Exit status"), std::string::npos);
}

}  // namespace
}  // namespace quillmor
