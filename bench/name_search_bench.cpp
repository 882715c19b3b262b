// How long one complete name search takes, the way the search job runs it:
// the query parsed, folded and compiled once, EnumerateNames over a snapshot
// of the volumes, every hit appended in order to the result vector. The
// volume is a realistic one indexed from a simulated NTFS volume, of a
// million and of ten million records, built once per process on first use.
// Initial search is on, as it is by default, so a one-term query of letters
// also runs the initials rule on every name that does not contain it.
//
// BM_NameSearch/<case>/<records>:
//   typical     "report", a common word of file names
//   rare        a term only a handful of names hold
//   one_letter  "i", which about three names in four hold
//   and_query   "report and 2019"
//   wildcard        "*.pdf", a pattern tied to the name's end
//   wildcard_inner  "rep*t*.do?x", pieces at both ends and between
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/volume_generator.h"
#include "engine/match_item.h"
#include "index/ntfs_enumeration.h"
#include "platform/sim/iconv_text_codec.h"
#include "platform/sim/test_env.h"
#include "search/compiled_name_query.h"
#include "search/name_enumeration.h"
#include "search/query_groups.h"
#include "search/search_pipeline.h"

namespace quillmor {
namespace {

// An indexed volume of `records` records, with the simulated disk it was
// built from released.
struct IndexedVolume {
  explicit IndexedVolume(size_t records) {
    auto disk = std::make_unique<SimulatedNtfsVolume>();
    GenerateRealisticVolume(*disk, records);
    SimulatedVolumeDevices devices;
    devices.Mount(u'C', *disk);
    t.env.volumes = &devices;
    auto index = std::make_shared<VolumeIndex>(t.env);
    built = IndexNtfsVolume(*index, u"C:");
    index->CloseVolume();  // the monitor and the device go before the disk
    t.env.volumes = nullptr;
    snapshot.push_back(std::move(index));
  }
  TestEnv t;
  std::vector<VolumePtr> snapshot;
  bool built = false;
};

IndexedVolume& Volume(size_t records) {
  static std::map<size_t, std::unique_ptr<IndexedVolume>> volumes;
  std::unique_ptr<IndexedVolume>& volume = volumes[records];
  if (!volume) volume = std::make_unique<IndexedVolume>(records);
  return *volume;
}

IconvTextCodec& Codec() {
  static IconvTextCodec codec;
  return codec;
}

void BM_NameSearch(benchmark::State& state, const char16_t* query, size_t records) {
  IndexedVolume& volume = Volume(records);
  if (!volume.built) {
    state.SkipWithError("build failed");
    return;
  }
  const ResolvedScope scope = ResolveScope(kScopeAll, u"");
  std::atomic<uint64_t> searchGeneration{1};
  size_t hits = 0;
  for (auto _ : state) {
    const CompiledNameQuery compiled(FoldQueryGroups(ParseQueryGroups(query)), /*initialSearch=*/true, Codec());
    std::vector<MatchItem> items;
    items.reserve(kResultReserve);
    const bool complete = EnumerateNames(compiled, scope, volume.snapshot, Generation{&searchGeneration, 1},
                                         [&](VolumeIndex* v, uint64_t i) {
                                           items.push_back({v, static_cast<uint32_t>(i)});
                                         });
    if (!complete) state.SkipWithError("search abandoned");
    hits = items.size();
    benchmark::DoNotOptimize(items.data());
  }
  const size_t names = volume.snapshot[0]->records.size();
  state.counters["hits"] = static_cast<double>(hits);
  state.counters["hit_ratio"] = static_cast<double>(hits) / static_cast<double>(names);
  state.counters["names_per_s"] =
      benchmark::Counter(static_cast<double>(names), benchmark::Counter::kIsIterationInvariantRate);
}

struct Case {
  const char* name;
  const char16_t* query;
};

const Case kCases[] = {
    {"typical", u"report"}, {"rare", u"budget_report_v7"},      {"one_letter", u"i"}, {"and_query", u"report and 2019"},
    {"wildcard", u"*.pdf"}, {"wildcard_inner", u"rep*t*.do?x"},
};

const int kRegistered = [] {
  for (const size_t records : {size_t{1'000'000}, size_t{10'000'000}}) {
    for (const Case& c : kCases) {
      const std::string name = std::string("BM_NameSearch/") + c.name + "/" + std::to_string(records);
      benchmark::RegisterBenchmark(name.c_str(), BM_NameSearch, c.query, records)
          ->UseRealTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
  return 0;
}();

}  // namespace
}  // namespace quillmor

BENCHMARK_MAIN();
