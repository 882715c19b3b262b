// quillmor-cli: the search engine on the command line. Indexes the drives
// (or the directories given as drives), runs one query through the same
// pipeline as the window and prints the hits, one full path per line.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <shared_mutex>
#include <string>
#include <vector>

#include "engine/result_set.h"
#include "engine/search_engine.h"
#include "engine/view_state.h"
#include "index/ascii_case.h"
#include "platform/console.h"
#include "platform/env.h"
#include "platform/message_queue_poster.h"
#include "platform/shutdown.h"
#include "platform/utf.h"
#include "search/content_query.h"
#include "search/query_trim.h"
#include "search/search_pipeline.h"
#include "search/search_scope.h"
#include "search/search_session.h"
#include "settings/background_task.h"
#include "settings/localisation.h"
#include "settings/recent_opens.h"
#include "tools/cli_options.h"
#include "tools/directory_drives.h"
#include "tools/forwarding_system_info.h"

namespace quillmor {
namespace {

constexpr int kExitUsage = 2;

// The window's controls as the command line has them: the query is the
// search box; nothing is shown.
class CliViewState : public ViewState {
 public:
  explicit CliViewState(std::u16string query) : query_(std::move(query)) {}
  std::u16string SearchText() override { return query_; }
  void SetStatusText(std::u16string_view) override {}
  bool CustomSizeText(std::u16string&) override { return false; }
  bool CustomDateRange(int32_t&, int32_t&) override { return false; }
  ListGeometry Geometry() override { return {}; }
  void ScheduleSearchRetry(uint32_t) override {}
  void Invalidate() override {}

 private:
  std::u16string query_;
};

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
          std::filesystem::absolute(std::filesystem::path(Utf16ToUtf8(directory)), ec);
      drives.Map(letter, ec ? directory : Utf8ToUtf16(absolute.string()));
    }
    env.files = &drives;
  }
  DesktopOverride system(*env.system, options.desktop);
  env.system = &system;
  InitLocalisation(env);

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
  CliViewState view(options.query);
  RecentOpenList recent;
  SearchSession session(env, engine, results, view, recent);
  session.initialSearch = options.initials;
  if (options.scope == u"desktop") {
    session.scope = kScopeDesktop;
  } else if (options.scope != u"all") {
    const auto it = std::find_if(volumes.begin(), volumes.end(),
                                 [&](const VolumePtr& v) { return EqualIgnoringAsciiCase(v->drive, options.scope); });
    if (it == volumes.end()) return Fail("drive " + Utf16ToUtf8(options.scope) + " is not indexed");
    session.scope = static_cast<int32_t>(kScopeFirstVolume + (it - volumes.begin()));
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
      return m.message == WMU_SEARCH_RESULTS && m.wParam == generation && m.lParam == 0;
    });
    searchMs.push_back(Milliseconds(std::chrono::steady_clock::now() - t0));
  }
  std::sort(searchMs.begin(), searchMs.end());

  const Results hits = SnapshotResults(results);
  const size_t hitCount = hits ? hits->size() : 0;
  if (options.count) {
    std::printf("%zu\n", hitCount);
  } else if (hits) {
    std::string out;
    for (const MatchItem& item : *hits) {
      out += Utf16ToUtf8(item.volume->GetFullPath(item.recordIndex));
      out += '\n';
      if (out.size() > (1 << 16)) {
        std::fwrite(out.data(), 1, out.size(), stdout);
        out.clear();
      }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
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
  return 0;
}

}  // namespace
}  // namespace quillmor

int main(int argc, char** argv) {
  using namespace quillmor;
  UseUtf8StandardOutput();
  std::vector<std::string> arguments = CommandLineUtf8(argc, argv);
  if (!arguments.empty()) arguments.erase(arguments.begin());
  if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
    std::fputs(CliUsage(), stdout);
    return 0;
  }
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(arguments, options, error)) {
    std::fprintf(stderr, "quillmor-cli: %s\n%s", error.c_str(), CliUsage());
    return kExitUsage;
  }
  return Run(options);
}
