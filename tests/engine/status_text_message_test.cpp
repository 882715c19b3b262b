#include "engine/status_text_message.h"

#include <gtest/gtest.h>

#include "platform/sim/recording_window_poster.h"

namespace quillmor {
namespace {

class StatusTextTest : public ::testing::Test {
 protected:
  ~StatusTextTest() override {
    for (const PostedMessage& m : poster.Messages()) delete[] reinterpret_cast<char16_t*>(m.lParam);
  }
  std::u16string Posted(size_t i) { return reinterpret_cast<const char16_t*>(poster.Messages().at(i).lParam); }

  RecordingWindowPoster poster;
  const WindowHandle window = RecordingWindowPoster::TestWindow();
};

TEST_F(StatusTextTest, TextTravelsInAHeapBufferOfTheGivenSize) {
  ASSERT_TRUE(PostStatusText(poster, window, 7, u"Scanning", 128));
  ASSERT_EQ(poster.Messages().size(), 1u);
  EXPECT_EQ(poster.Messages()[0].message, WMU_STATUS_TEXT);
  EXPECT_EQ(poster.Messages()[0].wParam, 7u);
  EXPECT_EQ(Posted(0), u"Scanning");
}

TEST_F(StatusTextTest, LongTextIsCutToTheBuffer) {
  ASSERT_TRUE(PostStatusText(poster, window, 1, std::u16string(300, u'x'), 128));
  EXPECT_EQ(Posted(0), std::u16string(127, u'x'));
  // Never half of a surrogate pair at the cut.
  ASSERT_TRUE(PostStatusText(poster, window, 1, std::u16string(126, u'x') + u"\U0001F600", 128));
  EXPECT_EQ(Posted(1), std::u16string(126, u'x'));
}

// Under AddressSanitizer a buffer nobody receives would show as a leak.
TEST_F(StatusTextTest, BufferIsFreedWhenNoWindowTakesIt) {
  EXPECT_FALSE(PostStatusText(poster, nullptr, 1, u"lost", 128));
  poster.DestroyWindow(window);
  EXPECT_FALSE(PostStatusText(poster, window, 1, u"lost", 128));
  EXPECT_TRUE(poster.Messages().empty());
}

}  // namespace
}  // namespace quillmor
