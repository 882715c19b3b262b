// Deleting for real in a scratch folder: to Wine's trash (under the
// XDG_DATA_HOME the test program runs with) and permanently, through the
// fallbacks, with the failures counted and the results refreshed.

#include "tests/app/win32/file_ops_fixture.h"

namespace quillmor {
namespace {

// Wine's trash: $XDG_DATA_HOME/Trash, reached through Z:. Empty when the
// program runs without its own XDG_DATA_HOME (then recycling would reach
// the user's trash, and those tests skip).
std::u16string TrashFolder() {
  wchar_t value[1024] = L"";
  const DWORD length = GetEnvironmentVariableW(L"XDG_DATA_HOME", value, 1024);
  if (length == 0 || length >= 1024 || value[0] != L'/') return {};
  std::u16string path = u"Z:" + win32::FromWide(value);
  for (char16_t& c : path) c = c == u'/' ? u'\\' : c;
  return path + u"\\Trash";
}

std::string ReadWholeFile(const std::u16string& path) {
  std::string bytes;
  const HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

// The .trashinfo text Wine wrote for a trashed item whose path ends in
// `name`, or empty.
std::string TrashInfoFor(const std::u16string& trash, const std::string& name) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(W(trash + u"\\info\\*.trashinfo"), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::string match;
  do {
    const std::string info = ReadWholeFile(trash + u"\\info\\" + win32::FromWide(found.cFileName));
    if (info.find("/" + name + "\n") != std::string::npos) match = info;
  } while (match.empty() && FindNextFileW(search, &found));
  FindClose(search);
  return match;
}

class FileDeleteTest : public FileOpsFixture {
 protected:
  // Waits for the refresh a delete starts: a new search that settles.
  bool RefreshedSince(uint64_t generation) {
    return PumpUntil([&] { return SearchGeneration() > generation && Settled(); });
  }
  // A unique tag for this run's names, so that the trash of earlier runs
  // does not answer for them.
  std::string Unique(const char* stem) {
    return std::string(stem) + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
  }
};

TEST_F(FileDeleteTest, DeleteMovesTheItemsToWinesTrashWithoutAskingAndRefreshes) {
  const std::u16string trash = TrashFolder();
  if (trash.empty()) GTEST_SKIP() << "run through ctest, which gives the program a trash folder of its own";
  const std::string a = Unique("trash-a") + ".txt";
  const std::string b = Unique("trash-b");
  scratch.MakeFile(std::u16string(a.begin(), a.end()));
  scratch.MakeFolder(std::u16string(b.begin(), b.end()));
  scratch.MakeFile(std::u16string(b.begin(), b.end()) + u"\\inner.txt");
  ASSERT_EQ(OpenAndSearch(u"trash-"), 2);
  SelectRows({std::u16string(a.begin(), a.end()), std::u16string(b.begin(), b.end())});
  const uint64_t before = SearchGeneration();
  PressListKey(VK_DELETE, false, true);  // Shift+Delete recycles as Delete does
  EXPECT_TRUE(hookedBoxes.shown.empty()) << "no question, no failure";
  EXPECT_FALSE(scratch.Exists(std::u16string(a.begin(), a.end())));
  EXPECT_FALSE(scratch.Exists(std::u16string(b.begin(), b.end())));
  // Wine has no IFileOperation (E_NOTIMPL): the shell's recycling moved them.
  EXPECT_NE(TrashInfoFor(trash, a).find("Path="), std::string::npos) << "not in the trash: " << a;
  EXPECT_NE(TrashInfoFor(trash, b).find("Path="), std::string::npos) << "not in the trash: " << b;
  EXPECT_TRUE(RefreshedSince(before));
  for (const std::string& name : {a, b}) {  // the trash is the test's own; leave it as it was
    const std::u16string wide(name.begin(), name.end());
    RemoveTree(trash + u"\\files\\" + wide);
    RemoveTree(trash + u"\\info\\" + wide + u".trashinfo");
  }
}

TEST_F(FileDeleteTest, PermanentDeleteAsksThenRemovesAReadOnlyFileAndANonEmptyFolder) {
  scratch.MakeFile(u"locked.txt");
  ASSERT_TRUE(SetFileAttributesW(W(scratch.Path(u"locked.txt")), FILE_ATTRIBUTE_READONLY));
  scratch.MakeFolder(u"lockedtree");
  scratch.MakeFolder(u"lockedtree\\sub");
  scratch.MakeFile(u"lockedtree\\sub\\deep.txt");
  ASSERT_EQ(OpenAndSearch(u"locked"), 2);
  SelectRows({u"locked.txt", u"lockedtree"});

  hookedBoxes.answer = IDNO;
  PressListKey('D', true);
  ASSERT_EQ(hookedBoxes.shown.size(), 1u);
  EXPECT_EQ(hookedBoxes.shown[0].text, u"Permanently delete the selected 2 items?");
  EXPECT_EQ(hookedBoxes.shown[0].title, u"Confirm Delete");
  EXPECT_EQ(hookedBoxes.shown[0].type, static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
  EXPECT_TRUE(scratch.Exists(u"locked.txt") && scratch.Exists(u"lockedtree")) << "No deletes nothing";

  hookedBoxes.answer = IDYES;
  const uint64_t before = SearchGeneration();
  RunListCommand(Window(), 10003);  // the menu's Delete Permanently
  EXPECT_EQ(hookedBoxes.shown.size(), 2u) << "the question only";
  EXPECT_FALSE(scratch.Exists(u"locked.txt"));
  EXPECT_FALSE(scratch.Exists(u"lockedtree"));
  EXPECT_TRUE(RefreshedSince(before));
}

TEST_F(FileDeleteTest, ANonEmptyFolderDefeatsTheDirectDeleteAndGoesWithTheShells) {
  scratch.MakeFolder(u"tree");
  scratch.MakeFile(u"tree\\inner.txt");
  scratch.MakeFile(u"plain.txt");
  const std::u16string tree = scratch.Path(u"tree");
  const DeleteStep direct{DeleteMethod::kDirect, false};
  const DeleteStep fileOperation{DeleteMethod::kFileOperation, false};
  const DeleteStep shellDelete{DeleteMethod::kShell, false};
  EXPECT_FALSE(DeleteByStep(nullptr, direct, tree));
  EXPECT_TRUE(scratch.Exists(u"tree"));
  // What Wine does: the file operation object answers E_NOTIMPL.
  EXPECT_FALSE(DeleteByStep(nullptr, fileOperation, tree));
  EXPECT_TRUE(DeleteByStep(nullptr, shellDelete, tree));
  EXPECT_FALSE(scratch.Exists(u"tree"));
  // A path that is not there defeats every method.
  for (const DeleteStep& step : PermanentDeleteSteps()) EXPECT_FALSE(DeleteByStep(nullptr, step, tree));
  EXPECT_TRUE(DeleteByStep(nullptr, direct, scratch.Path(u"plain.txt")));
}

TEST_F(FileDeleteTest, TwoFailuresOfFiveShowOneMessageWithTheCount) {
  for (const char16_t* name : {u"five-1.txt", u"five-2.txt", u"five-3.txt", u"five-4.txt", u"five-5.txt"}) {
    scratch.MakeFile(name);
  }
  ASSERT_EQ(OpenAndSearch(u"five-"), 5);
  PressListKey('A', true);
  ASSERT_EQ(Selected().size(), 5u);
  // Two go behind the program's back: no method can delete them now.
  ASSERT_TRUE(DeleteFileW(W(scratch.Path(u"five-2.txt"))));
  ASSERT_TRUE(DeleteFileW(W(scratch.Path(u"five-4.txt"))));
  hookedBoxes.answer = IDYES;
  const uint64_t before = SearchGeneration();
  PressListKey('D', true);
  ASSERT_EQ(hookedBoxes.shown.size(), 2u);
  EXPECT_EQ(hookedBoxes.shown[0].text, u"Permanently delete the selected 5 items?");
  EXPECT_EQ(hookedBoxes.shown[1].text, u"Failed to delete 2 selected items.");
  EXPECT_EQ(hookedBoxes.shown[1].title, u"Error");
  EXPECT_EQ(hookedBoxes.shown[1].type, static_cast<UINT>(MB_ICONERROR));
  EXPECT_TRUE(scratch.Names().empty());
  EXPECT_TRUE(RefreshedSince(before)) << "the three that went leave the list";
}

TEST_F(FileDeleteTest, RecyclingWhatNoMethodCanDeleteSaysSoOnce) {
  if (TrashFolder().empty()) GTEST_SKIP() << "run through ctest, which gives the program a trash folder of its own";
  scratch.MakeFile(u"vanishing-1.txt");
  scratch.MakeFile(u"vanishing-2.txt");
  ASSERT_EQ(OpenAndSearch(u"vanishing"), 2);
  PressListKey('A', true);
  ASSERT_TRUE(DeleteFileW(W(scratch.Path(u"vanishing-1.txt"))));
  ASSERT_TRUE(DeleteFileW(W(scratch.Path(u"vanishing-2.txt"))));
  const uint64_t before = SearchGeneration();
  PressListKey(VK_DELETE);
  ASSERT_EQ(hookedBoxes.shown.size(), 1u);
  EXPECT_EQ(hookedBoxes.shown[0].text, u"Could not move to the Recycle Bin. Fallback deletion also failed.");
  PumpFor(200);
  EXPECT_EQ(SearchGeneration(), before) << "nothing went, nothing to refresh";
}

TEST_F(FileDeleteTest, TheDeleteKeysActOnlyFromTheList) {
  scratch.MakeFile(u"keep-me.txt");
  ASSERT_EQ(OpenAndSearch(u"keep-me"), 1);
  SelectRows({u"keep-me.txt"});
  PressKey(Window().controls.searchEdit, VK_DELETE);  // deletes a character of the query
  PressKey(Window().controls.searchEdit, 'D', true);
  PressKey(Window().controls.customSize, VK_DELETE);
  EXPECT_TRUE(scratch.Exists(u"keep-me.txt"));
  EXPECT_TRUE(hookedBoxes.shown.empty());
}

}  // namespace
}  // namespace quillmor
