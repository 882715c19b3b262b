#include "app/core/delete_chain.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/core/file_operation_texts.h"
#include "app/core/message_titles.h"
#include "tests/app/language_fixture.h"

namespace quillmor {
namespace {

using Step = DeleteStep;
constexpr DeleteMethod kDirect = DeleteMethod::kDirect;
constexpr DeleteMethod kShell = DeleteMethod::kShell;
constexpr DeleteMethod kFileOperation = DeleteMethod::kFileOperation;

TEST(DeleteChainTest, TheOrdersOfTheTwoChains) {
  EXPECT_EQ(std::vector<Step>(PermanentDeleteSteps().begin(), PermanentDeleteSteps().end()),
            (std::vector<Step>{{kDirect, false}, {kShell, false}, {kFileOperation, false}, {kDirect, false}}));
  EXPECT_EQ(std::vector<Step>(RecycleSteps().begin(), RecycleSteps().end()),
            (std::vector<Step>{{kFileOperation, true}, {kShell, true}, {kDirect, false}}));
}

// A disk where each path gives in to some methods only.
struct FakeDisk {
  std::map<std::u16string, std::set<DeleteMethod>> yieldsTo;
  std::vector<std::pair<std::u16string, Step>> tried;

  DeleteAttempt Attempt() {
    return [this](const Step& step, std::u16string_view path) {
      tried.emplace_back(std::u16string(path), step);
      const auto it = yieldsTo.find(std::u16string(path));
      return it != yieldsTo.end() && it->second.count(step.method) > 0;
    };
  }
};

TEST(DeleteChainTest, EachPathStopsAtTheFirstMethodThatDeletesIt) {
  const struct {
    const char16_t* name;
    std::set<DeleteMethod> yieldsTo;
    std::optional<size_t> permanent;  // the step that deletes it
    std::optional<size_t> recycle;
  } cases[] = {
      {u"plain file", {kDirect, kShell, kFileOperation}, 0, 0},
      {u"non-empty folder", {kShell, kFileOperation}, 1, 0},
      {u"no file-operation object (Wine)", {kDirect, kShell}, 0, 1},
      {u"refused by the Recycle Bin", {kDirect}, 0, 2},
      {u"only the file operation", {kFileOperation}, 2, 0},
      {u"gone", {}, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    FakeDisk disk;
    disk.yieldsTo[c.name] = c.yieldsTo;
    EXPECT_EQ(DeleteThroughSteps(c.name, PermanentDeleteSteps(), disk.Attempt()), c.permanent) << "permanent";
    const size_t permanentTries = disk.tried.size();
    EXPECT_EQ(permanentTries, c.permanent ? *c.permanent + 1 : 4u);
    EXPECT_EQ(DeleteThroughSteps(c.name, RecycleSteps(), disk.Attempt()), c.recycle) << "recycle";
    EXPECT_EQ(disk.tried.size() - permanentTries, c.recycle ? *c.recycle + 1 : 3u);
  }
}

TEST(DeleteChainTest, AnEmptyPathFailsWithoutTryingAnything) {
  FakeDisk disk;
  EXPECT_EQ(DeleteThroughSteps(u"", PermanentDeleteSteps(), disk.Attempt()), std::nullopt);
  EXPECT_TRUE(disk.tried.empty());
}

TEST(DeleteChainTest, FailuresAreCountedOverAllPathsAndTheDeletedOnesKept) {
  FakeDisk disk;
  const std::vector<std::u16string> paths{u"a", u"gone-1", u"b", u"", u"c"};
  for (const char16_t* name : {u"a", u"b", u"c"}) disk.yieldsTo[name] = {kShell};
  const DeleteOutcome outcome = DeletePaths(paths, PermanentDeleteSteps(), disk.Attempt());
  EXPECT_EQ(outcome.failures, 2u);
  EXPECT_EQ(outcome.deleted, (std::vector<std::u16string>{u"a", u"b", u"c"}));
}

class DeleteTextsTest : public LanguageTest {};

TEST_F(DeleteTextsTest, ConfirmationNamesOneItemAndCountsSeveral) {
  const std::vector<std::u16string> one{u"C:\\docs\\report.txt"};
  EXPECT_EQ(ConfirmDeleteText(one), u"Permanently delete this file?\n\nC:\\docs\\report.txt");
  const std::vector<std::u16string> twelve(12, u"x");
  EXPECT_EQ(ConfirmDeleteText(twelve), u"Permanently delete the selected 12 items?");
  EXPECT_EQ(ConfirmDeleteTitle(), u"Confirm Delete");
}

TEST_F(DeleteTextsTest, FailureMessages) {
  EXPECT_EQ(DeleteFailedText(2), u"Failed to delete 2 selected items.");
  EXPECT_EQ(RecycleFailedText(), u"Could not move to the Recycle Bin. Fallback deletion also failed.");
  EXPECT_EQ(RenameFailedText(183), u"Rename failed.\nError code: 183");
  EXPECT_EQ(ErrorTitle(), u"Error");
}

TEST_F(DeleteTextsTest, ChineseCountsToo) {
  Install(u"zh-cn", true);
  EXPECT_EQ(DeleteFailedText(3), u"有 3 个选中的项目删除失败。");
  EXPECT_EQ(ConfirmDeleteText(std::vector<std::u16string>(2, u"x")), u"确定要永久删除选中的 2 个项目吗？");
}

}  // namespace
}  // namespace quillmor
