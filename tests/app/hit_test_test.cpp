#include "app/core/hit_test.h"

#include <gtest/gtest.h>

#include "tests/app/list_frame.h"

namespace quillmor {
namespace {

struct HitCase {
  int32_t x, y;
  int64_t offset, expected;
};

TEST(HitTestRowTest, ListRowsAndTheirEdges) {
  ListFrame f = TestFrame();
  f.sidebarLayout = true;  // the area starts at x = 200; rows start at y = 140
  const HitCase cases[] = {
      {199, 150, 0, -1},                            // left of the area
      {200, 139, 0, -1},                            // in the header band
      {200, 140, 0, 0},          {900, 183, 0, 0},  // the last pixel of row 0
      {900, 184, 0, 1},          {300, 140, 10, 0},
      {300, 173, 10, 0},         {300, 174, 10, 1},            // the offset moves the row edges up
      {300, 140 + 9 * 44, 0, 9}, {300, 140 + 10 * 44, 0, -1},  // below the last of ten rows
      {300, 140, 44 * 9, 9},
  };
  for (const HitCase& c : cases) {
    EXPECT_EQ(HitTestRow(f, c.offset, 10, c.x, c.y), c.expected) << c.x << "," << c.y << " +" << c.offset;
  }
}

TEST(HitTestRowTest, NoRowsNoHit) {
  const ListFrame f = TestFrame();
  EXPECT_EQ(HitTestRow(f, 0, 0, 100, 200), -1);
}

TEST(HitTestRowTest, IconCellsAndTheirEdges) {
  ListFrame f = TestFrame(kViewSmallIcons);
  f.clientWidth = 512;  // 4 cells of 110 px per row; cells start at y = 100
  const HitCase cases[] = {
      {0, 100, 0, 0},
      {109, 183, 0, 0},
      {110, 100, 0, 1},
      {439, 100, 0, 3},
      {440, 100, 0, -1},  // past the fourth cell: no fifth column
      {0, 184, 0, 4},
      {115, 184, 0, 5},
      {0, 100, 84, 4},  // one row of cells scrolled away
      {0, 99, 84, -1},
      {220, 100 + 2 * 84, 0, -1},  // row 2, column 2: index 10 of 10 rows
      {110, 100 + 2 * 84, 0, 9},
  };
  for (const HitCase& c : cases) {
    EXPECT_EQ(HitTestRow(f, c.offset, 10, c.x, c.y), c.expected) << c.x << "," << c.y << " +" << c.offset;
  }
}

TEST(HitTestRowTest, ScalesWithTheDpi) {
  ListFrame f = TestFrame(kViewList, 144);  // 66 px rows under a 60 px header
  EXPECT_EQ(HitTestRow(f, 0, 10, 10, 160 + 65), 0);
  EXPECT_EQ(HitTestRow(f, 0, 10, 10, 160 + 66), 1);
}

}  // namespace
}  // namespace quillmor
