#include "app/core/list_context_menu.h"

#include <gtest/gtest.h>

#include <set>

#include "app/core/command_ids.h"
#include "tests/app/language_fixture.h"

namespace quillmor {
namespace {

using Kind = MenuEntry::Kind;
constexpr int32_t kSeparator = 0;
constexpr int32_t kViewMenu = -1;
constexpr int32_t kSortMenu = -2;

// The menu's entries as ids: separators 0, the submenus -1 and -2.
std::vector<int32_t> Ids(const std::vector<MenuEntry>& entries) {
  std::vector<int32_t> ids;
  for (const MenuEntry& e : entries) {
    if (e.kind == Kind::kSeparator) ids.push_back(kSeparator);
    if (e.kind == Kind::kCommand) ids.push_back(e.id);
    if (e.kind == Kind::kSubmenu) ids.push_back(e.children.front().id == kCommandViewList ? kViewMenu : kSortMenu);
  }
  return ids;
}

const MenuEntry* Find(const std::vector<MenuEntry>& entries, int32_t id) {
  for (const MenuEntry& e : entries) {
    if (e.kind == Kind::kCommand && e.id == id) return &e;
    if (const MenuEntry* inner = Find(e.children, id)) return inner;
  }
  return nullptr;
}

class ListContextMenuTest : public LanguageTest {};

TEST_F(ListContextMenuTest, EntriesInTheirOrderWithTheirTexts) {
  const std::vector<MenuEntry> menu = BuildListContextMenu({});
  EXPECT_EQ(Ids(menu), (std::vector<int32_t>{10001, 10009,      10010,     10002,      10005,      10004, kSeparator,
                                             10014, 10013,      10003,     kSeparator, 10026,      10006, kSeparator,
                                             10015, kSeparator, kViewMenu, kSortMenu,  kSeparator, 10011, 10016,
                                             10017, 10027,      10028,     10007,      10008}));
  const struct {
    int32_t id;
    const char16_t* text;
  } texts[] = {
      {10001, u"Open"},
      {10009, u"Copy"},
      {10010, u"Cut"},
      {10002, u"Open Containing Folder"},
      {10005, u"Copy Full Path"},
      {10004, u"Run as Administrator"},
      {10014, u"Rename\tF2"},
      {10013, u"Move to Recycle Bin\tDelete"},
      {10003, u"Delete Permanently\tShift+Delete"},
      {10026, u"System Context Menu..."},
      {10006, u"Properties"},
      {10015, u"Refresh All Non-NTFS Indexes"},
      {10018, u"List"},
      {10019, u"Small Icons"},
      {10020, u"Large Icons"},
      {10021, u"By Name"},
      {10022, u"By Size"},
      {10023, u"By Modified Time"},
      {10024, u"By Created Time"},
      {10025, u"By Path"},
      {10011, u"Clear Recent Opens"},
      {10016, u"Filter Layout: Sidebar"},
      {10017, u"Filter Layout: Top Bar"},
      {10027, u"Result Grid Lines (toggle)"},
      {10028, u"Initial search (on/off)"},
      {10007, u"Open Filter Config Folder"},
      {10008, u"Reset Filter Tags to Defaults"},
  };
  for (const auto& t : texts) {
    const MenuEntry* entry = Find(menu, t.id);
    ASSERT_NE(entry, nullptr) << t.id;
    EXPECT_EQ(entry->text, t.text) << t.id;
  }
  EXPECT_EQ(menu[16].text, u"View");
  EXPECT_EQ(menu[17].text, u"Sort");
}

TEST_F(ListContextMenuTest, ItemCommandsAreGreyedOnlyWhenTheClickHitNoRow) {
  const std::set<int32_t> itemCommands{10001, 10009, 10010, 10002, 10005, 10004, 10014, 10013, 10003, 10026, 10006};
  for (const bool hit : {true, false}) {
    ListMenuState state;
    state.hitRow = hit;
    const std::vector<MenuEntry> menu = BuildListContextMenu(state);
    for (int32_t id = 10001; id <= 10028; ++id) {
      const MenuEntry* entry = Find(menu, id);
      if (entry == nullptr) continue;
      EXPECT_EQ(entry->grayed, !hit && itemCommands.count(id) > 0)
          << "id " << id << (hit ? " on a row" : " on nothing");
    }
  }
}

TEST_F(ListContextMenuTest, ChecksFollowTheWindowsSettings) {
  const struct {
    ListMenuState state;
    std::set<int32_t> checked;
  } cases[] = {
      {{true, 0, -1, true, false, false}, {10018, 10016}},
      {{false, 1, 3, false, true, false}, {10019, 10023, 10017, 10027}},
      {{true, 2, 5, true, true, true}, {10020, 10025, 10016, 10027, 10028}},
      {{false, 0, 1, false, false, true}, {10018, 10021, 10017, 10028}},
  };
  for (const auto& c : cases) {
    const std::vector<MenuEntry> menu = BuildListContextMenu(c.state);
    for (int32_t id = 10001; id <= 10028; ++id) {
      const MenuEntry* entry = Find(menu, id);
      if (entry == nullptr) continue;
      EXPECT_EQ(entry->checked, c.checked.count(id) > 0) << "id " << id;
    }
  }
}

TEST(CommandIdsTest, FileActionsViewModesAndSortColumns) {
  const struct {
    int32_t id;
    std::optional<FileAction> action;
  } actions[] = {
      {10001, FileAction::kOpen},
      {10002, FileAction::kOpenContainingFolder},
      {10003, FileAction::kDeletePermanently},
      {10004, FileAction::kRunAsAdministrator},
      {10005, FileAction::kCopyFullPath},
      {10006, FileAction::kProperties},
      {10009, FileAction::kCopyFiles},
      {10010, FileAction::kCutFiles},
      {10013, FileAction::kRecycle},
      {10007, std::nullopt},
      {10014, std::nullopt},
      {20006, std::nullopt},
  };
  for (const auto& a : actions) EXPECT_EQ(FileActionOfCommand(a.id), a.action) << a.id;
  EXPECT_EQ(ViewModeOfCommand(10018), 0);
  EXPECT_EQ(ViewModeOfCommand(10020), 2);
  EXPECT_EQ(ViewModeOfCommand(10021), std::nullopt);
  EXPECT_EQ(SortColumnOfCommand(10021), 1);
  EXPECT_EQ(SortColumnOfCommand(10025), 5);
  EXPECT_EQ(SortColumnOfCommand(10026), std::nullopt);
}

}  // namespace
}  // namespace quillmor
