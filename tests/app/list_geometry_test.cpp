#include "app/core/list_geometry.h"

#include <gtest/gtest.h>

#include "settings/dpi_scale.h"
#include "tests/app/list_frame.h"

namespace quillmor {
namespace {

TEST(ViewMetricsTest, SizesOfEachModeScaleWithTheDpi) {
  const struct {
    int32_t mode, dpi;
    ViewMetrics expected;
  } cases[] = {
      {kViewList, 96, {44, 0, 16, 40}},
      {kViewSmallIcons, 96, {84, 110, 24, 0}},
      {kViewLargeIcons, 96, {112, 150, 48, 0}},
      {kViewList, 144, {66, 0, 24, 60}},
      {kViewSmallIcons, 144, {126, 165, 36, 0}},
      {kViewLargeIcons, 0, {112, 150, 48, 0}},  // an unknown DPI counts as 96
      {7, 96, {44, 0, 16, 40}},                 // an unknown mode is the list
  };
  for (const auto& c : cases) {
    const ViewMetrics m = ViewMetricsFor(c.mode, c.dpi);
    EXPECT_EQ(m.rowHeight, c.expected.rowHeight) << c.mode << "@" << c.dpi;
    EXPECT_EQ(m.cellWidth, c.expected.cellWidth) << c.mode << "@" << c.dpi;
    EXPECT_EQ(m.iconSize, c.expected.iconSize) << c.mode << "@" << c.dpi;
    EXPECT_EQ(m.headerHeight, c.expected.headerHeight) << c.mode << "@" << c.dpi;
  }
}

TEST(ListAreaTest, RunsFromTheSidebarToTheBarsAndBelowTheHeader) {
  ListFrame f = TestFrame();
  EXPECT_EQ(ListArea(f), (Rect{0, 140, 1088, 698}));
  f.sidebarLayout = true;  // starts right of the sidebar; the columns no longer fit
  EXPECT_TRUE(ShowsHorizontalBar(f));
  EXPECT_EQ(ListArea(f), (Rect{200, 140, 1088, 688}));
  f.viewMode = kViewSmallIcons;  // no header, and never a horizontal bar
  EXPECT_FALSE(ShowsHorizontalBar(f));
  EXPECT_EQ(ListArea(f), (Rect{200, 100, 1088, 698}));
}

TEST(ListAreaTest, TheHorizontalBarShowsOnlyWhenTheColumnsAreWider) {
  ListFrame f = TestFrame();
  f.columnWidths = {60, 280, 100, 160, 160, 328};  // exactly the area's 1088
  EXPECT_FALSE(ShowsHorizontalBar(f));
  EXPECT_EQ(MaxHorizontalOffset(f), 0);
  f.columnWidths[5] = 329;
  EXPECT_TRUE(ShowsHorizontalBar(f));
  EXPECT_EQ(MaxHorizontalOffset(f), 1);
}

TEST(ListAreaTest, ATinyWindowGivesAnEmptyAreaNotAnInvertedOne) {
  ListFrame f = TestFrame();
  f.clientWidth = 5;
  f.clientHeight = 50;
  const Rect area = ListArea(f);
  EXPECT_EQ(area.Width(), 0);
  EXPECT_EQ(area.Height(), 0);
  EXPECT_EQ(ColumnsPerRow(f), 1);
}

TEST(ColumnsPerRowTest, CellsThatFitTheAreaAtLeastOne) {
  const struct {
    int32_t mode, areaWidth, dpi, expected;
  } cases[] = {
      {kViewSmallIcons, 500, 96, 4},                                                                 // 110 px each
      {kViewSmallIcons, 440, 96, 4},  {kViewSmallIcons, 439, 96, 3}, {kViewLargeIcons, 500, 96, 3},  // 150 px each
      {kViewLargeIcons, 100, 96, 1},   // narrower than one cell
      {kViewSmallIcons, 750, 144, 4},  // 165 px each
      {kViewList, 500, 96, 1},
  };
  for (const auto& c : cases) {
    ListFrame f = TestFrame(c.mode, c.dpi);
    f.clientWidth = c.areaWidth + ScaleFrom96(12, c.dpi);
    ASSERT_EQ(ListArea(f).Width(), c.areaWidth);
    EXPECT_EQ(ColumnsPerRow(f), c.expected) << c.mode << " " << c.areaWidth << "@" << c.dpi;
  }
}

TEST(ListContentTest, HeightCountsRowsOfCells) {
  ListFrame f = TestFrame(kViewSmallIcons);
  f.clientWidth = 512;  // 4 cells per row
  EXPECT_EQ(ContentHeight(f, 0), 0);
  EXPECT_EQ(ContentHeight(f, 4), 84);
  EXPECT_EQ(ContentHeight(f, 5), 168);
  f.viewMode = kViewList;
  EXPECT_EQ(ContentHeight(f, 5), 5 * 44);
  // Under the horizontal bar (1060 px of columns in 500 px) 548 px of rows:
  // 20 rows (880 px) leave 332 px to scroll.
  EXPECT_EQ(MaxVerticalOffset(f, 20), 880 - 548);
  f.clientWidth = 1100;
  // 558 px of rows: 20 rows (880 px) leave 322 px to scroll.
  EXPECT_EQ(MaxVerticalOffset(f, 20), 880 - 558);
  EXPECT_EQ(MaxVerticalOffset(f, 3), 0);
}

TEST(RowsToPaintTest, FromTheRowAtTheOffsetToTheAreasBottom) {
  const ListFrame f = TestFrame();                        // 558 px high, 44 px rows
  EXPECT_EQ(RowsToPaint(f, 0, 1000), (RowRange{0, 13}));  // 12.7 rows: the 13th partly
  EXPECT_EQ(RowsToPaint(f, 44, 1000), (RowRange{1, 14}));
  EXPECT_EQ(RowsToPaint(f, 50, 1000), (RowRange{1, 14}));  // rows 1 and 13 partly hidden
  EXPECT_EQ(RowsToPaint(f, 60, 1000), (RowRange{1, 15}));  // row 14 shows its first pixel
  EXPECT_EQ(RowsToPaint(f, 0, 5), (RowRange{0, 5}));
  EXPECT_EQ(RowsToPaint(f, 0, 0), (RowRange{0, 0}));
  EXPECT_EQ(RowsToPaint(f, INT64_MAX, 5), (RowRange{5, 5}));
}

TEST(RowsToPaintTest, IconViewsPaintWholeRowsOfCells) {
  ListFrame f = TestFrame(kViewSmallIcons);
  f.clientWidth = 512;  // 4 per row, 598 px high: 7.1 rows of 84
  EXPECT_EQ(RowsToPaint(f, 0, 1000), (RowRange{0, 32}));
  EXPECT_EQ(RowsToPaint(f, 84, 1000), (RowRange{4, 36}));
  EXPECT_EQ(RowsToPaint(f, 84, 30), (RowRange{4, 30}));
}

TEST(HydrationGeometryTest, GivesTheAttributeJobTheRowsInView) {
  ListFrame f = TestFrame(kViewSmallIcons, 144);
  f.clientWidth = 1000;
  const ListGeometry g = HydrationGeometry(f, 300);
  EXPECT_EQ(g.rowAreaHeight, ListArea(f).Height());
  EXPECT_EQ(g.iconsPerRow, ColumnsPerRow(f));
  EXPECT_EQ(g.viewMode, kViewSmallIcons);
  EXPECT_EQ(g.dpi, 144u);
  // The job's range covers every row the frame paints.
  const RowRange painted = RowsToPaint(f, 300, 10000);
  const RowRange hydrated = VisibleRows(g, 10000);
  EXPECT_LE(hydrated.first, painted.first);
  EXPECT_GE(hydrated.last, painted.last);
}

}  // namespace
}  // namespace quillmor
