#include "app/core/path_column_width.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillmor {
namespace {

class PathColumnWidthTest : public ::testing::Test {
 protected:
  PathColumnWidthTest() {
    input.storedPathWidth = 300;
    input.listAreaWidth = 1088;  // columns 0..4 take 760: 328 available
    input.rowHeight = 44;
    input.viewHeight = 558;
    input.rowCount = 1000;
    input.columnWidths = {60, 280, 100, 160, 160, 999};
  }

  PathColumnWidth Compute(int32_t widestPath) {
    return ComputePathColumnWidth(input, [&](int64_t row) -> std::optional<int32_t> {
      measured.push_back(row);
      return row % 2 == 0 ? widestPath : widestPath / 2;
    });
  }

  PathColumnInput input;
  std::vector<int64_t> measured;
};

TEST_F(PathColumnWidthTest, PathsThatFitLetTheColumnFillTheRow) {
  EXPECT_EQ(Compute(200), (PathColumnWidth{328, false}));  // 220 fits in 328
  EXPECT_EQ(Compute(308), (PathColumnWidth{328, false}));  // 328 exactly
}

TEST_F(PathColumnWidthTest, APathTooWideGrowsTheColumnAndTheRowScrolls) {
  EXPECT_EQ(Compute(309), (PathColumnWidth{329, true}));
  EXPECT_EQ(Compute(900), (PathColumnWidth{920, true}));
}

TEST_F(PathColumnWidthTest, TheBaseIsTheStoredWidthOrAtLeast200) {
  input.listAreaWidth = 800;                             // 40 available
  EXPECT_EQ(Compute(10), (PathColumnWidth{300, true}));  // the stored 300
  input.storedPathWidth = 50;
  EXPECT_EQ(Compute(10), (PathColumnWidth{200, true}));
  input.dpi = 144;
  EXPECT_EQ(Compute(10), (PathColumnWidth{300, true}));  // 200 at 144 DPI
}

TEST_F(PathColumnWidthTest, NothingMeasuredFillsTheRow) {
  const PathColumnWidth w =
      ComputePathColumnWidth(input, [](int64_t) -> std::optional<int32_t> { return std::nullopt; });
  EXPECT_EQ(w, (PathColumnWidth{328, false}));
  input.rowCount = 0;
  EXPECT_EQ(Compute(5000), (PathColumnWidth{328, false}));
  EXPECT_TRUE(measured.empty());
  // No room at all: the base, wider than the area.
  input.listAreaWidth = 500;
  EXPECT_EQ(Compute(5000), (PathColumnWidth{300, true}));
}

TEST_F(PathColumnWidthTest, MeasuresTheRowsInViewAndTwoMore) {
  input.verticalOffset = 44 * 10 + 20;  // row 10 at the top
  Compute(100);
  ASSERT_EQ(measured.size(), 558u / 44 + 2);
  EXPECT_EQ(measured.front(), 10);
  EXPECT_EQ(measured.back(), 10 + 558 / 44 + 1);
  // A view lower than 50 px counts as 50; the list's end stops the count.
  measured.clear();
  input.viewHeight = 10;
  input.rowCount = 12;
  Compute(100);
  EXPECT_EQ(measured, (std::vector<int64_t>{10, 11}));
  measured.clear();
  input.rowCount = 1000;
  Compute(100);
  EXPECT_EQ(measured.size(), 50u / 44 + 2);
}

}  // namespace
}  // namespace quillmor
