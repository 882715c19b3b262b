// quillmor-cli: the search engine on the command line. Indexes the drives
// (or the directories given as drives), runs one query through the same
// pipeline as the window and prints the hits, one full path per line (or
// NUL-terminated, or as JSON), for people and for pipelines.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <shared_mutex>
#include <string>
#include <vector>

#include "engine/attr_cache_state.h"
#include "engine/hydrate_attributes.h"
#include "engine/result_set.h"
#include "engine/search_engine.h"
#include "engine/sort_job.h"
#include "engine/view_state.h"
#include "index/ascii_case.h"
#include "platform/console.h"
#include "platform/env.h"
#include "platform/file_name_bytes.h"
#include "platform/message_queue_poster.h"
#include "platform/shutdown.h"
#include "platform/utf.h"
#include "search/content_query.h"
#include "search/filter_pass.h"
#include "search/filters_file.h"
#include "search/query_trim.h"
#include "search/search_pipeline.h"
#include "search/search_scope.h"
#include "search/search_session.h"
#include "settings/background_task.h"
#include "settings/config_directory.h"
#include "settings/language_switch.h"
#include "settings/localisation.h"
#include "settings/recent_opens.h"
#include "tools/cli_options.h"
#include "tools/desktop_override.h"
#include "tools/directory_drives.h"
#include "tools/json_row.h"

namespace quillmor {
namespace {

// The window's controls as the command line has them: the query is the
// search box, the options fill the custom size edit and the date pickers;
// nothing is shown.
class CliViewState : public ViewState {
 public:
  explicit CliViewState(const CliOptions& options) : options_(options) {}
  std::u16string SearchText() override { return options_.query; }
  void SetStatusText(std::u16string_view) override {}
  bool CustomSizeText(std::u16string& text) override {
    if (options_.sizeCustom.empty()) return false;
    text = options_.sizeCustom;
    return true;
  }
  bool CustomDateRange(int32_t& from, int32_t& to) override {
    if (options_.dateFrom == 0 || options_.dateTo == 0) return false;
    from = options_.dateFrom;
    to = options_.dateTo;
    return true;
  }
  ListGeometry Geometry() override { return {}; }
  void ScheduleSearchRetry(uint32_t) override {}
  void Invalidate() override {}

 private:
  const CliOptions& options_;
};

// "YYYY-MM-DD HH:MM" in local time, "-" for a zero time.
std::string LocalTimeText(Clock& clock, uint64_t fileTime) {
  LocalTime t;
  if (fileTime == 0 || !clock.FileTimeToLocal(fileTime, t)) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", t.year, t.month, t.day, t.hour, t.minute);
  return text;
}

// The path, name, kind, size and times of a row.
RowFacts Facts(const MatchItem& item) {
  RowFacts facts;
  facts.path = item.volume->GetFullPath(item.recordIndex);
  {
    std::shared_lock lock(item.volume->recordsLock);
    if (item.recordIndex < item.volume->records.size()) {
      const FileRecord& record = item.volume->records[item.recordIndex];
      facts.directory = record.isDirectory;
      if (record.name != nullptr) facts.name.assign(record.name, record.nameLength);
    }
  }
  AttrEntry entry;
  HydrateAttributes(item.volume, item.recordIndex, entry);
  // A file that could not be read is cached as known zeros: unknown here.
  facts.attributesKnown = entry.known != 0 && (entry.size | entry.lastWriteTime | entry.creationTime) != 0;
  facts.size = entry.size;
  facts.modified = entry.lastWriteTime;
  facts.created = entry.creationTime;
  return facts;
}

// One output row without its end: the path; with --long the size (empty for
// a folder), the modified and created times and the path, tab-separated;
// with --json an object.
std::string RowText(Env& env, const MatchItem& item, const CliOptions& options) {
  if (!options.longFormat && !options.json) return PathOutputBytes(item.volume->GetFullPath(item.recordIndex));
  const RowFacts facts = Facts(item);
  if (options.json) return JsonRow(*env.clock, facts);
  const std::string size = facts.directory ? "" : std::to_string(facts.size);
  return size + "\t" + LocalTimeText(*env.clock, facts.modified) + "\t" + LocalTimeText(*env.clock, facts.created) +
         "\t" + PathOutputBytes(facts.path);
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "quillmor-cli: %s\n", message.c_str());
  return kExitUsage;
}

// Takes messages until `done` says so; frees the heap texts that status
// messages carry.
template <typename Done>
void Pump(MessageQueuePoster& poster, Done&& done) {
  QueuedMessage m;
  while (poster.WaitMessage(m)) {
    if (m.message == WMU_STATUS_TEXT) delete[] reinterpret_cast<char16_t*>(m.lParam);
    if (done(m)) return;
  }
}

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

int Run(const CliOptions& options) {
  Env env = DefaultEnv();
  MessageQueuePoster poster;
  env.windows = &poster;
  DirectoryDrives drives(*env.files);
  if (!options.drives.empty()) {
    for (const auto& [letter, directory] : options.drives) {
      std::error_code ec;
      const std::filesystem::path absolute =
          std::filesystem::absolute(std::filesystem::path(FileNameToBytes(directory)), ec);
      drives.Map(letter, ec ? directory : FileNameFromBytes(absolute.string()));
    }
    env.files = &drives;
  }
  DesktopOverride system(*env.system, options.desktop);
  env.system = &system;
  if (!options.configDirectory.empty()) {
    std::error_code ec;
    const std::filesystem::path absolute =
        std::filesystem::absolute(std::filesystem::path(FileNameToBytes(options.configDirectory)), ec);
    SetConfigDirectoryOverride(ec ? options.configDirectory : FileNameFromBytes(absolute.string()));
  }
  InitLocalisation(env);
  MakeLanguageCurrent(env, options.language.empty() ? StartupLanguageCode(env, false) : options.language);
  FilterState filters;
  LoadFilterTags(env, filters);
  if (!filters.SelectTag(options.tag)) {
    return Fail("there is no filter tag " + std::to_string(options.tag) + " (the list has " +
                std::to_string(filters.Tags()->size()) + ")");
  }
  filters.presets.sizePreset = options.sizePreset;
  filters.presets.sizeUnit = options.sizeUnit;
  filters.presets.timePreset = options.timePreset;

  const auto start = std::chrono::steady_clock::now();
  SearchEngine engine(env);
  engine.InitBackground(poster.Window());
  bool indexed = false;
  Pump(poster, [&](const QueuedMessage& m) {
    if (m.message == WMU_VOLUMES_SYNCED) indexed = true;
    return m.message == WMU_VOLUMES_SYNCED || (m.message == WMU_INDEX_READY && m.wParam == 1);
  });
  const double indexMs = Milliseconds(std::chrono::steady_clock::now() - start);
  if (!indexed) {
    if (options.drives.empty() && !env.system->IsUserAnAdmin()) {
      return Fail(
          "no drive could be indexed: reading NTFS drives through their change journal needs administrator "
          "rights (run as administrator, or index folders with --drive L:=DIR)");
    }
    return Fail("no drive could be indexed");
  }
  if (options.drives.empty() && !env.system->IsUserAnAdmin()) {
    std::fprintf(stderr,
                 "quillmor-cli: not running as administrator: NTFS drives need administrator rights and are "
                 "missing from the results\n");
  }

  const std::vector<VolumePtr> volumes = engine.SnapshotVolumes();
  uint64_t records = 0;
  for (const VolumePtr& v : volumes) {
    std::shared_lock lock(v->recordsLock);
    records += v->records.size() - v->deletedCount;
  }

  ResultSet results;
  results.window = poster.Window();
  CliViewState view(options);
  RecentOpenList recent;
  SearchSession session(env, engine, results, view, recent, filters);
  session.initialSearch = options.initials;
  // Rows past the limit are never printed, so the name search may stop at
  // the limit, unless a sort or a filter has to see every hit first.
  if (options.limit != 0 && options.sortColumn == 0 && !filters.Settings().AnyActive()) {
    session.nameHitLimit = static_cast<size_t>(std::min<uint64_t>(options.limit, SIZE_MAX));
  }
  session.hydrate = [](VolumeIndex& volume, uint32_t recordIndex, AttrEntry& out) {
    HydrateAttributes(&volume, recordIndex, out);
    return out.known != 0;
  };
  if (options.scope == u"desktop") {
    session.scope = kScopeDesktop;
  } else if (options.scope != u"all") {
    const auto it = std::find_if(volumes.begin(), volumes.end(),
                                 [&](const VolumePtr& v) { return EqualIgnoringAsciiCase(v->drive, options.scope); });
    if (it == volumes.end()) return Fail("drive " + Utf16ToUtf8(options.scope) + " is not indexed");
    session.SetScope({kScopeFirstVolume, (*it)->drive});
  }

  std::vector<double> searchMs;
  for (int run = 0; run < options.repeat; ++run) {
    const auto t0 = std::chrono::steady_clock::now();
    // An empty query lists the whole scope, as Enter on an empty box does.
    if (options.query.empty()) {
      RefreshSearchResultsAfterIndexUpdate(session);
    } else {
      DoSearchAsync(session, options.query, false, false);
    }
    const uint64_t generation = results.searchGeneration.load();
    Pump(poster, [&](const QueuedMessage& m) {
      return m.message == WMU_SEARCH_RESULTS && m.wParam == generation && m.lParam == kResultsFinal;
    });
    searchMs.push_back(Milliseconds(std::chrono::steady_clock::now() - t0));
  }
  std::sort(searchMs.begin(), searchMs.end());

  // A click on the column, and a second one for the descending order. There
  // is no prewarm to wait for here.
  if (options.sortColumn != 0) {
    g_attrCache.prewarmPending = 0;
    for (int click = 0; click < (options.descending ? 2 : 1); ++click) {
      DoSortAsync(engine, results, view, options.sortColumn);
      WaitForBackgroundTasks();
    }
  }
  if (filters.Settings().AnyActive()) {
    RefreshFilteredResultsAsync(session);
    WaitForBackgroundTasks();
  }
  // Free the texts of status messages left in the queue.
  for (QueuedMessage m; poster.TakeMessage(m);) {
    if (m.message == WMU_STATUS_TEXT) delete[] reinterpret_cast<char16_t*>(m.lParam);
  }

  const Results hits = DisplayedResults(session);
  const size_t hitCount = hits ? hits->size() : 0;
  const size_t rowCount =
      options.limit != 0 ? static_cast<size_t>(std::min<uint64_t>(hitCount, options.limit)) : hitCount;
  if (options.count) {
    std::printf("%zu\n", rowCount);
  } else if (hits) {
    const char rowEnd = options.nullTerminated ? '\0' : '\n';
    std::string out;
    for (size_t row = 0; row < rowCount; ++row) {
      out += RowText(env, (*hits)[row], options);
      out += rowEnd;
      if (out.size() > (1 << 16)) {
        WriteStandardOutput(out);
        out.clear();
      }
    }
    WriteStandardOutput(out);
  }
  std::fflush(stdout);
  if (options.stats) {
    std::fprintf(stderr, "index_ms=%.0f records=%llu search_ms=%.0f hits=%zu", indexMs,
                 static_cast<unsigned long long>(records), searchMs[searchMs.size() / 2], hitCount);
    if (ParseContentQuery(TrimQueryText(options.query)).contentMode) {
      std::fprintf(stderr, " candidates=%llu bytes_read=%llu",
                   static_cast<unsigned long long>(session.contentCounters.candidates.load()),
                   static_cast<unsigned long long>(session.contentCounters.bytesRead.load()));
    }
    std::fputc('\n', stderr);
  }

  BeginShutdown();
  WaitForBackgroundTasks();
  return rowCount != 0 ? kExitFound : kExitNothingFound;
}

}  // namespace
}  // namespace quillmor

int main(int argc, char** argv) {
  using namespace quillmor;
  UseUtf8StandardOutput();
  std::vector<std::string> arguments = CommandLineUtf8(argc, argv);
  if (!arguments.empty()) arguments.erase(arguments.begin());
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(arguments, options, error)) {
    std::fprintf(stderr, "quillmor-cli: %s\n%s", error.c_str(), CliUsage());
    return kExitUsage;
  }
  if (options.help || options.version) {
    std::fputs(options.help ? CliUsage() : CliVersion(), stdout);
    return kExitFound;
  }
  return Run(options);
}
