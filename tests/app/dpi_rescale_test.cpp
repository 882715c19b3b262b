#include "app/core/dpi_rescale.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

StoredMetrics At96() {
  StoredMetrics m;
  m.columnWidths = {60, 280, 100, 160, 160, 400};
  m.sidebarWidth = 200;
  m.listTop = 100;
  m.verticalOffset = 44 * 1000;
  m.horizontalOffset = 30;
  m.sidebarScrollOffset = 48;
  return m;
}

TEST(DpiRescaleTest, From96To144EverythingGrowsByHalf) {
  const StoredMetrics m = RescaleStoredMetrics(At96(), 96, 144);
  using Widths = std::array<int32_t, kResultColumnCount>;
  EXPECT_EQ(m.columnWidths, (Widths{90, 420, 150, 240, 240, 600}));
  EXPECT_EQ(m.sidebarWidth, 300);
  EXPECT_EQ(m.listTop, 150);
  EXPECT_EQ(m.verticalOffset, 66 * 1000);
  EXPECT_EQ(m.horizontalOffset, 45);
  EXPECT_EQ(m.sidebarScrollOffset, 72);
}

TEST(DpiRescaleTest, TheSameDpiChangesNothing) {
  const struct {
    int32_t from, to;
    bool rescales;
  } cases[] = {{96, 96, false},   {0, 96, false},  {96, 0, false},  {0, 0, false},
               {144, 144, false}, {96, 144, true}, {144, 96, true}, {0, 120, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(DpiChangeRescales(c.from, c.to), c.rescales) << c.from << "->" << c.to;
    if (!c.rescales) {
      EXPECT_EQ(RescaleStoredMetrics(At96(), c.from, c.to), At96());
    }
  }
}

TEST(DpiRescaleTest, RoundsLikeMulDivAndKeepsColumnsAtTheirMinimum) {
  StoredMetrics m = At96();
  m.columnWidths = {31, 40, 100, 160, 160, 401};
  m.listTop = 101;
  const StoredMetrics down = RescaleStoredMetrics(m, 144, 96);
  EXPECT_EQ(down.columnWidths[0], 30);   // 20.67 would be narrower than a column may be
  EXPECT_EQ(down.columnWidths[1], 30);   // 26.67, likewise
  EXPECT_EQ(down.columnWidths[5], 267);  // 267.33
  EXPECT_EQ(down.listTop, 67);           // 67.33
  m.sidebarWidth = 3;
  EXPECT_EQ(RescaleStoredMetrics(m, 96, 120).sidebarWidth, 4);  // 3.75
  EXPECT_EQ(RescaleStoredMetrics(m, 96, 160).sidebarWidth, 5);  // 5.0
}

TEST(DpiRescaleTest, HugeMeasuresSaturateInsteadOfTurningNegative) {
  StoredMetrics m = At96();
  m.columnWidths[5] = INT32_MAX / 2;
  m.verticalOffset = int64_t{1} << 45;
  const StoredMetrics up = RescaleStoredMetrics(m, 96, 384);
  EXPECT_EQ(up.columnWidths[5], INT32_MAX);
  EXPECT_EQ(up.verticalOffset, int64_t{1} << 47);
}

}  // namespace
}  // namespace quillmor
