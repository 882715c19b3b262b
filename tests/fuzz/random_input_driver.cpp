// Runs a fuzz target (LLVMFuzzerTestOneInput) for a bounded time on random
// inputs and on mutations of the seed inputs the target offers, so that every
// parser of untrusted bytes is exercised in each test run, under AddressSanitizer
// in the linux-asan build. The same target files also build as libFuzzer
// programs with clang.
//
// Time budget: QUILLMOR_FUZZ_SECONDS (default 5). The test presets set it per
// build: longest under AddressSanitizer, one second under Wine, where the
// native runs have covered the same parsers at length already. The random
// seed is printed so a failure can be replayed with QUILLMOR_FUZZ_SEED.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "tests/fuzz/fuzz_target.h"

int main() {
  const char* secondsText = std::getenv("QUILLMOR_FUZZ_SECONDS");
  const double seconds = secondsText ? std::atof(secondsText) : 5.0;
  const char* seedText = std::getenv("QUILLMOR_FUZZ_SEED");
  const uint64_t seed = seedText ? std::strtoull(seedText, nullptr, 10) : std::random_device{}();
  std::printf("fuzz seed %llu, %.0f s\n", static_cast<unsigned long long>(seed), seconds);
  std::fflush(stdout);

  std::mt19937_64 rng(seed);
  const std::vector<std::vector<uint8_t>> seeds = QuillmorFuzzSeeds();
  for (const auto& s : seeds) LLVMFuzzerTestOneInput(s.data(), s.size());

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  uint64_t runs = 0;
  std::vector<uint8_t> input;
  while (std::chrono::steady_clock::now() < deadline) {
    for (int batch = 0; batch < 64; ++batch, ++runs) {
      if (!seeds.empty() && rng() % 4 != 0) {
        // Mutate a seed: flip bytes, overwrite with boundary values, cut or extend.
        input = seeds[rng() % seeds.size()];
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits && !input.empty(); ++e) {
          const size_t at = rng() % input.size();
          switch (rng() % 5) {
            case 0:
              input[at] ^= static_cast<uint8_t>(1u << (rng() % 8));
              break;
            case 1:
              input[at] = static_cast<uint8_t>(rng());
              break;
            case 2:
              input[at] = (rng() % 2) ? 0xFF : 0x00;
              break;
            case 3:
              input.resize(at);
              break;
            case 4:
              input.insert(input.begin() + at, static_cast<uint8_t>(rng()));
              break;
          }
        }
      } else {
        input.resize(rng() % 4096);
        for (auto& b : input) b = static_cast<uint8_t>(rng());
      }
      LLVMFuzzerTestOneInput(input.data(), input.size());
    }
  }
  std::printf("%llu inputs\n", static_cast<unsigned long long>(runs));
  return 0;
}
