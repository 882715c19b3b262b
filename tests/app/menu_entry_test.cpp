#include "app/core/menu_entry.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

TEST(LiteralMenuTextTest, EveryAmpersandIsDoubled) {
  const struct {
    std::u16string_view text;
    std::u16string_view literal;
  } cases[] = {
      {u"", u""},
      {u"English (US)", u"English (US)"},
      {u"&", u"&&"},
      {u"R&D", u"R&&D"},
      {u"&&", u"&&&&"},
      {u"a & b &", u"a && b &&"},
      {u"Tab\tstays", u"Tab\tstays"},
  };
  for (const auto& c : cases) EXPECT_EQ(LiteralMenuText(c.text), c.literal) << testing::PrintToString(c.text);
}

TEST(MenuEntryTest, BuildersSetTheirKind) {
  const MenuEntry command = MenuCommand(7, u"Open", true);
  EXPECT_EQ(command.kind, MenuEntry::Kind::kCommand);
  EXPECT_EQ(command.id, 7);
  EXPECT_TRUE(command.checked);
  EXPECT_FALSE(command.grayed);
  EXPECT_EQ(MenuSeparator().kind, MenuEntry::Kind::kSeparator);
  const MenuEntry sub = MenuSubmenu(u"View", {MenuCommand(1, u"List"), MenuSeparator()});
  EXPECT_EQ(sub.kind, MenuEntry::Kind::kSubmenu);
  EXPECT_EQ(sub.text, u"View");
  EXPECT_EQ(sub.children.size(), 2u);
}

}  // namespace
}  // namespace quillmor
