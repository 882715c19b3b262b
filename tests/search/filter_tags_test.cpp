#include <gtest/gtest.h>

#include <atomic>

#include "platform/thread.h"
#include "search/default_filter_tags.h"
#include "search/filter_tag.h"
#include "tests/search/filter_fixture.h"

namespace quillmor {
namespace {

class FilterTagsTest : public FilterTest {};

TEST_F(FilterTagsTest, FolderTagIsAnyTagListingDirOrFolder) {
  EXPECT_TRUE(IsFolderTag({u"x", {u".a", u".DIR"}}));
  EXPECT_TRUE(IsFolderTag({u"x", {u".Folder"}}));
  EXPECT_FALSE(IsFolderTag({u"x", {u".dirs", u"dir", u".fold"}}));
  EXPECT_FALSE(IsFolderTag({u"x", {}}));
}

TEST_F(FilterTagsTest, ExtensionMembershipByTheLastDot) {
  const FilterTagList tags = BuildDefaultTags(false);
  struct Case {
    std::u16string_view name;
    int32_t tag;
    bool in;
  };
  const Case cases[] = {
      {u"README", 0, true},                                       // tag 0 takes everything
      {u"README", 2, false},                                      // no dot: no extension
      {u"Report.PDF", 2, true},                                   // folded
      {u"archive.tar.gz", 4, true},                               // the last dot counts
      {u"archive.gz.tar", 3, false}, {u"photo.jpeg.", 3, false},  // ends in a dot: the extension is "."
      {u".gitignore", 2, false},     {u"x.pdf", 8, false},        // past the list
      {u"x.pdf", -1, false},                                      // never a valid index
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtensionInTag(tags, c.tag, c.name), c.in) << Utf16ToUtf8(c.name) << " in " << c.tag;
  }
}

TEST_F(FilterTagsTest, TagTestOfTheFilterPass) {
  const FilterTagList tags = BuildDefaultTags(false);
  struct Case {
    int32_t tag;
    bool directory;
    std::u16string_view foldedName;
    bool sizeOrTime;
    bool keeps;
  };
  const Case cases[] = {
      {0, false, u"a.txt", false, true},  {0, true, u"docs", false, false},  // tag 0 drops directories
      {1, true, u"docs", false, true},    {1, true, u"docs", true, false},   // folders only without presets
      {1, false, u"a.dir", false, false}, {2, false, u"a.txt", true, true},   {2, false, u"a.jpg", false, false},
      {2, true, u"x.txt", false, false},  {9, false, u"a.txt", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PassesTagFilter(tags, c.tag, c.directory, c.foldedName, c.sizeOrTime), c.keeps)
        << c.tag << " " << Utf16ToUtf8(c.foldedName);
  }
}

TEST_F(FilterTagsTest, EnsureFolderTagInsertsAfterTheFirstTag) {
  FilterTagList tags = {{u"A", {}}, {u"B", {u".b"}}};
  EXPECT_TRUE(EnsureFolderTag(tags));
  EXPECT_EQ(Describe(tags), "A=\nFolders=.dir\nB=.b\n");
  EXPECT_FALSE(EnsureFolderTag(tags));

  FilterTagList empty;
  EXPECT_TRUE(EnsureFolderTag(empty));
  EXPECT_EQ(Describe(empty), "Folders=.dir\n");

  UseLanguage(u"de-de");
  FilterTagList german = {{u"A", {}}};
  EnsureFolderTag(german);
  EXPECT_EQ(german[1].name, u"Ordner");
}

TEST_F(FilterTagsTest, DefaultsByLanguage) {
  EXPECT_EQ(Describe(BuildDefaultTags(false)), kEnglishDefaults);
  const FilterTagList chinese = BuildDefaultTags(true);
  EXPECT_EQ(chinese[0].name, kChineseAllFilesName);
  EXPECT_EQ(chinese[4].name, u"压缩包");
  for (size_t i = 0; i < kDefaultTagCount; ++i) EXPECT_EQ(chinese[i].extensions, BuildDefaultTags(false)[i].extensions);

  UseLanguage(u"de-de");
  const FilterTagList german = LocalisedDefaultTags();
  EXPECT_EQ(german[0].name, u"Alle Dateien");
  EXPECT_EQ(german[2].name, u"Dokumente");
  EXPECT_EQ(german[2].extensions, chinese[2].extensions);
}

TEST_F(FilterTagsTest, LocalisedDefaultsTakeEachNameFromTheBestSource) {
  StringTable overrides;
  overrides[u"Filter.2"] = u"Docs\nsecond line = x";  // a language file's name that would break the filters file
  overrides[u"Filter.3"] = u"";                       // no name here: the text for "Images" is next
  overrides[u"Images"] = u"Pictures";
  overrides[u"Filter.4"] = u"  ";
  overrides[u"Filter.5"] = u"";  // nothing at all: the built-in name
  UseLanguage(u"en-us", &overrides);
  const FilterTagList tags = LocalisedDefaultTags();
  EXPECT_EQ(tags[2].name, u"Docs second line   x");
  EXPECT_EQ(tags[3].name, u"Pictures");
  EXPECT_EQ(tags[4].name, u"Archives");
  EXPECT_EQ(tags[5].name, u"Applications");
}

TEST_F(FilterTagsTest, DisplayNameFollowsTheLanguageForUnchangedDefaults) {
  UseLanguage(u"de-de");
  const FilterTagList english = BuildDefaultTags(false);
  EXPECT_EQ(TagDisplayName(2, english[2]), u"Dokumente");
  // Renamed in the file, same extensions (any case): still the localised name.
  FilterTag renamed{u"My Docs", english[2].extensions};
  renamed.extensions[0] = u".DOC";
  EXPECT_EQ(TagDisplayName(2, renamed), u"Dokumente");
  // Changed extensions, another position, or past the defaults: its own name.
  FilterTag changed = english[2];
  changed.extensions.pop_back();
  EXPECT_EQ(TagDisplayName(2, changed), u"Documents");
  EXPECT_EQ(TagDisplayName(3, english[2]), u"Documents");
  EXPECT_EQ(TagDisplayName(8, english[2]), u"Documents");
}

TEST_F(FilterTagsTest, DisplayNameOfATagNamedByALocalisationKey) {
  UseLanguage(u"de-de");
  EXPECT_EQ(TagDisplayName(9, {u"Filter.3", {u".x"}}), u"Bilder");
  EXPECT_EQ(TagDisplayName(9, {u"No_Such_Key", {u".x"}}), u"No_Such_Key");

  StringTable overrides;
  overrides[u"Filter.2"] = u"";
  UseLanguage(u"en-us", &overrides);
  EXPECT_EQ(TagDisplayName(2, {u"Mine", BuildDefaultTags(false)[2].extensions}), u"Mine");
}

TEST_F(FilterTagsTest, SelectedTagFallsBackWhenTheListShrinks) {
  state.SetTags(BuildDefaultTags(false));
  EXPECT_TRUE(state.SelectTag(7));
  EXPECT_FALSE(state.SelectTag(8));
  EXPECT_FALSE(state.SelectTag(-1));
  EXPECT_EQ(state.selectedTag.load(), 7);
  const FilterTagsSnapshot before = state.Tags();
  state.SetTags({{u"A", {}}, {u"B", {u".b"}}});
  EXPECT_EQ(state.selectedTag.load(), 0);
  EXPECT_EQ(before->size(), 8u);  // a job's snapshot stays as it was
}

TEST_F(FilterTagsTest, CustomSizeTextIsCutAndHashedByUnits) {
  state.SetCustomSizeText(std::u16string(200, u'1'));
  EXPECT_EQ(state.presets.customSizeText.size(), kMaxSizeRangeChars);
  EXPECT_EQ(CustomSizeTextHash(u""), 2166136261u);
  EXPECT_EQ(CustomSizeTextHash(u"a"), (2166136261u ^ 0x61u) * 16777619u);
  EXPECT_NE(CustomSizeTextHash(u"1-10"), CustomSizeTextHash(u"10-1"));
  // A whole unit is one step: U+0161 is not the bytes 0x61 0x01.
  EXPECT_EQ(CustomSizeTextHash(u"\u0161"), (2166136261u ^ 0x161u) * 16777619u);
  state.SetCustomSizeText(u"5-6");
  EXPECT_EQ(state.customSizeHash.load(), CustomSizeTextHash(u"5-6"));
}

TEST_F(FilterTagsTest, PresetsComeFromAndGoBackToTheWindowSettings) {
  WindowSettings window;
  window.sizePreset = kSizeCustom;
  window.timePreset = kTimeCustom;
  window.sizeUnit = kUnitKB;
  window.timeStart = 20240501;
  window.timeEnd = 20240510;
  state.LoadPresets(window);
  EXPECT_EQ(state.presets.customSizeText, kDefaultCustomSizeText);  // empty text shows the default
  state.SetCustomSizeText(u"2-3");
  WindowSettings saved;
  state.StorePresets(saved);
  EXPECT_EQ(saved.sizePreset, kSizeCustom);
  EXPECT_EQ(saved.sizeUnit, kUnitKB);
  EXPECT_EQ(saved.sizeRange, u"2-3");
  EXPECT_EQ(saved.timeEnd, 20240510);
}

TEST_F(FilterTagsTest, JobsReadWholeListsWhileTheUserInterfaceReplacesThem) {
  std::atomic<bool> done{false};
  Thread job([&] {
    while (!done.load()) {
      const FilterTagsSnapshot tags = state.Tags();
      // Each list is one of the two installed below, never a mixture.
      ASSERT_TRUE(tags->empty() || tags->size() == 2 || tags->size() == kDefaultTagCount);
      for (const FilterTag& tag : *tags) ASSERT_FALSE(tag.name.empty());
    }
  });
  for (int i = 0; i < 2000; ++i) {
    state.SetTags(i % 2 ? BuildDefaultTags(false) : FilterTagList{{u"A", {}}, {u"B", {u".b"}}});
  }
  done.store(true);
  job.join();
}

}  // namespace
}  // namespace quillmor
