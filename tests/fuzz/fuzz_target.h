// What each fuzz target file defines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Feeds one input to the parser under test. Must not crash, read or write out
// of bounds, or hang, whatever the bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// Well-formed inputs the bounded driver mutates (libFuzzer ignores them).
std::vector<std::vector<uint8_t>> QuillmorFuzzSeeds();
