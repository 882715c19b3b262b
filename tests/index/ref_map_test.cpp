#include "index/ref_map.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>

namespace quillmor {
namespace {

class RefMapTest : public ::testing::Test {
 protected:
  void Append(uint64_t ref) {
    FileRecord r;
    r.fileRef = ref;
    records.push_back(r);
  }
  uint64_t Lookup(uint64_t ref) {
    uint64_t index = 12345;
    return map.Find(ref, index) ? index : ~uint64_t{1};
  }
  static constexpr uint64_t kAbsent = ~uint64_t{1};

  RecordSequence records;
  RefMap map{records};
};

TEST_F(RefMapTest, AssignAllMapsEveryRecordAndLaterDuplicateWins) {
  for (uint64_t ref : {0x0005000000000005ull, 0x0001000000000010ull, 0ull, 0x0001000000000010ull}) Append(ref);
  map.AssignAll();
  EXPECT_EQ(Lookup(0x0005000000000005ull), 0u);
  EXPECT_EQ(Lookup(0), 2u);
  EXPECT_EQ(Lookup(0x0001000000000010ull), 3u);
  EXPECT_EQ(Lookup(0x0002000000000010ull), kAbsent);  // same MFT slot, other sequence
  EXPECT_EQ(map.size(), 3u);
}

TEST_F(RefMapTest, NoRecordMarkerAndReassignment) {
  map.AssignNoRecord(kWalkRootRef);
  EXPECT_EQ(Lookup(kWalkRootRef), kNoRecord);
  map.Assign(kWalkRootRef, 0);
  Append(kWalkRootRef);
  EXPECT_EQ(Lookup(kWalkRootRef), 0u);
  map.AssignNoRecord(kWalkRootRef);
  EXPECT_EQ(Lookup(kWalkRootRef), kNoRecord);
  map.Clear();
  EXPECT_EQ(Lookup(kWalkRootRef), kAbsent);
}

TEST_F(RefMapTest, AgreesWithStandardMapThroughGrowth) {
  std::mt19937_64 rng(7);
  std::unordered_map<uint64_t, uint64_t> oracle;
  for (int i = 0; i < 50000; ++i) {
    // Many repeats, so that replacements happen as often as inserts.
    const uint64_t ref = rng() % 30000 * 0x10001;
    map.Assign(ref, records.size());
    Append(ref);
    oracle[ref] = records.size() - 1;
  }
  for (const auto& [ref, index] : oracle) ASSERT_EQ(Lookup(ref), index);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(Lookup(rng() | 1), kAbsent);
}

}  // namespace
}  // namespace quillmor
