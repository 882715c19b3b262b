#include "app/core/command_keys.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

constexpr KeyFocus kList = KeyFocus::kList;
constexpr KeyFocus kSearch = KeyFocus::kSearchBox;
constexpr KeyFocus kRename = KeyFocus::kRenameEdit;
constexpr KeyFocus kOther = KeyFocus::kOtherEdit;

TEST(CommandKeysTest, TheKeyTable) {
  const struct {
    uint32_t key;
    bool ctrl;
    KeyFocus focus;
    CommandKey action;
  } cases[] = {
      {kKeyEnter, false, kList, CommandKey::kOpen},
      {kKeyEnter, false, kSearch, CommandKey::kNone},  // the search box runs its query
      {kKeyEnter, false, kOther, CommandKey::kNone},
      {kKeyF2, false, kList, CommandKey::kRename},
      {kKeyF2, false, kSearch, CommandKey::kRename},  // F2 renames from the search box too
      {kKeyF2, true, kOther, CommandKey::kRename},
      {kKeyF2, false, kRename, CommandKey::kNone},
      {kKeyDelete, false, kList, CommandKey::kRecycle},
      {kKeyDelete, true, kList, CommandKey::kRecycle},
      {kKeyDelete, false, kSearch, CommandKey::kNone},  // deletes a character
      {kKeyDelete, false, kOther, CommandKey::kNone},
      {'C', true, kList, CommandKey::kCopy},
      {'C', false, kList, CommandKey::kNone},
      {'C', true, kSearch, CommandKey::kNone},  // copies text
      {'X', true, kList, CommandKey::kCut},
      {'X', true, kSearch, CommandKey::kNone},
      {'D', true, kList, CommandKey::kDeletePermanently},
      {'D', false, kList, CommandKey::kNone},
      {'D', true, kSearch, CommandKey::kNone},
      {'A', true, kList, CommandKey::kNone},    // the list's own
      {0x70, false, kList, CommandKey::kNone},  // F1
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecideCommandKey(c.key, c.ctrl, c.focus), c.action)
        << "key " << c.key << " ctrl " << c.ctrl << " focus " << static_cast<int>(c.focus);
  }
}

}  // namespace
}  // namespace quillmor
