// The attribute cache file is read back at every start: a damaged or foreign
// file must load what it can and never read past its end.
#include <cstring>
#include <memory>

#include "engine/attr_cache_file.h"
#include "platform/sim/test_env.h"
#include "tests/engine/attr_cache_bytes.h"
#include "tests/engine/hand_built_volume.h"
#include "tests/engine/memory_files.h"
#include "tests/fuzz/fuzz_target.h"

using namespace quillmor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exact-size heap copy, so AddressSanitizer sees any read past the end.
  auto bytes = std::make_unique<char[]>(size);
  if (size != 0) std::memcpy(bytes.get(), data, size);
  testing::MemoryReadableFile file(std::string_view(bytes.get(), size));

  static TestEnv t;
  static const std::vector<VolumePtr> volumes = {
      HandBuiltVolume(t.env, u"C:", {{u"a"}, {u"b"}, {u"c"}}, u"NTFS", 7),
      HandBuiltVolume(t.env, u"D:", {{u"x"}}, u"NTFS", 9),
  };
  LoadAttrCacheFile(file, volumes);
  return 0;
}

std::vector<std::vector<uint8_t>> QuillmorFuzzSeeds() {
  const std::string files[] = {
      CacheFileBytes()
          .Header(2)
          .Section(u'C', 7, 2)
          .Entry(0x100, 1, 2, 3)
          .Entry(0x102, 4, 5, 6)
          .Section(u'D', 8, 1)
          .Entry(0x100, 7, 8, 9)
          .str(),
      CacheFileBytes().Header(1).Section(u'C', 7, 1000001).Entry(0x101, 1, 1, 1).str(),
  };
  std::vector<std::vector<uint8_t>> seeds;
  for (const std::string& f : files) seeds.emplace_back(f.begin(), f.end());
  return seeds;
}
