#include "search/filter_bar.h"

#include <gtest/gtest.h>

#include "search/default_filter_tags.h"
#include "tests/search/filter_fixture.h"

namespace quillmor {
namespace {

constexpr uint64_t kMB = 1'048'576;

// Rows on one volume: a directory, files of several kinds (two of them with
// cached attributes), a deleted file, and a row past the volume's end.
class FilterBarTest : public FilterTest {
 protected:
  FilterBarTest() {
    volume.drive = u"C:";
    docs = Add(u"docs", true);
    pdf = Add(u"Report.PDF");
    txt = Add(u"notes.txt");
    readme = Add(u"README");
    jpg = Add(u"photo.jpg");
    odd = Add(u"weird.dir");  // a file, whatever its extension says
    deleted = Add(u"gone.pdf");
    volume.records[deleted].deleted = 1;
    Cache(pdf, 2 * kMB);
    Cache(jpg, 10);

    FilterTagList tags = BuildDefaultTags(false);
    tags.push_back({u"Mine", {u".pdf", u".jpg", u".pdf"}});
    tags.push_back({u"Also folders", {u".folder"}});
    state.SetTags(std::move(tags));

    for (uint32_t i = 0; i < volume.records.size(); ++i) rows.push_back({&volume, i});
    rows.push_back({&volume, 999});
    rows.push_back({nullptr, 0});
  }

  uint32_t Add(std::u16string_view name, bool directory = false) {
    FileRecord r;
    r.fileRef = 0x100 + volume.records.size();
    r.parentRef = 5;
    r.name = volume.AddName(name).data();
    r.nameLength = static_cast<uint16_t>(name.size());
    r.isDirectory = directory;
    volume.records.push_back(r);
    return static_cast<uint32_t>(volume.records.size() - 1);
  }
  void Cache(uint32_t index, uint64_t size) {
    std::unique_lock lock(volume.attrsLock);
    volume.attrs[volume.records[index].fileRef] = AttrEntry{size, t.clock.UtcNowFileTime(), 0, 1};
  }

  FilterBar Refresh(PickedDates dates = {}) {
    return ComputeFilterBar(t.clock, state, std::make_shared<const std::vector<MatchItem>>(rows), dates, false);
  }

  VolumeIndex volume{env};
  uint32_t docs, pdf, txt, readme, jpg, odd, deleted;
  std::vector<MatchItem> rows;
};

TEST_F(FilterBarTest, WithoutPresetsEveryLiveRowCounts) {
  const FilterBar bar = Refresh();
  // All, Folders, Documents, Images, Archives, Applications, Videos, Audio, Mine, Also folders
  EXPECT_EQ(bar.counts.counts, (std::vector<uint64_t>{6, 1, 2, 1, 0, 0, 0, 0, 2, 1}));
  EXPECT_FALSE(bar.counts.attributesMissing);
  ASSERT_EQ(bar.captions.size(), 10u);
  EXPECT_EQ(bar.captions[0], u"All Files\r\n(6)");
  EXPECT_EQ(bar.captions[9], u"Also folders\r\n(1)");
}

TEST_F(FilterBarTest, SizeOrTimeCountsOnlyFilesWithCachedAttributes) {
  state.presets.sizePreset = kSizeUnder1MB;
  FilterBar bar = Refresh();
  EXPECT_EQ(bar.counts.counts, (std::vector<uint64_t>{1, 0, 0, 1, 0, 0, 0, 0, 1, 0}));  // photo.jpg
  EXPECT_TRUE(bar.counts.attributesMissing);

  state.presets.sizePreset = kSizeAll;
  state.presets.timePreset = kTimeToday;
  bar = Refresh();
  EXPECT_EQ(bar.counts.counts, (std::vector<uint64_t>{2, 0, 1, 1, 0, 0, 0, 0, 2, 0}));
}

TEST_F(FilterBarTest, CustomDatesRestrictOnlyWhenThePickersHoldDates) {
  state.presets.timePreset = kTimeCustom;
  EXPECT_EQ(Refresh().counts.counts[0], 2u);                            // no dates: no restriction
  EXPECT_EQ(Refresh({true, 20200101, 20200102}).counts.counts[0], 0u);  // cached files are from today
  EXPECT_EQ(Refresh({true, 20200231, 20200102}).counts.counts[0], 0u);  // cannot convert: nothing counts
  const LocalTime today = t.clock.LocalNow();
  const int32_t day = today.year * 10000 + today.month * 100 + today.day;
  EXPECT_EQ(Refresh({true, day, day}).counts.counts[0], 2u);
}

TEST_F(FilterBarTest, NoResultsCountNothing) {
  const FilterBar bar = ComputeFilterBar(t.clock, state, nullptr, {}, false);
  EXPECT_EQ(bar.counts.counts, std::vector<uint64_t>(10, 0));
  EXPECT_EQ(bar.captions[2], u"Documents\r\n(0)");
}

TEST_F(FilterBarTest, CaptionsShowLocalisedNames) {
  UseLanguage(u"de-de");
  EXPECT_EQ(Refresh().captions[3], u"Bilder\r\n(1)");
}

TEST_F(FilterBarTest, PresetBoxTextsFollowTheLanguage) {
  EXPECT_EQ(SizePresetTexts(), (std::vector<std::u16string>{u"All", u"< 1MB", u"1~100MB", u"> 100MB", u"Custom"}));
  EXPECT_EQ(TimePresetTexts(), (std::vector<std::u16string>{u"All", u"Today", u"7 days", u"30 days", u"Custom"}));
  EXPECT_EQ(SizeUnitTexts(), (std::vector<std::u16string>{u"B", u"KB", u"MB", u"GB"}));
  EXPECT_EQ(TimeRangeHintText(), u"0-7(days ago)");
  UseLanguage(u"zh-cn");
  EXPECT_EQ(SizePresetTexts()[1], u"< 1MB");
  EXPECT_EQ(TimePresetTexts()[1], u"今天");
}

}  // namespace
}  // namespace quillmor
