#include "engine/sort_job.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/attr_cache_file.h"
#include "engine/attr_cache_state.h"
#include "engine/bulk_hydration.h"
#include "engine/sort_order.h"
#include "engine/volume_runs.h"
#include "platform/shutdown.h"
#include "platform/utf.h"
#include "settings/background_task.h"
#include "settings/localisation.h"
#include "settings/perf_log.h"
#include "settings/rate_limit.h"
#include "settings/single_run_task.h"

namespace quillmor {
namespace {

constexpr uint64_t kSortSaveIntervalMs = 3000;

std::u16string Decimal(uint64_t value) { return U16(std::to_string(value)); }
std::u16string Decimal(int32_t value) { return U16(std::to_string(value)); }

// The rows whose record still exists: a volume, an index in range, not
// deleted.
std::vector<MatchItem> LiveRows(const std::vector<MatchItem>& rows) {
  std::vector<MatchItem> live;
  live.reserve(rows.size());
  ForEachVolumeRun(rows, [&](VolumeIndex* volume, size_t begin, size_t end) {
    if (volume == nullptr) return;
    std::shared_lock records(volume->recordsLock);
    for (size_t i = begin; i < end; ++i) {
      const uint32_t index = rows[i].recordIndex;
      if (index < volume->records.size() && volume->records[index].deleted == 0) live.push_back(rows[i]);
    }
  });
  return live;
}

// The rows without a known cache entry (directories included). False when
// the job went stale on the way.
bool FindMissingRows(ResultSet& set, uint64_t generation, const std::vector<MatchItem>& rows,
                     std::vector<MatchItem>& missing) {
  missing.reserve(rows.size() / 8 + 1024);
  std::vector<uint64_t> fileRefs;
  std::vector<uint8_t> inRange;
  bool current = true;
  ForEachVolumeRun(rows, [&](VolumeIndex* volume, size_t begin, size_t end) {
    if (!current || !set.IsCurrent(generation) || ShuttingDown()) {
      current = false;
      return;
    }
    if (volume == nullptr) return;
    fileRefs.assign(end - begin, 0);
    inRange.assign(end - begin, 0);
    {
      std::shared_lock records(volume->recordsLock);
      for (size_t i = begin; i < end; ++i) {
        if (rows[i].recordIndex >= volume->records.size()) continue;
        fileRefs[i - begin] = volume->records[rows[i].recordIndex].fileRef;
        inRange[i - begin] = 1;
      }
    }
    // Read directly: these lookups are not the user's, so they count neither
    // as hits nor as misses.
    std::shared_lock attrs(volume->attrsLock);
    for (size_t i = begin; i < end; ++i) {
      if (!inRange[i - begin]) continue;
      const auto it = volume->attrs.find(fileRefs[i - begin]);
      if (it == volume->attrs.end() || it->second.known == 0) missing.push_back(rows[i]);
    }
  });
  return current;
}

bool Stale(ResultSet& set, uint64_t generation) { return !set.IsCurrent(generation) || ShuttingDown(); }

// Starts "sort_attr_cache_save" unless a post-sort save started less than
// 3 s ago or another background save runs.
void SaveAfterSort(SearchEngine& engine) {
  // More than 3 s since the last one.
  if (!ClaimTurn(g_lastSortSaveTick, engine.env().clock->TickCount64(), kSortSaveIntervalMs + 1)) return;
  StartSingleRunTask(engine.env(), u"sort_attr_cache_save", g_attrCache.saveRunning,
                     [&engine] { SaveAttrCache(engine); });
}

}  // namespace

void DoSortAsync(SearchEngine& engine, ResultSet& set, ViewState& view, int32_t column) {
  if (g_attrCache.prewarmPending.load() != 0) {
    view.SetStatusText(Translate(u"Status_PrewarmSortingDisabled", u"正在预热缓存，暂时无法排序。",
                                 u"Cache prewarming in progress. Sorting is temporarily disabled."));
    return;
  }
  if (column == kColumnRowNumber) return;

  SortRequest request;
  request.column = column;
  if (column != set.sortColumn.load()) {
    set.sortColumn = column;
    set.sortAscending = 1;
  } else {
    request.reverse = true;
    set.sortAscending = set.sortAscending.load() != 0 ? 0 : 1;
  }
  request.ascending = set.sortAscending.load() != 0;
  request.generation = set.NextGeneration();
  try {
    StartBackgroundTask(engine.env(), u"do_sort", [&engine, &set, request] { RunSortJob(engine, set, request); });
  } catch (const std::system_error&) {
    // No thread: the list keeps its order until the next click.
  }
  view.Invalidate();
}

void RunSortJob(SearchEngine& engine, ResultSet& set, const SortRequest& request) {
  Env& env = engine.env();
  const uint64_t g = request.generation;
  const int32_t column = request.column;
  const uint64_t t0 = env.clock->SteadyNanoseconds();
  const uint64_t hits0 = g_attrCounters.hits.load(), misses0 = g_attrCounters.misses.load();
  auto msSince = [&](uint64_t start) { return (env.clock->SteadyNanoseconds() - start) / 1'000'000; };

  const Results snapshot = SnapshotResults(set);
  if (!snapshot || snapshot->empty() || Stale(set, g)) return;
  std::vector<MatchItem> rows = LiveRows(*snapshot);

  if (request.reverse) {
    std::reverse(rows.begin(), rows.end());
    const size_t count = rows.size();
    if (PublishResults(set, env, DeriveResults(snapshot, std::move(rows)), g, /*keepSort=*/true, kResultsResorted)) {
      LogMetric(env, u"sort col=" + Decimal(column) + u" type=reverse total_ms=" + Decimal(msSince(t0)) + u" rows=" +
                         Decimal(count));
    }
    return;
  }

  const size_t n = rows.size();
  if (n == 0) {
    PublishResults(set, env, DeriveResults(snapshot, {}), g, /*keepSort=*/true, kResultsResorted);
    return;
  }

  const uint64_t tScan = env.clock->SteadyNanoseconds();
  const VolumeOrder order(rows);
  bool twoPhase = false;
  if (IsAttributeColumn(column)) {
    std::vector<MatchItem> missing;
    if (!FindMissingRows(set, g, rows, missing)) return;
    if (!missing.empty()) {
      // Show the rows already known, sorted, while the others are read.
      SortByAttribute(rows, column, request.ascending, /*knownFirst=*/true, order);
      if (Stale(set, g)) return;
      PublishResults(set, env, DeriveResults(snapshot, rows), g, /*keepSort=*/true, kResultsResorted);
      twoPhase = true;
      HydrateMissingRows(env, set, g, missing, n, SortHydrationThreads(std::thread::hardware_concurrency()));
    }
  }
  const uint64_t tMid = env.clock->SteadyNanoseconds();
  if (Stale(set, g)) return;

  if (IsAttributeColumn(column)) {
    SortByAttribute(rows, column, request.ascending, /*knownFirst=*/false, order);
  } else {
    SortByText(rows, column, request.ascending, order);
  }
  if (Stale(set, g)) return;

  const uint64_t hits1 = g_attrCounters.hits.load(), misses1 = g_attrCounters.misses.load();
  const uint64_t hitsDelta = hits1 > hits0 ? hits1 - hits0 : 0;
  const uint64_t missesDelta = misses1 > misses0 ? misses1 - misses0 : 0;
  const char16_t* type = missesDelta == 0 ? u"warm" : (twoPhase ? u"cold-2phase" : u"cold");
  LogMetric(env, u"sort col=" + Decimal(column) + u" type=" + type + u" total_ms=" + Decimal(msSince(t0)) +
                     u" hydrate_ms=" + Decimal((tMid - tScan) / 1'000'000) + u" misses=" + Decimal(missesDelta) +
                     u" hits=" + Decimal(hitsDelta) + u" rows=" + Decimal(static_cast<uint64_t>(n)));
  if (IsAttributeColumn(column)) SaveAfterSort(engine);

  PublishResults(set, env, DeriveResults(snapshot, std::move(rows)), g, /*keepSort=*/true, kResultsResorted);
}

}  // namespace quillmor
