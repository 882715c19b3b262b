#include "engine/folded_path_writer.h"

#include <gtest/gtest.h>

#include <shared_mutex>
#include <string>
#include <vector>

#include "platform/sim/test_env.h"
#include "platform/utf.h"
#include "tests/engine/nested_volume.h"

namespace quillmor {

TEST(FoldedPathWriterTest, WritesTheFoldedBuiltPathInAnyOrder) {
  TestEnv t;
  const VolumePtr e = NestedVolume(t.env);
  std::shared_lock lock(e->recordsLock);
  const uint32_t count = static_cast<uint32_t>(e->records.size());
  std::vector<uint32_t> forward, backward;
  for (uint32_t i = 0; i < count; ++i) forward.push_back(i);
  backward.assign(forward.rbegin(), forward.rend());

  for (const auto* order : {&forward, &backward}) {
    FoldedPathWriter writer;
    PageVector<char16_t> units;
    for (const uint32_t index : *order) {
      const TextSortKeys::Key key = writer.Append(*e, index, units);
      const std::u16string written = std::u16string(units.data() + key.head, key.headLength) +
                                     std::u16string(units.data() + key.tail, key.tailLength);
      std::u16string expected = e->BuildPath(index);
      for (char16_t& unit : expected) unit = FoldAsciiCase(unit);
      ASSERT_EQ(written, expected) << "record " << index;
    }
  }
}

}  // namespace quillmor
