#include <gtest/gtest.h>

#include <string>

#include "app/core/tray_tip.h"

namespace quillmor {
namespace {

TEST(TrayTipTest, HotkeyTakesThePlaceOfTheFirstPlaceholderOrFollowsTheText) {
  EXPECT_EQ(ComposeTrayTip(u"Quillmor - {0} Show/Hide", u"Alt+Z"), u"Quillmor - Alt+Z Show/Hide");
  EXPECT_EQ(ComposeTrayTip(u"Quillmor", u"Alt+Z"), u"Quillmor Alt+Z");
  EXPECT_EQ(ComposeTrayTip(u"{0} / {0}", u"Ctrl+Alt+F5"), u"Ctrl+Alt+F5 / {0}");
  EXPECT_EQ(ComposeTrayTip(u"", u"Alt+Z"), u" Alt+Z");
}

TEST(TrayTipTest, LongTipsAreCutTo127UnitsWithoutSplittingAPair) {
  const std::u16string longText(200, u'x');
  EXPECT_EQ(ComposeTrayTip(longText + u"{0}", u"Alt+Z"), std::u16string(127, u'x'));
  // U+1F600 as a surrogate pair at units 126 and 127: cut before it.
  const std::u16string pairAtTheEdge = std::u16string(126, u'x') + u"\U0001F600" + u"tail";
  EXPECT_EQ(ComposeTrayTip(pairAtTheEdge, u""), std::u16string(126, u'x'));
  const std::u16string pairInside = std::u16string(125, u'x') + u"\U0001F600" + u"tail";
  EXPECT_EQ(ComposeTrayTip(pairInside, u""), std::u16string(125, u'x') + u"\U0001F600");
}

}  // namespace
}  // namespace quillmor
