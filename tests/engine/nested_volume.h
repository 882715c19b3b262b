// A hand-built volume whose paths test path building and path order.
#pragma once

#include <mutex>
#include <random>
#include <vector>

#include "tests/engine/hand_built_volume.h"

namespace quillmor {

// A volume of nested directories whose names sort around the separator
// ("b" beside "b.txt" and "b]x"), in both cases, with a reference cycle and a
// chain deeper than the ancestors a path keeps.
inline VolumePtr NestedVolume(Env& env) {
  std::vector<HandBuiltFile> files;
  const char16_t* names[] = {u"b", u"b.txt", u"b]x", u"B", u"b b", u"a", u"\u00E9", u"\u00C9"};
  for (int copy = 0; copy < 40; ++copy) {
    for (const char16_t* name : names) files.push_back({name, true});
  }
  const size_t cycleStart = files.size();
  files.push_back({u"loop1", true});
  files.push_back({u"loop2", true});
  const size_t deepStart = files.size();
  for (int i = 0; i < 120; ++i) files.push_back({u"d", true});
  VolumePtr volume = HandBuiltVolume(env, u"E:", files);

  std::unique_lock lock(volume->recordsLock);
  std::mt19937_64 rng(5);
  // Each of the first records under an earlier one (or the drive).
  for (size_t i = 1; i < cycleStart; ++i) {
    if (rng() % 5 != 0) volume->records[i].parentRef = RefOf(static_cast<uint32_t>(rng() % i));
  }
  volume->records[cycleStart].parentRef = RefOf(static_cast<uint32_t>(cycleStart + 1));
  volume->records[cycleStart + 1].parentRef = RefOf(static_cast<uint32_t>(cycleStart));
  for (size_t i = deepStart + 1; i < files.size(); ++i)
    volume->records[i].parentRef = RefOf(static_cast<uint32_t>(i - 1));
  return volume;
}

}  // namespace quillmor
