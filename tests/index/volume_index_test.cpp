#include "index/volume_index.h"

#include <gtest/gtest.h>

#include "platform/sim/test_env.h"

namespace quillmor {
namespace {

constexpr uint64_t kRoot = 0x0005000000000005ull;

class VolumeIndexTest : public ::testing::Test {
 protected:
  VolumeIndexTest() { volume.drive = u"C:"; }

  uint64_t Add(uint64_t ref, uint64_t parent, std::u16string_view name, bool directory = false) {
    FileRecord r;
    r.fileRef = ref;
    r.parentRef = parent;
    r.name = volume.AddName(name).data();
    r.nameLength = static_cast<uint16_t>(name.size());
    r.isDirectory = directory;
    volume.refToIndex.Assign(ref, volume.records.size());
    volume.records.push_back(r);
    return volume.records.size() - 1;
  }

  TestEnv t;
  VolumeIndex volume{t.env};
};

TEST_F(VolumeIndexTest, BuildPathResolvesThroughAncestors) {
  Add(kRoot, kRoot, u".", true);
  const uint64_t dir = Add(0x10, kRoot, u"dir", true);
  const uint64_t sub = Add(0x11, 0x10, u"sub", true);
  const uint64_t file = Add(0x12, 0x11, u"name.txt");
  const uint64_t top = Add(0x13, kRoot, u"top.txt");
  const uint64_t orphan = Add(0x14, 0x999, u"orphan");

  EXPECT_EQ(volume.BuildPath(file), u"C:\\dir\\sub\\name.txt");
  EXPECT_EQ(volume.BuildPath(top), u"C:\\top.txt");  // the root refers to itself and ends the chain
  EXPECT_EQ(volume.BuildPath(dir), u"C:\\dir");
  EXPECT_EQ(volume.BuildPath(orphan), u"C:\\orphan");  // missing parent
  EXPECT_EQ(volume.BuildPath(volume.records.size()), u"C:");
  EXPECT_EQ(volume.GetFullPath(sub), u"C:\\dir\\sub");
}

TEST_F(VolumeIndexTest, BuildPathOfWalkedTopLevelEntryStopsAtWalkRoot) {
  volume.drive = u"E:";
  volume.refToIndex.AssignNoRecord(kWalkRootRef);
  Add(kFirstSyntheticRef, kWalkRootRef, u"a", true);
  const uint64_t b = Add(kFirstSyntheticRef + 1, kFirstSyntheticRef, u"b.txt");
  EXPECT_EQ(volume.BuildPath(b), u"E:\\a\\b.txt");
}

TEST_F(VolumeIndexTest, BuildPathKeepsNearestHundredAncestors) {
  Add(kRoot, kRoot, u".", true);
  uint64_t parent = kRoot;
  for (int i = 1; i <= 150; ++i) {
    Add(0x100 + i, parent, u"d" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)), true);
    parent = 0x100 + i;
  }
  const uint64_t file = Add(0x1000, parent, u"f");
  const std::u16string path = volume.BuildPath(file);
  // C: + 100 × "\dN" + "\f"
  EXPECT_EQ(path.size(), 2 + 100 * 3 + 2);
  EXPECT_EQ(path.substr(0, 6), u"C:\\d1\\");  // directory 51 is the topmost kept
  EXPECT_EQ(path.substr(path.size() - 5), u"\\d0\\f");
}

TEST_F(VolumeIndexTest, BuildPathSurvivesReferenceCycle) {
  Add(0x20, 0x21, u"a", true);
  const uint64_t b = Add(0x21, 0x20, u"b", true);
  const std::u16string path = volume.BuildPath(b);
  EXPECT_EQ(path.size(), 2 + 101 * 2);
  EXPECT_EQ(path.substr(path.size() - 4), u"\\a\\b");
}

TEST_F(VolumeIndexTest, RenameRecordKeepsOldTextAndIgnoresDeletedOrOutOfRange) {
  Add(kRoot, kRoot, u".", true);
  const uint64_t file = Add(0x30, kRoot, u"Old.txt");
  const char16_t* oldName = volume.records[file].name;
  volume.RenameRecord(file, u"New.TXT");
  EXPECT_EQ(volume.GetFullPath(file), u"C:\\New.TXT");
  EXPECT_EQ(std::u16string(volume.records[file].lowerName()), u"new.txt");
  EXPECT_EQ(std::u16string(oldName, 7), u"Old.txt");  // still in the pool
  EXPECT_EQ(volume.records[file].nameMayHoldCjk, 0u);
  volume.RenameRecord(file, u"会议.txt");
  EXPECT_EQ(volume.records[file].nameMayHoldCjk, 1u);
  volume.RenameRecord(file, u"New.TXT");
  EXPECT_EQ(volume.records[file].nameMayHoldCjk, 0u);

  volume.records[file].deleted = 1;
  volume.RenameRecord(file, u"Other");
  volume.RenameRecord(99, u"Other");
  EXPECT_EQ(volume.GetFullPath(file), u"C:\\New.TXT");
}

TEST_F(VolumeIndexTest, LookupAttributesCountsHitsAndMisses) {
  const uint64_t hits = g_attrCounters.hits, misses = g_attrCounters.misses;
  volume.attrs[7] = AttrEntry{10, 20, 30, 1};
  volume.attrs[8] = AttrEntry{0, 0, 0, 0};
  AttrEntry out{1, 2, 3, 0};
  EXPECT_EQ(volume.LookupAttributes(7, out), 1);
  EXPECT_EQ(out.size, 10u);
  EXPECT_EQ(volume.LookupAttributes(8, out), 0);
  AttrEntry untouched{1, 2, 3, 0};
  EXPECT_EQ(volume.LookupAttributes(9, untouched), 0);
  EXPECT_EQ(untouched.size, 1u);
  EXPECT_EQ(g_attrCounters.hits - hits, 1u);
  EXPECT_EQ(g_attrCounters.misses - misses, 2u);
}

TEST_F(VolumeIndexTest, CloseVolumeWithoutHandleStillPauses) {
  const uint64_t before = t.clock.SleptMilliseconds();
  volume.CloseVolume();
  EXPECT_EQ(t.clock.SleptMilliseconds() - before, 300u);
}

}  // namespace
}  // namespace quillmor
