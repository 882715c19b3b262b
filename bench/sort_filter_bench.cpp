// How long the list takes to reorder and to narrow a million result rows:
// the "do_sort" job by name and by full path, and the filter pass of an
// extension tag ("Documents"). The rows are every record of a realistic
// volume indexed from a simulated NTFS volume, in index order, and every
// record's attributes are cached, so neither job reads the disk.
#include <benchmark/benchmark.h>
#include <time.h>

#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "bench/volume_generator.h"
#include "engine/sort_job.h"
#include "index/ntfs_enumeration.h"
#include "platform/sim/fake_view_state.h"
#include "platform/sim/memory_file_system.h"
#include "platform/sim/test_env.h"
#include "search/default_filter_tags.h"
#include "search/filter_pass.h"
#include "settings/background_task.h"
#include "settings/window_settings.h"

namespace quillmor {
namespace {

struct IndexedRows {
  explicit IndexedRows(size_t count) {
    GenerateRealisticVolume(disk, count);
    devices.Mount(u'C', disk);
    t.env.volumes = &devices;
    t.env.files = &files;  // the perf log goes here
    volume = std::make_shared<VolumeIndex>(t.env);
    built = IndexNtfsVolume(*volume, u"C:");
    volume->StopMonitor();
    engine = std::make_unique<SearchEngine>(t.env);

    std::shared_lock records(volume->recordsLock);
    std::unique_lock attrs(volume->attrsLock);
    std::vector<MatchItem> items;
    items.reserve(volume->records.size());
    for (uint32_t i = 0; i < volume->records.size(); ++i) {
      const FileRecord& record = volume->records[i];
      items.push_back(MatchItem{volume.get(), i});
      // Sizes and times spread so that they order differently from names.
      const uint64_t spread = uint64_t{i} * 2654435761u;
      volume->attrs[record.fileRef] =
          AttrEntry{spread % 100'000'000, 130'000'000'000'000'000 + spread, 129'000'000'000'000'000 + (spread >> 3), 1};
    }
    rows = MakeResults(std::move(items), {volume});
  }

  SimulatedNtfsVolume disk;
  SimulatedVolumeDevices devices;
  MemoryFileSystem files;
  TestEnv t;
  VolumePtr volume;
  std::unique_ptr<SearchEngine> engine;
  Results rows;
  bool built = false;
};

// CPU time of every thread of the process: on a machine others share, a
// steadier figure than the real time, which waits for a core.
double ProcessCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

IndexedRows& Rows(size_t records) {
  static IndexedRows rows(records);
  return rows;
}

void BM_SortRows(benchmark::State& state, int32_t column) {
  IndexedRows& data = Rows(static_cast<size_t>(state.range(0)));
  if (!data.built) {
    state.SkipWithError("build failed");
    return;
  }
  ResultSet set;
  double cpuMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // The unsorted rows again, as a search would publish them.
    SortRequest request;
    request.generation = set.NextGeneration();
    request.column = column;
    PublishResults(set, data.t.env, data.rows, request.generation, /*keepSort=*/false, kResultsResorted);
    state.ResumeTiming();

    const double cpu0 = ProcessCpuMilliseconds();
    RunSortJob(*data.engine, set, request);
    cpuMs += ProcessCpuMilliseconds() - cpu0;
  }
  state.counters["all_threads_cpu_ms"] = cpuMs / static_cast<double>(state.iterations());
  if (SnapshotResults(set)->size() != data.rows->size()) state.SkipWithError("rows lost");
  state.counters["rows"] = static_cast<double>(data.rows->size());
}

void BM_FilterPass(benchmark::State& state) {
  IndexedRows& data = Rows(static_cast<size_t>(state.range(0)));
  if (!data.built) {
    state.SkipWithError("build failed");
    return;
  }
  ResultSet set;
  FakeViewState view;
  RecentOpenList recent;
  FilterState filters;
  filters.SetTags(BuildDefaultTags(false));
  int32_t documents = -1;
  const FilterTagsSnapshot tags = filters.Tags();
  for (size_t i = 0; i < tags->size(); ++i) {
    if ((*tags)[i].name == u"Documents") documents = static_cast<int32_t>(i);
  }
  filters.SelectTag(documents);
  SearchSession session(data.t.env, *data.engine, set, view, recent, filters);
  PublishResults(set, data.t.env, data.rows, set.NextGeneration(), /*keepSort=*/false, kResultsResorted);

  size_t kept = 0;
  double cpuMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    {
      // Forget the last pass so that the refresh runs a new one.
      std::lock_guard lock(session.filteredMutex);
      session.filtered.reset();
    }
    state.ResumeTiming();

    const double cpu0 = ProcessCpuMilliseconds();
    RefreshFilteredResultsAsync(session);
    WaitForBackgroundTasks();
    cpuMs += ProcessCpuMilliseconds() - cpu0;
  }
  state.counters["all_threads_cpu_ms"] = cpuMs / static_cast<double>(state.iterations());
  kept = DisplayedResults(session)->size();
  if (kept == 0 || kept == data.rows->size()) state.SkipWithError("the tag kept all or nothing");
  state.counters["rows"] = static_cast<double>(data.rows->size());
  state.counters["kept"] = static_cast<double>(kept);
}

constexpr int64_t kRows = 1'000'000;

const bool g_registered = [] {
  benchmark::RegisterBenchmark("BM_SortRows/name", BM_SortRows, kColumnName)
      ->Arg(kRows)
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_SortRows/path", BM_SortRows, kColumnPath)
      ->Arg(kRows)
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_FilterPass", BM_FilterPass)
      ->Arg(kRows)
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  return true;
}();

}  // namespace
}  // namespace quillmor

BENCHMARK_MAIN();
