// How fast a volume of a million records is indexed, and what it costs in
// memory. The simulated volume produces its enumeration blocks inside the
// timed region, as the kernel would.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "bench/volume_generator.h"
#include "index/ntfs_enumeration.h"
#include "platform/sim/test_env.h"

namespace quillmor {
namespace {

// Resident set size of this process, from /proc.
size_t ResidentBytes() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<size_t>(resident) * 4096;
}

void BM_NtfsBuild(benchmark::State& state) {
  const size_t records = static_cast<size_t>(state.range(0));
  SimulatedNtfsVolume disk;
  const GeneratedVolume generated = GenerateRealisticVolume(disk, records);
  SimulatedVolumeDevices devices;
  devices.Mount(u'C', disk);
  TestEnv t;
  t.env.volumes = &devices;

  size_t indexed = 0;
  double residentPerRecord = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const size_t before = ResidentBytes();
    auto index = std::make_unique<VolumeIndex>(t.env);
    state.ResumeTiming();

    if (!IndexNtfsVolume(*index, u"C:")) state.SkipWithError("build failed");

    state.PauseTiming();
    index->StopMonitor();
    indexed = index->records.size();
    residentPerRecord = static_cast<double>(ResidentBytes() - before) / static_cast<double>(indexed);
    state.counters["structure_bytes_per_record"] =
        static_cast<double>(index->records.ReservedBytes() + index->namePool.ReservedBytes() +
                            index->refToIndex.ReservedBytes()) /
        static_cast<double>(indexed);
    index.reset();
    state.ResumeTiming();
  }
  state.counters["records_per_s"] =
      benchmark::Counter(static_cast<double>(indexed), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["bytes_per_record"] = residentPerRecord;
  state.counters["avg_name_units"] =
      static_cast<double>(generated.nameUnits) / static_cast<double>(generated.files + generated.directories);
  state.counters["records"] = static_cast<double>(indexed);
}
BENCHMARK(BM_NtfsBuild)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quillmor

BENCHMARK_MAIN();
