// How many names per second the name query tests, over a realistic volume of a
// million records indexed from a simulated NTFS volume (names of about 20
// units, records and name pool laid out as the build lays them out). The scan
// is the search's: every record under the shared records lock, deleted ones
// skipped. Initial search is on, so a query of one term of letters and digits
// (rep, presentation, ndbg) also runs the initials rule on every name that
// does not contain it. BM_NameMatchPlain runs the same scan with the plain
// per-name rules, for comparison; BM_NameScanFloor only touches each name.
#include <benchmark/benchmark.h>

#include <memory>
#include <mutex>
#include <shared_mutex>

#include "bench/volume_generator.h"
#include "index/ntfs_enumeration.h"
#include "platform/sim/iconv_text_codec.h"
#include "platform/sim/test_env.h"
#include "search/compiled_name_query.h"

namespace quillmor {
namespace {

constexpr size_t kRecords = 1'000'000;

struct IndexedVolume {
  IndexedVolume() {
    GenerateRealisticVolume(disk, kRecords);
    devices.Mount(u'C', disk);
    t.env.volumes = &devices;
    index = std::make_unique<VolumeIndex>(t.env);
    built = IndexNtfsVolume(*index, u"C:");
    index->StopMonitor();
  }
  SimulatedNtfsVolume disk;
  SimulatedVolumeDevices devices;
  TestEnv t;
  std::unique_ptr<VolumeIndex> index;
  bool built = false;
};

IndexedVolume& Volume() {
  static IndexedVolume volume;
  return volume;
}

IconvTextCodec& Codec() {
  static IconvTextCodec codec;
  return codec;
}

template <typename Matcher>
void Scan(benchmark::State& state, const Matcher& matches) {
  IndexedVolume& volume = Volume();
  if (!volume.built) {
    state.SkipWithError("build failed");
    return;
  }
  size_t hits = 0, names = 0;
  for (auto _ : state) {
    std::shared_lock lock(volume.index->recordsLock);
    const RecordSequence& records = volume.index->records;
    hits = 0;
    names = records.size();
    for (size_t i = 0; i < names; ++i) {
      const FileRecord& record = records[i];
      if (record.deleted == 0 && matches(record)) ++hits;
    }
    benchmark::DoNotOptimize(hits);
  }
  state.counters["names_per_s"] =
      benchmark::Counter(static_cast<double>(names), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["hits"] = static_cast<double>(hits);
}

void BM_NameMatch(benchmark::State& state, const char16_t* query) {
  const CompiledNameQuery compiled(FoldQueryGroups(ParseQueryGroups(query)), /*initialSearch=*/true, Codec());
  Scan(state, [&](const FileRecord& r) { return compiled.Matches(r); });
}

void BM_NameMatchPlain(benchmark::State& state, const char16_t* query) {
  const QueryGroups folded = FoldQueryGroups(ParseQueryGroups(query));
  const bool initials = folded.size() == 1 && folded[0].size() == 1 && IsInitialsTerm(folded[0][0]);
  Scan(state, [&](const FileRecord& r) {
    return MatchesQueryGroups(folded, r.lowerName()) ||
           (initials && MatchesInitials(r.name, r.nameLength, folded[0][0], Codec()));
  });
}

// The floor: the same scan reading one unit of each lower-case copy.
void BM_NameScanFloor(benchmark::State& state) {
  Scan(state, [](const FileRecord& r) { return r.lowerName()[0] == u'q'; });
}
BENCHMARK(BM_NameScanFloor);

#define NAME_MATCH_QUERIES(bench)                               \
  BENCHMARK_CAPTURE(bench, one_unit, u"q");                     \
  BENCHMARK_CAPTURE(bench, short_term, u"rep");                 \
  BENCHMARK_CAPTURE(bench, long_term, u"presentation");         \
  BENCHMARK_CAPTURE(bench, two_terms_and, u"report and 2019");  \
  BENCHMARK_CAPTURE(bench, two_terms_or, u"invoice or budget"); \
  BENCHMARK_CAPTURE(bench, initials, u"ndbg");                  \
  BENCHMARK_CAPTURE(bench, wildcard_end, u"*.pdf");             \
  BENCHMARK_CAPTURE(bench, wildcard_inner, u"rep*t*.do?x");

NAME_MATCH_QUERIES(BM_NameMatch)
NAME_MATCH_QUERIES(BM_NameMatchPlain)

}  // namespace
}  // namespace quillmor

BENCHMARK_MAIN();
