#include "app/core/list_row.h"

#include <gtest/gtest.h>

#include "platform/sim/test_env.h"
#include "settings/window_settings.h"
#include "tests/engine/hand_built_volume.h"

namespace quillmor {
namespace {

class ListRowTest : public ::testing::Test {
 protected:
  TestEnv t;
  VolumePtr e = HandBuiltVolume(t.env, u"E:", {{u"Report.PDF"}, {u"Photos", true}, {u"gone.txt", false, true}});
};

TEST_F(ListRowTest, ReadsNameFoldedNameDirectoryFlagAndPath) {
  const ListRow file = ReadListRow({e.get(), 0});
  EXPECT_TRUE(file.valid);
  EXPECT_EQ(file.name, u"Report.PDF");
  EXPECT_EQ(file.lowerName, u"report.pdf");
  EXPECT_EQ(file.path, u"E:\\Report.PDF");
  EXPECT_FALSE(file.isDirectory);
  EXPECT_TRUE(ReadListRow({e.get(), 1}).isDirectory);
  EXPECT_EQ(ReadListRow({e.get(), 0}, false).path, u"");
  // A deleted record still shows until the results are refreshed.
  EXPECT_EQ(ReadListRow({e.get(), 2}).name, u"gone.txt");
}

TEST_F(ListRowTest, RowsWithoutARecordAreInvalid) {
  EXPECT_FALSE(ReadListRow({nullptr, 0}).valid);
  EXPECT_FALSE(ReadListRow({e.get(), 3}).valid);
  EXPECT_FALSE(ReadListRow({e.get(), UINT32_MAX}).valid);
  EXPECT_FALSE(CachedAttributes({e.get(), 3}, ReadListRow({e.get(), 3})).has_value());
}

TEST_F(ListRowTest, CellsShowDotsUntilTheCacheKnowsTheAttributes) {
  const MatchItem item{e.get(), 0};
  const ListRow row = ReadListRow(item);
  auto attrs = CachedAttributes(item, row);
  EXPECT_FALSE(attrs.has_value());
  const struct {
    int32_t column;
    const char16_t* before;
    const char16_t* after;
  } cases[] = {
      {kColumnRowNumber, u"08", u"08"},
      {kColumnName, u"Report.PDF", u"Report.PDF"},
      {kColumnSize, u"...", u"2 KB"},
      {kColumnModified, u"...", u"-"},
      {kColumnCreated, u"...", u"-"},
      {kColumnPath, u"E:\\Report.PDF", u"E:\\Report.PDF"},
      {6, u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(ListCellText(c.column, 7, row, attrs, t.clock), c.before) << c.column;

  PutAttributes(*e, 0, 2048);
  attrs = CachedAttributes(item, row);
  ASSERT_TRUE(attrs.has_value());
  for (const auto& c : cases) EXPECT_EQ(ListCellText(c.column, 7, row, attrs, t.clock), c.after) << c.column;
}

TEST_F(ListRowTest, DirectoriesShowNoSizeButTheirTimes) {
  const MatchItem item{e.get(), 1};
  const ListRow row = ReadListRow(item);
  EXPECT_EQ(ListCellText(kColumnSize, 0, row, std::nullopt, t.clock), u"");
  EXPECT_EQ(ListCellText(kColumnModified, 0, row, std::nullopt, t.clock), u"...");
}

}  // namespace
}  // namespace quillmor
