#include "app/core/tooltip_text.h"

#include <gtest/gtest.h>

#include "platform/sim/manual_clock.h"
#include "settings/window_settings.h"

namespace quillmor {
namespace {

TEST(TooltipTextTest, ShowsTheFullTextOfTheCellUnderThePointer) {
  ManualClock clock;
  LocalTime t;
  t.year = 2023, t.month = 11, t.day = 2, t.hour = 9, t.minute = 5;
  uint64_t ft = 0;
  ASSERT_TRUE(clock.LocalToFileTime(t, ft));
  const AttrEntry known{2048, ft, 0, 1};
  const AttrEntry unknown{};
  const std::u16string_view path = u"C:\\docs\\report.txt";

  const struct {
    int32_t column;
    bool directory;
    const AttrEntry* attrs;
    const char16_t* text;
    bool missing;
  } cases[] = {
      {kColumnName, false, nullptr, u"C:\\docs\\report.txt", false},
      {kColumnPath, true, nullptr, u"C:\\docs\\report.txt", false},
      {kColumnSize, false, &known, u"2 KB", false},
      {kColumnSize, true, &known, u"", false},  // folders have no size
      {kColumnSize, false, &unknown, u"", true},
      {kColumnSize, false, nullptr, u"", true},
      {kColumnModified, false, &known, u"2023-11-02 09:05", false},
      {kColumnCreated, false, &known, u"-", false},
      {kColumnCreated, false, nullptr, u"", true},
      {kColumnRowNumber, false, &known, u"", false},
      {-1, false, &known, u"", false},
  };
  for (const auto& c : cases) {
    const TooltipText tip = TooltipForCell(c.column, c.directory, path, c.attrs, clock);
    EXPECT_EQ(tip.text, c.text) << c.column;
    EXPECT_EQ(tip.attributesMissing, c.missing) << c.column;
  }
}

}  // namespace
}  // namespace quillmor
