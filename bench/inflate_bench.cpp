// Raw DEFLATE decoding speed: our decoder and zlib's inflate on the same
// stream, about 100 MB of English-like text compressed by zlib at level 6
// (the level office suites use). Both decode into a buffer of the exact
// size, as document extraction does. mb_per_s counts output megabytes
// (10^6 bytes) per second.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/inflate.h"
#include "platform/sim/sample_data.h"

namespace {

constexpr size_t kTextSize = 100 * 1000 * 1000;

struct Corpus {
  std::string text;
  std::vector<uint8_t> stream;
};

const Corpus& TextCorpus() {
  static const Corpus corpus = [] {
    Corpus c;
    c.text = quillmor::testing::EnglishLikeText(kTextSize);
    z_stream s{};
    deflateInit2(&s, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    c.stream.resize(deflateBound(&s, c.text.size()));
    s.next_in = reinterpret_cast<Bytef*>(c.text.data());
    s.avail_in = static_cast<uInt>(c.text.size());
    s.next_out = c.stream.data();
    s.avail_out = static_cast<uInt>(c.stream.size());
    if (deflate(&s, Z_FINISH) != Z_STREAM_END) std::fprintf(stderr, "deflate failed\n");
    c.stream.resize(s.total_out);
    deflateEnd(&s);
    return c;
  }();
  return corpus;
}

void ReportThroughput(benchmark::State& state, size_t bytesPerIteration) {
  const double bytes = static_cast<double>(bytesPerIteration) * static_cast<double>(state.iterations());
  state.counters["mb_per_s"] = benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

void BM_Inflate(benchmark::State& state) {
  const Corpus& corpus = TextCorpus();
  std::vector<uint8_t> out(corpus.text.size());
  for (auto _ : state) {
    const quillmor::InflateResult r = quillmor::InflateRaw(corpus.stream, out);
    if (!r.ok() || r.produced != out.size()) state.SkipWithError(quillmor::InflateErrorText(r.error));
    benchmark::DoNotOptimize(out.data());
  }
  if (std::string_view(reinterpret_cast<const char*>(out.data()), out.size()) != corpus.text) {
    state.SkipWithError("output differs from the text");
  }
  ReportThroughput(state, out.size());
  state.SetLabel(std::to_string(corpus.text.size()) + " bytes from " + std::to_string(corpus.stream.size()));
}
BENCHMARK(BM_Inflate)->Unit(benchmark::kMillisecond);

void BM_InflateZlib(benchmark::State& state) {
  const Corpus& corpus = TextCorpus();
  std::vector<uint8_t> out(corpus.text.size());
  for (auto _ : state) {
    z_stream s{};
    inflateInit2(&s, -15);
    s.next_in = const_cast<Bytef*>(corpus.stream.data());
    s.avail_in = static_cast<uInt>(corpus.stream.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    if (inflate(&s, Z_FINISH) != Z_STREAM_END || s.total_out != out.size()) state.SkipWithError("zlib failed");
    inflateEnd(&s);
    benchmark::DoNotOptimize(out.data());
  }
  ReportThroughput(state, out.size());
}
BENCHMARK(BM_InflateZlib)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
