#include "engine/attr_cache_file.h"

#include <algorithm>

#include "engine/attr_cache_autosave.h"
#include "engine/attr_cache_summary.h"
#include "platform/thread.h"
#include "platform/utf.h"
#include "tests/engine/attr_cache_bytes.h"
#include "tests/engine/attr_cache_test_support.h"
#include "tests/engine/engine_fixture.h"
#include "tests/engine/hand_built_volume.h"
#include "tests/engine/memory_files.h"

namespace quillmor {
namespace {

class AttrCacheFileTest : public EngineFixture {
 protected:
  AttrCacheFileTest() { ResetAttrCacheState(0); }

  std::u16string CachePath() { return AttrCacheFilePath(t.env); }
  std::string CacheBytes() { return memory.Contents(CachePath()).value_or("<none>"); }
  // Whether the log has a line "<word> ms=<any number><rest>": the journal
  // monitors sleep on the shared clock, so the time is not fixed.
  bool HasTimedLine(const std::string& word, const std::string& rest) {
    const std::string log = Log();
    for (size_t at = log.find("] " + word + " ms="); at != std::string::npos;
         at = log.find("] " + word + " ms=", at + 1)) {
      const size_t digits = at + word.size() + 6;
      const size_t end = log.find_first_not_of("0123456789", digits);
      if (end != digits && log.compare(end, rest.size(), rest) == 0) return true;
    }
    return false;
  }
  static size_t Count(const std::string& text, const std::string& word) {
    size_t n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
  }

  static void Put(VolumeIndex& volume, uint64_t fileRef, AttrEntry entry) {
    std::unique_lock lock(volume.attrsLock);
    volume.attrs[fileRef] = entry;
  }
  static std::unordered_map<uint64_t, AttrEntry> Attrs(VolumeIndex& volume) {
    std::shared_lock lock(volume.attrsLock);
    return volume.attrs;
  }

  // C: (NTFS) with a, b, c, d; D: (NTFS) with x. Returns the refs of C:.
  std::vector<uint64_t> TwoNtfsDrives() {
    std::vector<uint64_t> refs;
    for (const char16_t* name : {u"a", u"b", u"c", u"d"}) refs.push_back(ntfsC.AddExistingFile(kRoot, name));
    ntfsD.AddExistingFile(kRoot, u"x");
    MountNtfs(u'C', ntfsC);
    MountNtfs(u'D', ntfsD);
    StartUp(2);
    return refs;
  }
};

TEST_F(AttrCacheFileTest, StartUpWritesTheMissingFileAndASaveOfThreeAndZeroEntriesTakes139Bytes) {
  const std::vector<uint64_t> refs = TwoNtfsDrives();
  const uint64_t idC = ntfsC.Journal().id, idD = ntfsD.Journal().id;
  EXPECT_EQ(CacheBytes(), CacheFileBytes().Header(2).Section(u'C', idC, 0).Section(u'D', idD, 0).str());

  const VolumePtr c = VolumeOf(u"C:");
  Put(*c, refs[0], {10, 100, 1000, 1});
  Put(*c, refs[1], {20, 200, 2000, 1});
  Put(*c, refs[2], {0xFFFFFFFFFFull, 0x01DA000000000000ull, 0x01D9000000000001ull, 1});
  Put(*c, refs[3], {99, 99, 99, 0});  // not known: not written
  ASSERT_TRUE(SaveAttrCache(*engine));

  const std::string bytes = CacheBytes();
  ASSERT_EQ(bytes.size(), 139u);
  EXPECT_EQ(bytes.substr(0, 14), std::string("HCSV\x01\0\0\0\x02\0\0\0C\0", 14));
  // Entries follow in no particular order: compare them as a set.
  std::vector<std::string> written,
      expected = {
          CacheFileBytes().Entry(refs[0], 10, 100, 1000).str(),
          CacheFileBytes().Entry(refs[1], 20, 200, 2000).str(),
          CacheFileBytes().Entry(refs[2], 0xFFFFFFFFFFull, 0x01DA000000000000ull, 0x01D9000000000001ull).str(),
      };
  for (int i = 0; i < 3; ++i) written.push_back(bytes.substr(26 + 33 * i, 33));
  std::sort(written.begin(), written.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(written, expected);
  EXPECT_EQ(bytes.substr(0, 26), CacheFileBytes().Header(2).Section(u'C', idC, 3).str());
  EXPECT_EQ(bytes.substr(125), CacheFileBytes().Section(u'D', idD, 0).str());
  EXPECT_TRUE(HasTimedLine("cache_save", " path=.\\Quillmor\\config\\attrcache.v1.bin entries=3 bytes=139\r\n"));
  EXPECT_EQ(g_attrCounters.savedGeneration, g_attrCounters.cacheGeneration);
}

TEST_F(AttrCacheFileTest, RoundTripRestoresEveryKnownEntry) {
  const std::vector<uint64_t> refs = TwoNtfsDrives();
  const VolumePtr c = VolumeOf(u"C:"), d = VolumeOf(u"D:");
  Put(*c, refs[0], {1, 2, 3, 1});
  Put(*c, refs[3], {4, 5, 6, 1});
  ASSERT_TRUE(SaveAttrCache(*engine));
  const auto before = Attrs(*c);
  {
    std::unique_lock lock(c->attrsLock);
    c->attrs.clear();
    c->attrs[refs[1]] = {7, 7, 7, 1};  // replaced by the load
  }

  const uint64_t generation = g_attrCounters.cacheGeneration;
  LoadAttrCache(*engine);
  const auto after = Attrs(*c);
  ASSERT_EQ(after.size(), before.size());
  for (const auto& [ref, entry] : before) {
    ASSERT_TRUE(after.count(ref));
    EXPECT_EQ(after.at(ref).size, entry.size);
    EXPECT_EQ(after.at(ref).lastWriteTime, entry.lastWriteTime);
    EXPECT_EQ(after.at(ref).creationTime, entry.creationTime);
    EXPECT_EQ(after.at(ref).known, 1);
  }
  EXPECT_TRUE(Attrs(*d).empty());
  EXPECT_EQ(g_attrCounters.cacheGeneration, generation + 1);
  EXPECT_EQ(g_attrCounters.savedGeneration, g_attrCounters.cacheGeneration);
  EXPECT_TRUE(HasTimedLine("cache_load", " path=.\\Quillmor\\config\\attrcache.v1.bin entries=2 bytes=106\r\n"));
}

TEST_F(AttrCacheFileTest, VersionTwoIsIgnoredAndLeftUntouchedByStartUp) {
  const std::string version2 = CacheFileBytes().Header(1, 2).Section(u'C', 1, 0).str();
  memory.AddFile(AttrCacheFilePath(t.env), version2);
  TwoNtfsDrives();
  EXPECT_EQ(CacheBytes(), version2);
  EXPECT_EQ(Log().find("cache_load"), std::string::npos);
  EXPECT_EQ(Log().find("cache_save"), std::string::npos);
  // The first later save replaces it.
  ASSERT_TRUE(SaveAttrCache(*engine));
  EXPECT_EQ(CacheBytes().substr(4, 4), std::string("\x01\0\0\0", 4));
}

TEST_F(AttrCacheFileTest, AFileWithNoSectionsLoadsNothingAndIsKept) {
  const std::string empty = CacheFileBytes().Header(0).str();
  memory.AddFile(AttrCacheFilePath(t.env), empty);
  TwoNtfsDrives();
  EXPECT_TRUE(HasTimedLine("cache_load", " path=.\\Quillmor\\config\\attrcache.v1.bin entries=0 bytes=12\r\n"));
  EXPECT_EQ(CacheBytes(), empty);  // it exists, so start-up does not write it
}

TEST_F(AttrCacheFileTest, SaveInterruptedHalfWayLeavesThePreviousFileIntact) {
  const std::vector<uint64_t> refs = TwoNtfsDrives();
  const VolumePtr c = VolumeOf(u"C:");
  Put(*c, refs[0], {1, 2, 3, 1});
  ASSERT_TRUE(SaveAttrCache(*engine));
  const std::string previous = CacheBytes();
  const size_t saves = Count(Log(), "] cache_save ");

  Put(*c, refs[1], {4, 5, 6, 1});
  ++g_attrCounters.cacheGeneration;  // as a hydration would
  memory.FailNextWrites(1);          // the disk fills up half-way through
  EXPECT_FALSE(SaveAttrCache(*engine));
  EXPECT_EQ(CacheBytes(), previous);
  EXPECT_FALSE(memory.Exists(CachePath() + u".tmp"));
  EXPECT_EQ(Count(Log(), "] cache_save "), saves);
  EXPECT_GT(g_attrCounters.cacheGeneration, g_attrCounters.savedGeneration);  // still dirty: the next tick retries

  memory.RefuseWritesUnder(u".\\Quillmor\\config");
  EXPECT_FALSE(SaveAttrCache(*engine));
  EXPECT_EQ(CacheBytes(), previous);
  memory.ClearFaults();
  EXPECT_TRUE(SaveAttrCache(*engine));
  EXPECT_EQ(CacheBytes().size(), 12u + 2 * 14 + 2 * 33);
}

TEST_F(AttrCacheFileTest, ConcurrentSavesNeverWriteAtTheSameTime) {
  const std::vector<uint64_t> refs = TwoNtfsDrives();
  const VolumePtr c = VolumeOf(u"C:");
  // Saves that overlapped would share the temporary file, and one of them
  // would find it already moved away.
  std::vector<Thread> threads;
  std::atomic<int> failures{0};
  for (int k = 0; k < 4; ++k) {
    threads.emplace_back([&, k] {
      for (int i = 0; i < 10; ++i) {
        Put(*c, refs[(k + i) % refs.size()], {uint64_t(i), 0, 0, 1});
        if (!SaveAttrCache(*engine)) ++failures;
      }
    });
  }
  for (Thread& thread : threads) thread.join();
  EXPECT_EQ(failures, 0);
  const std::string bytes = CacheBytes();
  testing::MemoryReadableFile file(bytes);
  const AttrCacheLoadResult reread = LoadAttrCacheFile(file, engine->SnapshotVolumes());
  EXPECT_TRUE(reread.headerValid);
  EXPECT_EQ(reread.bytes, bytes.size());
  EXPECT_EQ(reread.entries, refs.size());
}

TEST_F(AttrCacheFileTest, OnlyJournalBuiltVolumesAreWritten) {
  ntfsC.AddExistingFile(kRoot, u"a");
  MountNtfs(u'C', ntfsC);
  const uint64_t walkedRef = ntfsD.AddExistingFile(kRoot, u"w");
  ntfsD.SetJournalUnsupported(true);  // walked: made-up references
  MountNtfs(u'D', ntfsD);
  AddWalkedDrive(u'E', u"exFAT");
  memory.AddFile(u"E:\\e.txt", "e");
  StartUp(2);
  for (const VolumePtr& v : engine->SnapshotVolumes()) Put(*v, walkedRef, {1, 1, 1, 1});
  ASSERT_TRUE(SaveAttrCache(*engine));
  const std::string bytes = CacheBytes();
  ASSERT_EQ(bytes.size(), 12u + 14 + 33);
  EXPECT_EQ(bytes.substr(8, 6), std::string("\x01\0\0\0C\0", 6));
}

// Loading bytes into hand-built volumes: C: (NTFS, journal 7) holds the
// references 0x100 to 0x104.
class AttrCacheLoadTest : public ::testing::Test {
 protected:
  AttrCacheLoadTest() {
    volumes.push_back(HandBuiltVolume(t.env, u"C:", {{u"a"}, {u"b"}, {u"c"}, {u"d"}, {u"e"}}, u"NTFS", 7));
  }
  AttrCacheLoadResult Load(const std::string& bytes) {
    testing::MemoryReadableFile file(bytes);
    return LoadAttrCacheFile(file, volumes);
  }
  std::unordered_map<uint64_t, AttrEntry> Attrs() {
    std::shared_lock lock(volumes[0]->attrsLock);
    return volumes[0]->attrs;
  }

  TestEnv t;
  std::vector<VolumePtr> volumes;
};

TEST_F(AttrCacheLoadTest, UntrustedFilesLoadWhatTheyCanAndNothingElse) {
  const uint64_t kSection = 12 + 14;
  struct Case {
    const char* name;
    std::string bytes;
    bool headerValid;
    uint64_t entries;
    uint64_t bytesRead;
  };
  const Case cases[] = {
      {"no sections", CacheFileBytes().Header(0).str(), true, 0, 12},
      {"empty file", "", false, 0, 0},
      {"short header", CacheFileBytes().Header(0).str().substr(0, 11), false, 0, 0},
      {"wrong magic", "HCSW" + CacheFileBytes().Header(0).str().substr(4), false, 0, 0},
      {"version 2", CacheFileBytes().Header(0, 2).str(), false, 0, 0},
      {"truncated entry",
       CacheFileBytes().Header(1).Section(u'C', 7, 3).Entry(0x100, 1, 1, 1).Entry(0x101, 1, 1, 1).str() + "xxxxx", true,
       2, kSection + 66},
      {"truncated section header",
       CacheFileBytes().Header(2).Section(u'C', 7, 1).Entry(0x100, 1, 1, 1).str() + std::string("C\0\0", 3), true, 1,
       kSection + 33},
      {"more sections announced than present", CacheFileBytes().Header(4000000000u).Section(u'C', 7, 0).str(), true, 0,
       kSection},
      {"another journal still fills the same letter",
       CacheFileBytes().Header(1).Section(u'C', 99, 1).Entry(0x102, 5, 5, 5).str(), true, 1, kSection + 33},
      {"files that are gone are dropped",
       CacheFileBytes()
           .Header(1)
           .Section(u'C', 7, 3)
           .Entry(0x100, 1, 1, 1)
           .Entry(0x999, 1, 1, 1)
           .Entry(0x104, 1, 1, 1)
           .str(),
       true, 2, kSection + 99},
      {"a drive not indexed is skipped",
       CacheFileBytes()
           .Header(2)
           .Section(u'Z', 7, 2)
           .Entry(0x100, 1, 1, 1)
           .Entry(0x101, 1, 1, 1)
           .Section(u'C', 7, 1)
           .Entry(0x103, 1, 1, 1)
           .str(),
       true, 1, kSection + 66 + 14 + 33},
      // Only the first entries are present: a skipped section seeks past the
      // end of the file, a read one loads them and stops.
      {"1,000,001 entries are skipped",
       CacheFileBytes().Header(1).Section(u'C', 7, 1000001).Entry(0x100, 1, 1, 1).Entry(0x101, 1, 1, 1).str(), true, 0,
       kSection + 33ull * 1000001},
      {"1,000,000 entries are read",
       CacheFileBytes().Header(1).Section(u'C', 7, 1000000).Entry(0x100, 1, 1, 1).Entry(0x101, 1, 1, 1).str(), true, 2,
       kSection + 66},
      {"4 billion entries are skipped",
       CacheFileBytes().Header(2).Section(u'C', 7, 0xFFFFFFFFu).Section(u'C', 7, 1).Entry(0x100, 1, 1, 1).str(), true,
       0, kSection + 33ull * 0xFFFFFFFFu},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      std::unique_lock lock(volumes[0]->attrsLock);
      volumes[0]->attrs = {{0x103, AttrEntry{1, 1, 1, 1}}};
    }
    const AttrCacheLoadResult result = Load(c.bytes);
    EXPECT_EQ(result.headerValid, c.headerValid);
    EXPECT_EQ(result.entries, c.entries);
    EXPECT_EQ(result.bytes, c.bytesRead);
    if (!c.headerValid) {
      EXPECT_EQ(Attrs().size(), 1u);  // nothing changed
    }
  }
}

// A cut entry was not consumed: with sections still announced, its bytes were
// read as a section header for C: and emptied C:'s map, loaded just before.
// 126 bytes: C: with one entry, then D: announcing two, the second cut at 20
// bytes whose first two bytes spell 'C'.
TEST_F(AttrCacheLoadTest, CutSectionStopsTheLoadAndKeepsWhatWasRead) {
  volumes.push_back(HandBuiltVolume(t.env, u"D:", {{u"x"}}, u"NTFS", 9));
  const std::string file = CacheFileBytes()
                               .Header(3)
                               .Section(u'C', 7, 1)
                               .Entry(0x100, 1, 2, 3)
                               .Section(u'D', 9, 2)
                               .Entry(0x100, 4, 5, 6)
                               .Raw(CacheFileBytes().Entry(u'C', 0, 0, 0).str().substr(0, 20))
                               .str();
  ASSERT_EQ(file.size(), 126u);
  const AttrCacheLoadResult result = Load(file);
  EXPECT_EQ(result.entries, 2u);
  EXPECT_EQ(result.bytes, 106u);
  ASSERT_EQ(Attrs().size(), 1u);
  EXPECT_EQ(Attrs().at(0x100).size, 1u);
  EXPECT_EQ(volumes[1]->attrs.size(), 1u);
}

// An attrcache.v1.bin of 2 GiB with a bad magic was read whole (2.1 GB
// resident) before its header was looked at. The header is now read alone,
// and the sections a block at a time.
TEST_F(AttrCacheLoadTest, HeaderIsCheckedFirstAndSectionsAreReadInBlocks) {
  const std::string junk = "HCSW" + std::string(4 << 20, 'j');
  testing::MemoryReadableFile foreign(junk);
  EXPECT_FALSE(LoadAttrCacheFile(foreign, volumes).headerValid);
  ASSERT_EQ(foreign.reads.size(), 1u);
  EXPECT_EQ(foreign.reads[0], std::make_pair(uint64_t{0}, size_t{12}));

  CacheFileBytes big;
  big.Header(1).Section(u'C', 7, 40000);
  for (uint64_t i = 0; i < 40000; ++i) big.Entry(0x100 + i % 5, i, i, i);
  testing::MemoryReadableFile file(big.str());
  const AttrCacheLoadResult result = LoadAttrCacheFile(file, volumes);
  EXPECT_EQ(result.entries, 40000u);
  EXPECT_EQ(result.bytes, big.str().size());
  EXPECT_EQ(Attrs().at(0x104).size, 39999u);
  EXPECT_GT(file.reads.size(), 2u);
  for (const auto& [offset, length] : file.reads) EXPECT_LE(length, 256u * 1024) << "at " << offset;
}

TEST_F(AttrCacheLoadTest, LaterDuplicatesWinAndAnyNonZeroKnownByteCounts) {
  const AttrCacheLoadResult result = Load(CacheFileBytes()
                                              .Header(1)
                                              .Section(u'C', 7, 3)
                                              .Entry(0x100, 1, 2, 3)
                                              .Entry(0x100, 4, 5, 6, 7)
                                              .Entry(0x101, 8, 9, 10, 0)
                                              .str());
  EXPECT_EQ(result.entries, 3u);
  const auto attrs = Attrs();
  ASSERT_EQ(attrs.size(), 2u);
  EXPECT_EQ(attrs.at(0x100).size, 4u);
  EXPECT_EQ(attrs.at(0x100).creationTime, 6u);
  EXPECT_EQ(attrs.at(0x100).known, 1);
  EXPECT_EQ(attrs.at(0x101).known, 0);
}

TEST_F(AttrCacheLoadTest, SectionGoesToTheVolumeOfItsJournalBeforeAnotherOfTheSameLetter) {
  // An old volume of C: the set has dropped, beside its successor.
  volumes.insert(volumes.begin(), HandBuiltVolume(t.env, u"C:", {{u"a"}, {u"b"}}, u"NTFS", 3));
  Load(CacheFileBytes().Header(1).Section(u'C', 7, 1).Entry(0x100, 1, 1, 1).str());
  EXPECT_TRUE(volumes[0]->attrs.empty());
  EXPECT_EQ(volumes[1]->attrs.size(), 1u);
  // Unavailable and walked volumes take nothing.
  volumes[1]->available = 0;
  volumes[0]->builtByWalk = 1;
  EXPECT_EQ(Load(CacheFileBytes().Header(1).Section(u'C', 7, 1).Entry(0x100, 1, 1, 1).str()).entries, 0u);
}

TEST(AttrCacheSummaryTest, HitRatioInHundredthsOfAPercent) {
  const uint64_t hits = g_attrCounters.hits, misses = g_attrCounters.misses;
  struct Case {
    uint64_t hits, misses;
    const char* ratio;
  };
  for (const Case& c : {Case{1, 19, "5.00%"}, Case{1, 0, "100.00%"}, Case{0, 0, "0.00%"}, Case{2, 1, "66.66%"},
                        Case{1, 1999, "0.05%"}}) {
    g_attrCounters.hits = c.hits;
    g_attrCounters.misses = c.misses;
    const std::string line = Utf16ToUtf8(AttrCacheSummaryLine());
    EXPECT_EQ(line.substr(0, line.find(" disk_reads=")), std::string("summary hit_ratio=") + c.ratio +
                                                             " hits=" + std::to_string(c.hits) +
                                                             " misses=" + std::to_string(c.misses));
  }
  g_attrCounters.hits = hits;
  g_attrCounters.misses = misses;
  const std::string line = Utf16ToUtf8(AttrCacheSummaryLine());
  for (const char* key :
       {" disk_reads=", " hydrate_calls=", " hydrate_us=", " lock_wait_us=", " cache_load_ms=", " cache_save_ms="}) {
    EXPECT_NE(line.find(key), std::string::npos) << key;
  }
}

TEST_F(AttrCacheFileTest, AutosaveRunsOnlyWhenDirtyAndAloneAndExitSavesWhatever) {
  TwoNtfsDrives();
  EXPECT_FALSE(AttrCacheAutosaveTick(*engine));  // clean after start-up
  const uint64_t generation = ++g_attrCounters.cacheGeneration;

  g_attrCache.saveRunning = 1;  // another background save
  EXPECT_FALSE(AttrCacheAutosaveTick(*engine));
  g_attrCache.saveRunning = 0;
  g_shutdown = true;
  EXPECT_FALSE(AttrCacheAutosaveTick(*engine));
  g_shutdown = false;

  const size_t saves = Count(Log(), "] cache_save ");
  EXPECT_TRUE(AttrCacheAutosaveTick(*engine));
  WaitForBackgroundTasks();
  EXPECT_EQ(Count(Log(), "] cache_save "), saves + 1);
  EXPECT_GE(g_attrCounters.savedGeneration, generation);
  EXPECT_EQ(g_attrCache.saveRunning, 0);
  EXPECT_FALSE(AttrCacheAutosaveTick(*engine));

  SaveAttrCacheAtExit(*engine);  // clean, and saved all the same
  EXPECT_EQ(Count(Log(), "] cache_save "), saves + 2);
  EXPECT_NE(Log().find("] summary hit_ratio="), std::string::npos);
}

}  // namespace
}  // namespace quillmor
