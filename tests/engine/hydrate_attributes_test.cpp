#include "engine/hydrate_attributes.h"

#include "engine/attr_prewarm.h"
#include "platform/utf.h"
#include "tests/engine/sort_fixture.h"

namespace quillmor {
namespace {

// E: in the memory file system: "ten" holds 10 bytes, "gone" is not on disk.
class HydrateAttributesTest : public SortFixture {
 protected:
  HydrateAttributesTest() {
    AddWalkedDrive(u'E', u"exFAT");
    memory.AddFile(u"E:\\ten", std::string(10, 'x'));
    memory.SetTimes(u"E:\\ten", /*creation=*/111, /*lastWrite=*/222);
    volume = HandBuiltVolume(t.env, u"E:", {{u"ten"}, {u"gone"}});
  }
  VolumePtr volume;
};

TEST_F(HydrateAttributesTest, ReadsTheDiskOnceAndThenAnswersFromTheCache) {
  const uint64_t reads = g_attrCounters.diskReads, calls = g_attrCounters.hydrateCalls;
  const uint64_t generation = g_attrCounters.cacheGeneration, hits = g_attrCounters.hits;
  AttrEntry entry;
  HydrateAttributes(volume.get(), 0, entry);
  EXPECT_EQ(entry.size, 10u);
  EXPECT_EQ(entry.creationTime, 111u);
  EXPECT_EQ(entry.lastWriteTime, 222u);
  EXPECT_EQ(entry.known, 1);
  EXPECT_EQ(g_attrCounters.cacheGeneration, generation + 1);

  AttrEntry again;
  HydrateAttributes(volume.get(), 0, again);
  EXPECT_EQ(again.size, 10u);
  EXPECT_EQ(g_attrCounters.diskReads, reads + 1);
  EXPECT_EQ(g_attrCounters.hydrateCalls, calls + 2);
  EXPECT_EQ(g_attrCounters.hits, hits + 1);
  EXPECT_EQ(g_attrCounters.cacheGeneration, generation + 1);
}

TEST_F(HydrateAttributesTest, AnUnreadableFileIsCachedAsKnownZeros) {
  AttrEntry entry{5, 5, 5, 0};
  HydrateAttributes(volume.get(), 1, entry);
  EXPECT_EQ(entry.size, 0u);
  EXPECT_EQ(entry.lastWriteTime, 0u);
  EXPECT_EQ(entry.known, 1);
  const uint64_t reads = g_attrCounters.diskReads;
  HydrateAttributes(volume.get(), 1, entry);
  EXPECT_EQ(g_attrCounters.diskReads, reads);  // not read again
}

TEST_F(HydrateAttributesTest, LeavesTheEntryAloneWhenThereIsNothingToRead) {
  const AttrEntry untouched{7, 8, 9, 0};
  const uint64_t calls = g_attrCounters.hydrateCalls;
  AttrEntry entry = untouched;
  HydrateAttributes(nullptr, 0, entry);
  HydrateAttributes(volume.get(), 2, entry);  // out of range
  EXPECT_EQ(g_attrCounters.hydrateCalls, calls + 1);
  volume->available = 0;
  HydrateAttributes(volume.get(), 0, entry);
  EXPECT_EQ(g_attrCounters.hydrateCalls, calls + 1);  // an unavailable volume is not counted
  EXPECT_EQ(entry.size, untouched.size);
  EXPECT_EQ(entry.known, 0);
  EXPECT_EQ(AttrCacheSize(*volume), 0u);
}

TEST_F(HydrateAttributesTest, AFullCacheStillAnswersButDoesNotGrow) {
  {
    std::unique_lock lock(volume->attrsLock);
    volume->attrs.reserve(kMaxAttrEntriesPerVolume);
    for (uint64_t ref = 1; ref <= kMaxAttrEntriesPerVolume; ++ref)
      volume->attrs.emplace(0x100000000 + ref, AttrEntry{});
  }
  const uint64_t reads = g_attrCounters.diskReads;
  for (int i = 0; i < 2; ++i) {
    AttrEntry entry;
    HydrateAttributes(volume.get(), 0, entry);
    EXPECT_EQ(entry.size, 10u);
    EXPECT_EQ(entry.known, 1);
  }
  EXPECT_EQ(g_attrCounters.diskReads, reads + 2);  // a disk read every time
  EXPECT_EQ(AttrCacheSize(*volume), kMaxAttrEntriesPerVolume);

  // An entry already there is still replaced.
  {
    std::unique_lock lock(volume->attrsLock);
    volume->attrs.erase(volume->attrs.begin());
    volume->attrs.emplace(RefOf(0), AttrEntry{1, 1, 1, 0});
  }
  AttrEntry entry;
  HydrateAttributes(volume.get(), 0, entry);
  std::shared_lock lock(volume->attrsLock);
  EXPECT_EQ(volume->attrs.at(RefOf(0)).size, 10u);
}

class AttrPrewarmTest : public SortFixture {};

TEST_F(AttrPrewarmTest, FillsTheFirst3000RecordsOfVolumesWhoseCacheIsEmpty) {
  for (int i = 0; i < 3100; ++i) ntfsC.AddExistingFile(kRoot, U16("f" + std::to_string(i)));
  MountNtfs(u'C', ntfsC);
  const uint64_t d1 = ntfsD.AddExistingFile(kRoot, u"one");
  ntfsD.AddExistingFile(kRoot, u"two");
  MountNtfs(u'D', ntfsD);
  StartUp(2);
  VolumePtr c, d;
  for (const VolumePtr& v : engine->SnapshotVolumes()) (v->drive == u"C:" ? c : d) = v;
  {
    std::unique_lock lock(d->attrsLock);
    d->attrs[d1] = AttrEntry{1, 1, 1, 1};  // already warm: left alone
  }

  g_attrCache.prewarmPending = 0;
  SchedulePrewarm();
  EXPECT_EQ(g_attrCache.prewarmPending, 1);
  const uint64_t slept = t.clock.SleptMilliseconds();
  StartScheduledPrewarm(*engine);
  engine->PrewarmAttrCacheAsync();  // already running: nothing more
  WaitForBackgroundTasks();
  EXPECT_TRUE(PrewarmPollTick(*engine));
  EXPECT_EQ(g_attrCache.prewarmPending, 0);

  std::shared_lock lockC(c->attrsLock), lockD(d->attrsLock);
  EXPECT_EQ(c->attrs.size(), 3000u);
  EXPECT_EQ(d->attrs.size(), 1u);
  // 1 ms at every 128th record (0, 128, ..., 2944); the monitors may sleep too.
  EXPECT_GE(t.clock.SleptMilliseconds() - slept, 24u);
}

TEST_F(AttrPrewarmTest, PollWaitsWhileThePrewarmRuns) {
  SchedulePrewarm();
  engine->prewarmRunning = 1;
  EXPECT_FALSE(PrewarmPollTick(*engine));
  EXPECT_EQ(g_attrCache.prewarmPending, 1);
  engine->prewarmRunning = 0;
  EXPECT_TRUE(PrewarmPollTick(*engine));
  EXPECT_EQ(g_attrCache.prewarmPending, 0);
}

}  // namespace
}  // namespace quillmor
