#include "search/size_time_filter.h"

#include <gtest/gtest.h>

#include <limits>
#include <mutex>
#include <string>

#include "platform/sim/test_env.h"
#include "platform/utf.h"

namespace quillmor {
namespace {

constexpr uint64_t kTick = 1;  // one 100-ns unit
constexpr uint64_t kHour = 36'000'000'000;
constexpr uint64_t kDay = 24 * kHour;

// The FILETIME of a UTC wall-clock time.
uint64_t Utc(uint16_t year, uint16_t month, uint16_t day, uint16_t hour = 0, uint16_t minute = 0) {
  ManualClock utc;
  uint64_t fileTime = 0;
  EXPECT_TRUE(utc.LocalToFileTime(LocalTime{year, month, 0, day, hour, minute, 0, 0}, fileTime));
  return fileTime;
}

TEST(CustomSizeTest, ParsesRangesInEveryUnit) {
  constexpr int64_t kNone = -1;
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  struct Case {
    std::u16string_view text;
    int32_t unit;
    bool valid;
    int64_t minimum;
    int64_t maximum;
  };
  const Case cases[] = {
      {u"1-100", kUnitMB, true, 1'048'576, 104'857'600},
      {u"1-100", kUnitBytes, true, 1, 100},
      {u"1-100", kUnitKB, true, 1024, 102'400},
      {u"1-2", kUnitGB, true, 1'073'741'824, 2'147'483'648},
      {u"1-2", 7, true, 1'048'576, 2'097'152},  // an unknown unit counts as MB
      {u"-5", kUnitKB, true, kNone, 5120},
      {u"2-", kUnitGB, true, 2'147'483'648, kNone},
      {u"0.5-", kUnitKB, true, 512, kNone},
      {u"0.3-0.7", kUnitBytes, true, 0, 0},  // truncated
      {u"  1 0 - 2 0  ", kUnitBytes, true, 10, 20},
      {u"1(MB)-3 (MB)", kUnitMB, true, 1'048'576, 3'145'728},
      {u"abc-5", kUnitBytes, true, 0, 5},  // no number reads as 0
      {u"5kb-7x", kUnitBytes, true, 5, 7},
      {u"1e3-2E3", kUnitBytes, true, 1000, 2000},
      {u"+4-+6", kUnitBytes, true, 4, 6},
      {u"1-1e400", kUnitBytes, true, 1, kMax},  // saturates
      {u"9999999999-", kUnitGB, true, kMax, kNone},
      {u"inf-", kUnitBytes, true, kMax, kNone},
      {u"5-5", kUnitBytes, true, 5, 5},
      {u"10-1", kUnitMB, false, kNone, kNone},
      {u"-", kUnitMB, false, kNone, kNone},
      {u"", kUnitMB, false, kNone, kNone},
      {u"   ", kUnitMB, false, kNone, kNone},
      {u"100", kUnitMB, false, kNone, kNone},
      {u"1--5", kUnitMB, false, kNone, kNone},  // a negative side
      {u"nan-5", kUnitMB, false, kNone, kNone},
  };
  for (const Case& c : cases) {
    const CustomSizeRange range = ParseCustomSize(c.text, c.unit);
    SCOPED_TRACE(Utf16ToUtf8(c.text));
    EXPECT_EQ(range.valid, c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(range.minimum, c.minimum);
    EXPECT_EQ(range.maximum, c.maximum);
  }
}

TEST(CustomSizeTest, SizePresetsAtTheirBoundaries) {
  const CustomSizeRange none;
  const CustomSizeRange custom = ParseCustomSize(u"0.5-", kUnitKB);
  struct Case {
    int32_t preset;
    const CustomSizeRange& range;
    uint64_t size;
    bool passes;
  };
  const Case cases[] = {
      {kSizeAll, none, UINT64_MAX, true},
      {kSizeUnder1MB, none, 1'048'575, true},
      {kSizeUnder1MB, none, 1'048'576, false},
      {kSize1To100MB, none, 1'048'575, false},
      {kSize1To100MB, none, 1'048'576, true},
      {kSize1To100MB, none, 104'857'600, true},
      {kSize1To100MB, none, 104'857'601, false},
      {kSizeOver100MB, none, 104'857'600, false},
      {kSizeOver100MB, none, 104'857'601, true},
      {kSizeCustom, none, 0, true},  // an invalid custom text does not restrict
      {kSizeCustom, custom, 511, false},
      {kSizeCustom, custom, 512, true},
      {kSizeCustom, custom, UINT64_MAX, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PassesSizePreset(c.preset, c.range, c.size), c.passes) << c.preset << " " << c.size;
  }
  const CustomSizeRange bounded = ParseCustomSize(u"1-2", kUnitBytes);
  EXPECT_FALSE(PassesSizePreset(kSizeCustom, bounded, 0));
  EXPECT_TRUE(PassesSizePreset(kSizeCustom, bounded, 1));
  EXPECT_TRUE(PassesSizePreset(kSizeCustom, bounded, 2));
  EXPECT_FALSE(PassesSizePreset(kSizeCustom, bounded, 3));
}

TEST(DateFromIntTest, AcceptsOnlyPlausibleDates) {
  struct Case {
    int32_t number;
    bool valid;
  };
  const Case cases[] = {
      {20240510, true},
      {19700101, true},
      {19700000, false},  // month 0
      {19691231, false},
      {20241301, false},
      {20240001, false},
      {20240100, false},
      {20240132, false},
      {20240231, true},  // the month's length is not checked here
      {0, false},
      {-20240510, false},
      {std::numeric_limits<int32_t>::min(), false},
      {308271231, true},
      {308281231, false},                            // past what a SYSTEMTIME converts
      {std::numeric_limits<int32_t>::max(), false},  // year 214748 would wrap in 16 bits
  };
  for (const Case& c : cases) {
    LocalTime date;
    EXPECT_EQ(DateFromInt(c.number, date), c.valid) << c.number;
  }
  LocalTime date;
  ASSERT_TRUE(DateFromInt(20240510, date));
  EXPECT_EQ(date.year, 2024);
  EXPECT_EQ(date.month, 5);
  EXPECT_EQ(date.day, 10);
  EXPECT_EQ(date.hour + date.minute + date.second + date.milliseconds, 0);
}

// Local time is 2026-03-14 09:26 at UTC+2 unless a test says otherwise.
class TimeFilterTest : public ::testing::Test {
 protected:
  TimeFilterTest() {
    clock.SetUtcOffsetMinutes(120);
    clock.SetLocalTime(LocalTime{2026, 3, 6, 14, 9, 26, 0, 0});
  }

  bool Passes(int32_t preset, uint64_t t, int32_t from = 0, int32_t to = 0) {
    FilterSettings settings;
    settings.timePreset = preset;
    const SizeTimeFilter filter = MakeFilterPassSizeTime(clock, settings, true, from, to, false, nullptr);
    AttrEntry attributes;
    attributes.lastWriteTime = t;
    attributes.known = 1;
    return PassesSizeAndTime(filter, attributes);
  }

  ManualClock clock;
};

TEST_F(TimeFilterTest, TodayStartsAtLocalMidnight) {
  const uint64_t midnight = Utc(2026, 3, 13, 22);  // 00:00 at UTC+2
  EXPECT_EQ(TodayMidnightUtc(clock), midnight);
  EXPECT_TRUE(Passes(kTimeToday, midnight));
  EXPECT_FALSE(Passes(kTimeToday, midnight - kTick));
  EXPECT_TRUE(Passes(kTimeToday, Utc(2030, 1, 1)));
  EXPECT_FALSE(Passes(kTimeToday, 0));

  clock.SetUtcOffsetMinutes(-300);  // UTC-5: local midnight is 05:00 UTC
  EXPECT_TRUE(Passes(kTimeToday, Utc(2026, 3, 14, 5)));
  EXPECT_FALSE(Passes(kTimeToday, Utc(2026, 3, 14, 5) - kTick));
}

TEST_F(TimeFilterTest, RecentDaysCountBackFromNowAndLetTheFuturePass) {
  const uint64_t now = clock.UtcNowFileTime();
  EXPECT_EQ(now, Utc(2026, 3, 14, 7, 26));
  EXPECT_TRUE(Passes(kTime7Days, now - 7 * kDay));
  EXPECT_FALSE(Passes(kTime7Days, now - 7 * kDay - kTick));
  EXPECT_TRUE(Passes(kTime7Days, now + 365 * kDay));  // modified in the future
  EXPECT_TRUE(Passes(kTime30Days, now - 30 * kDay));
  EXPECT_FALSE(Passes(kTime30Days, now - 30 * kDay - kTick));
  EXPECT_FALSE(Passes(kTime30Days, 0));
  EXPECT_TRUE(Passes(kTimeAll, 0));
}

TEST_F(TimeFilterTest, CustomRangeHoldsBothLocalDaysInFullInEitherOrder) {
  const uint64_t start = Utc(2024, 4, 30, 22);    // 2024-05-01 00:00 at UTC+2
  const uint64_t nextDay = Utc(2024, 5, 10, 22);  // 2024-05-11 00:00 at UTC+2
  for (auto [from, to] : {std::pair{20240501, 20240510}, std::pair{20240510, 20240501}}) {
    EXPECT_FALSE(Passes(kTimeCustom, start - kTick, from, to));
    EXPECT_TRUE(Passes(kTimeCustom, start, from, to));
    EXPECT_TRUE(Passes(kTimeCustom, nextDay - kTick, from, to));  // 23:59:59.9999999
    EXPECT_FALSE(Passes(kTimeCustom, nextDay, from, to));
  }
  EXPECT_TRUE(Passes(kTimeCustom, start + kHour, 20240501, 20240501));  // a single day
}

TEST_F(TimeFilterTest, UnusableCustomRangeDependsOnWhoAsks) {
  FilterSettings settings;
  settings.timePreset = kTimeCustom;
  AttrEntry attributes{0, Utc(2024, 5, 5), 0, 1};

  // The filter pass: pickers without a date, or a date that does not convert,
  // fail every row.
  EXPECT_FALSE(PassesSizeAndTime(MakeFilterPassSizeTime(clock, settings, false, 0, 0, false, nullptr), attributes));
  EXPECT_FALSE(
      PassesSizeAndTime(MakeFilterPassSizeTime(clock, settings, true, 20240231, 20240510, false, nullptr), attributes));

  // Content search: stored numbers that are missing or invalid restrict nothing.
  for (auto [from, to] : {std::pair{0, 20240510}, std::pair{20240501, -3}, std::pair{20240231, 20240510}}) {
    settings.customDateFrom = from;
    settings.customDateTo = to;
    EXPECT_TRUE(PassesSizeAndTime(MakeContentSearchSizeTime(clock, settings, false, nullptr), attributes));
  }
  settings.customDateFrom = 20240506;
  settings.customDateTo = 20240510;
  EXPECT_FALSE(PassesSizeAndTime(MakeContentSearchSizeTime(clock, settings, false, nullptr), attributes));

  // The filter bar: pickers without a date restrict nothing; a date that does
  // not convert counts no row.
  EXPECT_TRUE(PassesSizeAndTime(MakeFilterBarSizeTime(clock, settings, false, 0, 0, false), attributes));
  EXPECT_FALSE(PassesSizeAndTime(MakeFilterBarSizeTime(clock, settings, true, 20240231, 20240510, false), attributes));
}

TEST_F(TimeFilterTest, SortedByCreatedTestsCreationTimes) {
  FilterSettings settings;
  settings.timePreset = kTimeToday;
  const uint64_t today = Utc(2026, 3, 14, 1);
  const uint64_t lastYear = Utc(2025, 3, 14);
  const AttrEntry createdToday{0, lastYear, today, 1};
  EXPECT_FALSE(PassesSizeAndTime(MakeFilterPassSizeTime(clock, settings, false, 0, 0, false, nullptr), createdToday));
  EXPECT_TRUE(PassesSizeAndTime(MakeFilterPassSizeTime(clock, settings, false, 0, 0, true, nullptr), createdToday));
}

// A volume with two files, one of them with cached attributes.
class SizeTimePredicateTest : public TimeFilterTest {
 protected:
  SizeTimePredicateTest() {
    volume.drive = u"C:";
    cached = Add(0x10, u"cached.bin");
    uncached = Add(0x11, u"uncached.bin");
    std::unique_lock lock(volume.attrsLock);
    volume.attrs[0x10] = AttrEntry{100, Utc(2026, 3, 14, 1), 0, 1};
  }

  uint32_t Add(uint64_t ref, std::u16string_view name) {
    FileRecord r;
    r.fileRef = ref;
    r.parentRef = 5;
    r.name = volume.AddName(name).data();
    r.nameLength = static_cast<uint16_t>(name.size());
    volume.refToIndex.Assign(ref, volume.records.size());
    volume.records.push_back(r);
    return static_cast<uint32_t>(volume.records.size() - 1);
  }

  SizeTimeFilter Filter(int32_t sizePreset, int32_t timePreset) {
    FilterSettings settings;
    settings.sizePreset = sizePreset;
    settings.timePreset = timePreset;
    return MakeFilterPassSizeTime(clock, settings, false, 0, 0, false,
                                  [this](VolumeIndex& v, uint32_t index, AttrEntry& out) {
                                    hydrated.push_back(index);
                                    EXPECT_EQ(&v, &volume);
                                    if (!diskAnswers) return false;
                                    out = AttrEntry{5'000'000, Utc(2020, 1, 1), 0, 1};
                                    return true;
                                  });
  }

  TestEnv t;
  VolumeIndex volume{t.env};
  uint32_t cached = 0;
  uint32_t uncached = 0;
  std::vector<uint32_t> hydrated;
  bool diskAnswers = true;
};

TEST_F(SizeTimePredicateTest, NoPresetReadsNothing) {
  const uint64_t lookups = g_attrCounters.hits.load() + g_attrCounters.misses.load();
  EXPECT_TRUE(PassesSizeAndTime(Filter(kSizeAll, kTimeAll), volume, uncached, 0x11));
  EXPECT_TRUE(hydrated.empty());
  EXPECT_EQ(g_attrCounters.hits.load() + g_attrCounters.misses.load(), lookups);
}

TEST_F(SizeTimePredicateTest, CachedAttributesAreUsedWithoutReadingTheDisk) {
  EXPECT_TRUE(PassesSizeAndTime(Filter(kSizeUnder1MB, kTimeToday), volume, cached, 0x10));
  EXPECT_FALSE(PassesSizeAndTime(Filter(kSizeOver100MB, kTimeAll), volume, cached, 0x10));
  EXPECT_TRUE(hydrated.empty());
}

TEST_F(SizeTimePredicateTest, UncachedRowsAreHydratedAndFailWhenTheDiskHasNothing) {
  EXPECT_TRUE(PassesSizeAndTime(Filter(kSize1To100MB, kTimeAll), volume, uncached, 0x11));
  EXPECT_FALSE(PassesSizeAndTime(Filter(kSizeAll, kTimeToday), volume, uncached, 0x11));  // modified in 2020
  EXPECT_EQ(hydrated, (std::vector<uint32_t>{uncached, uncached}));
  diskAnswers = false;
  EXPECT_FALSE(PassesSizeAndTime(Filter(kSizeCustom, kTimeAll), volume, uncached, 0x11));

  FilterSettings settings;
  settings.sizePreset = kSizeUnder1MB;
  const SizeTimeFilter withoutDisk = MakeFilterPassSizeTime(clock, settings, false, 0, 0, false, nullptr);
  EXPECT_FALSE(PassesSizeAndTime(withoutDisk, volume, uncached, 0x11));
}

TEST_F(SizeTimePredicateTest, ByRecordIndexAloneReadsTheReferenceFirst) {
  EXPECT_TRUE(PassesSizeAndTime(Filter(kSizeUnder1MB, kTimeAll), volume, cached));
  EXPECT_FALSE(PassesSizeAndTime(Filter(kSizeUnder1MB, kTimeAll), volume, 99));
  volume.records[cached].deleted = 1;
  EXPECT_FALSE(PassesSizeAndTime(Filter(kSizeUnder1MB, kTimeAll), volume, cached));
  EXPECT_TRUE(hydrated.empty());
}

}  // namespace
}  // namespace quillmor
