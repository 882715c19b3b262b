#include "app/core/operation_items.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

TEST(OperationRowsTest, SelectedRowsInAscendingOrderWhateverTheOrderOfClicks) {
  ListSelection selection;
  selection.SelectOne(7);
  selection.Toggle(2);
  selection.Toggle(5);  // the focus ends on 5
  EXPECT_EQ(OperationRows(selection, 10), (std::vector<int64_t>{2, 5, 7}));
}

TEST(OperationRowsTest, TheFocusedRowWhenNothingIsSelected) {
  ListSelection selection;
  selection.SelectOne(4);
  selection.Toggle(4);  // the set empties and the focus goes with it
  EXPECT_TRUE(OperationRows(selection, 10).empty());

  selection.SetFocused(3);  // a double click focuses without selecting
  EXPECT_EQ(OperationRows(selection, 10), (std::vector<int64_t>{3}));
  EXPECT_TRUE(OperationRows(selection, 3).empty()) << "a focused row past the rows is none";
}

TEST(OperationRowsTest, RowsPastTheResultsAreLeftOut) {
  ListSelection selection;
  selection.SelectOne(1);
  selection.SelectRange(6);
  EXPECT_EQ(OperationRows(selection, 4), (std::vector<int64_t>{1, 2, 3}));
}

TEST(ItemsInFirstFolderTest, OnlyTheFirstItemsFolderTakesPart) {
  const struct {
    std::vector<std::u16string> paths;
    std::vector<size_t> items;
  } cases[] = {
      {{}, {}},
      {{u"C:\\a\\x.txt"}, {0}},
      {{u"C:\\a\\x.txt", u"D:\\b\\y.txt", u"C:\\A\\z.txt"}, {0, 2}},  // case aside
      {{u"C:\\a\\x.txt", u"C:\\a\\sub\\y.txt", u"C:\\x.txt"}, {0}},   // neither deeper nor higher
      {{u"C:\\a\\b\\", u"C:\\a\\b\\c"}, {0, 1}},                      // up to and including the last "\"
      {{u"x.txt", u"y.txt", u"C:\\y.txt"}, {0, 1}},                   // no folder at all is one folder too
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ItemsInFirstFolder(c.paths), c.items) << c.paths.size();
  }
}

TEST(FolderOfPathTest, UpToAndIncludingTheLastBackslash) {
  EXPECT_EQ(FolderOfPath(u"C:\\docs\\report.txt"), u"C:\\docs\\");
  EXPECT_EQ(FolderOfPath(u"C:\\report.txt"), u"C:\\");
  EXPECT_EQ(FolderOfPath(u"report.txt"), u"");
}

}  // namespace
}  // namespace quillmor
