#include "app/core/inline_rename.h"

#include <gtest/gtest.h>

#include "settings/window_settings.h"

namespace quillmor {
namespace {

TEST(RenameSelectionTest, FilesWithoutTheirExtensionDirectoriesWhole) {
  const struct {
    const char16_t* name;
    bool directory;
    size_t end;
  } cases[] = {
      {u"report.txt", false, 6},  {u"archive.tar.gz", false, 11},
      {u"README", false, 6},      {u".gitignore", false, 10},
      {u"trailing.", false, 8},   {u"a.b", true, 3},
      {u"photos.2024", true, 11}, {u"", false, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RenameSelection(c.name, c.directory), (NameSelection{0, c.end})) << std::u16string_view(c.name).size();
  }
}

TEST(RenameCommitTest, WhatACommittedTextLeadsTo) {
  const struct {
    const char16_t* text;
    const char16_t* oldName;
    RenameCommit result;
  } cases[] = {
      {u"summary.txt", u"report.txt", RenameCommit::kRename},
      {u"Report.txt", u"report.txt", RenameCommit::kRename},  // a change of case renames
      {u"report.txt", u"report.txt", RenameCommit::kCancel},
      {u"  report.txt\r\n", u"report.txt", RenameCommit::kCancel},  // trimmed first
      {u" \t", u"report.txt", RenameCommit::kCancel},
      {u"", u"report.txt", RenameCommit::kCancel},
      {u"what?.txt", u"report.txt", RenameCommit::kInvalidChars},
      {u"a\\b", u"x", RenameCommit::kInvalidChars},
      {u"a/b", u"x", RenameCommit::kInvalidChars},
      {u"c:d", u"x", RenameCommit::kInvalidChars},
      {u"a*", u"x", RenameCommit::kInvalidChars},
      {u"\"q\"", u"x", RenameCommit::kInvalidChars},
      {u"<a>", u"x", RenameCommit::kInvalidChars},
      {u"a|b", u"x", RenameCommit::kInvalidChars},
      {u"new name (2).txt", u"x", RenameCommit::kRename},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecideRenameCommit(c.text, c.oldName), c.result) << std::u16string_view(c.text).size();
  }
  EXPECT_EQ(TrimRenameText(u"\t new.txt \n"), u"new.txt");
}

TEST(ClickStartsRenameTest, ASecondClickOnTheFocusedNameWithin500To1200Ms) {
  const RenameClick base{kColumnName, 4, 4, 4, 10'600, 10'000};
  EXPECT_TRUE(ClickStartsRename(base));  // 600 ms
  const struct {
    uint64_t elapsed;
    bool starts;
  } times[] = {{300, false}, {499, false}, {500, true}, {1200, true}, {1201, false}, {1300, false}};
  for (const auto& t : times) {
    RenameClick click = base;
    click.nowMs = click.lastClickMs + t.elapsed;
    EXPECT_EQ(ClickStartsRename(click), t.starts) << t.elapsed;
  }
  RenameClick other = base;
  other.column = kColumnPath;
  EXPECT_FALSE(ClickStartsRename(other));
  other = base;
  other.focusedRow = 3;
  EXPECT_FALSE(ClickStartsRename(other));
  other = base;
  other.lastClickedRow = 5;
  EXPECT_FALSE(ClickStartsRename(other));
  other = base;
  other.lastClickedRow = other.focusedRow = other.row = -1;
  EXPECT_FALSE(ClickStartsRename(other));
  other = base;
  other.nowMs = 9'000;  // before the previous click
  EXPECT_FALSE(ClickStartsRename(other));
}

TEST(RenameEditRectTest, PlacedOverTheNameInDevicePixels) {
  // Area at 200, row numbers 60 wide, name 280, scrolled 10 to the right.
  EXPECT_EQ(RenameEditRect(200, 60, 280, 10, 184, 44), RectAt(284, 188, 236, 36));
  // The same offsets at any DPI: only the widths and heights passed in change.
  EXPECT_EQ(RenameEditRect(300, 90, 420, 0, 160, 66), RectAt(424, 164, 376, 58));
  EXPECT_EQ(RenameEditRect(0, 60, 100, 0, 0, 44).Width(), 80);  // never narrower than 80
}

TEST(RenameEditRectTest, OnlyARowWhollyInViewIsRenamed) {
  EXPECT_TRUE(RowLiesInView(140, 44, 140, 698));
  EXPECT_FALSE(RowLiesInView(139, 44, 140, 698));
  EXPECT_TRUE(RowLiesInView(654, 44, 140, 698));
  EXPECT_FALSE(RowLiesInView(655, 44, 140, 698));
}

}  // namespace
}  // namespace quillmor
