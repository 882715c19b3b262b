// Content search over real files: about 500 MB of English-like text in a few
// hundred .txt files, generated once into a temporary directory, indexed as a
// walked drive and searched for a word that occurs in four of them, exactly
// as the window searches (s:WORD through DoSearchAsync, three workers).
// BM_RipgrepSameFiles runs `rg -l -F WORD DIR` on the same files for
// comparison (skipped when rg is missing). Both run with a warm page cache;
// use --benchmark_repetitions=N and compare the medians.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "engine/result_set.h"
#include "engine/search_engine.h"
#include "platform/env.h"
#include "platform/message_queue_poster.h"
#include "platform/shutdown.h"
#include "platform/sim/fake_system_info.h"
#include "platform/sim/fake_view_state.h"
#include "platform/sim/sample_data.h"
#include "search/search_pipeline.h"
#include "search/search_session.h"
#include "search/text_match.h"
#include "settings/background_task.h"
#include "settings/recent_opens.h"
#include "tools/directory_drives.h"

namespace quillmor {
namespace {

constexpr size_t kFiles = 400;
constexpr size_t kFileBytes = 1'250'000;     // 400 x 1.25 MB = 500 MB
constexpr const char* kWord = "periwinkle";  // not in the generator's vocabulary
constexpr size_t kFilesWithWord = 4;

// The text files, made at the first use and removed at exit.
struct Corpus {
  Corpus() {
    root = std::filesystem::temp_directory_path() / ("quillmor-content-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "text");
    std::filesystem::create_directories(root / "config");
    // One long text; each file is a slice of it from its own offset, so
    // the files differ while reading like prose.
    const std::string text = testing::EnglishLikeText(16 * kFileBytes, 11);
    testing::SampleRandom random(5);
    for (size_t i = 0; i < kFiles; ++i) {
      std::string bytes = text.substr(random.Below(static_cast<uint32_t>(text.size() - kFileBytes)), kFileBytes);
      if (i % (kFiles / kFilesWithWord) == kFiles / kFilesWithWord / 2) {
        bytes.replace(random.Below(kFileBytes - 100), 12, std::string(" ") + kWord + " ");
      }
      const std::filesystem::path folder = root / "text" / ("d" + std::to_string(i % 20));
      std::filesystem::create_directories(folder);
      std::ofstream(folder / ("f" + std::to_string(i) + ".txt"), std::ios::binary).write(bytes.data(), bytes.size());
      bytes_ += bytes.size();
    }
  }
  ~Corpus() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  std::filesystem::path root;
  uint64_t bytes_ = 0;
};

Corpus& Files() {
  static Corpus corpus;
  return corpus;
}

// The engine over the corpus as drive E:, and a session to search it.
struct Searcher {
  Searcher() : drives(*DefaultEnv().files) {
    env = DefaultEnv();
    env.windows = &poster;
    drives.Map(u'E', Files().root.u16string() + u"/text");
    env.files = &drives;
    system.documents = Files().root.u16string() + u"/config";
    system.tempPath = system.documents.value();
    env.system = &system;
    engine = std::make_unique<SearchEngine>(env);
    engine->InitBackground(poster.Window());
    Pump([](const QueuedMessage& m) { return m.message == WMU_VOLUMES_SYNCED; });
    results.window = poster.Window();
    session = std::make_unique<SearchSession>(env, *engine, results, view, recent, filters);
  }

  template <typename Done>
  void Pump(Done&& done) {
    QueuedMessage m;
    while (poster.WaitMessage(m)) {
      if (m.message == WMU_STATUS_TEXT) delete[] reinterpret_cast<char16_t*>(m.lParam);
      if (done(m)) return;
    }
  }

  // One search, until its final results arrive; returns the hit count.
  size_t Search(const std::u16string& query) {
    DoSearchAsync(*session, query, false, false);
    const uint64_t g = results.searchGeneration.load();
    Pump([&](const QueuedMessage& m) {
      return m.message == WMU_SEARCH_RESULTS && m.wParam == g && m.lParam == kResultsFinal;
    });
    const Results hits = SnapshotResults(results);
    return hits ? hits->size() : 0;
  }

  Env env;
  MessageQueuePoster poster;
  DirectoryDrives drives;
  FakeSystemInfo system;
  std::unique_ptr<SearchEngine> engine;
  ResultSet results;
  FakeViewState view;
  RecentOpenList recent;
  FilterState filters;
  std::unique_ptr<SearchSession> session;
};

void BM_ContentSearch(benchmark::State& state) {
  Searcher searcher;
  const std::u16string query = u"s:" + std::u16string(kWord, kWord + std::char_traits<char>::length(kWord));
  size_t hits = searcher.Search(query);  // warms the page cache
  for (auto _ : state) hits = searcher.Search(query);
  if (hits != kFilesWithWord) state.SkipWithError("wrong number of hits");
  state.counters["hits"] = static_cast<double>(hits);
  state.counters["files"] = static_cast<double>(searcher.session->contentCounters.candidates.load());
  state.SetBytesProcessed(
      static_cast<int64_t>(state.iterations() * searcher.session->contentCounters.bytesRead.load()));
}
BENCHMARK(BM_ContentSearch)->Unit(benchmark::kMillisecond)->UseRealTime();

// The inner loop alone: one term, in its three forms, looked for in 1 MiB of
// prose that does not hold it (the text stays in the processor's cache).
void BM_TermScan(benchmark::State& state) {
  const std::string text = testing::EnglishLikeText(1 << 20, 3);
  const std::vector<CompiledGroup> groups = CompileGroups({{u"periwinkle"}}, *DefaultEnv().text);
  for (auto _ : state) benchmark::DoNotOptimize(BufferMatchesGroups(text, groups, Generation{}));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_TermScan);

void BM_RipgrepSameFiles(benchmark::State& state) {
  if (std::system("rg --version > /dev/null 2>&1") != 0) {
    state.SkipWithError("rg is not installed");
    return;
  }
  const std::string command =
      std::string("rg -l -F ") + kWord + " " + (Files().root / "text").string() + " > /dev/null";
  std::system(command.c_str());  // warms the page cache
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("rg failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Files().bytes_));
}
BENCHMARK(BM_RipgrepSameFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quillmor

BENCHMARK_MAIN();
