#include "search/folder_path.h"

#include <gtest/gtest.h>

#include "index/ascii_case.h"
#include "platform/utf.h"

namespace quillmor {
namespace {

TEST(NormalizeFolderPathTest, Table) {
  const struct {
    const char16_t* typed;
    const char16_t* normalized;
  } cases[] = {
      {u"C:/Windows/", u"C:\\Windows"},
      {u"C:", u"C:"},
      {u"c:\\", u"c:"},
      {u"C:/", u"C:"},
      {u"C:\\\\\\", u"C:"},  // trailing backslashes down to the root, then the root's own
      {u"\"D:\\Data\"", u"D:\\Data"},
      {u"'D:\\Data\\'", u"D:\\Data"},
      {u"  \t\"D:\\Data\"\r\n", u"D:\\Data"},
      {u"\"D:\\Data'", u"\"D:\\Data'"},  // quotes must pair
      {u"\"", u"\""},
      {u"\"\"", u""},
      {u"", u""},
      {u" \r\n", u""},
      {u"\\\\server\\share\\", u"\\\\server\\share"},
      {u"\\", u"\\"},
      {u"\\\\\\\\", u"\\\\\\"},  // never below three units
      {u"ab\\", u"ab\\"},
      {u"1:\\", u"1:"},
      {u"C:\\Users\\me\\Desktop", u"C:\\Users\\me\\Desktop"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NormalizeFolderPath(c.typed), c.normalized) << Utf16ToUtf8(c.typed);
  }
}

TEST(IsUnderFolderTest, Table) {
  const struct {
    const char16_t* path;
    const char16_t* folder;
    bool under;
  } cases[] = {
      {u"C:\\Users\\me\\Desktop", u"C:\\Users\\me\\Desktop", true},
      {u"C:\\Users\\me\\Desktop\\a.txt", u"C:\\Users\\me\\Desktop", true},
      {u"C:\\Users\\me\\Desktop\\sub\\b.txt", u"C:\\Users\\me\\Desktop", true},
      {u"c:\\users\\ME\\desktop\\a.txt", u"C:\\Users\\me\\Desktop\\", true},
      {u"C:/Users/me/Desktop/a.txt", u"C:\\Users\\me\\Desktop", true},
      {u"C:\\Users\\me\\Desktop2\\a.txt", u"C:\\Users\\me\\Desktop", false},
      {u"C:\\Users\\me\\Desktop2", u"C:\\Users\\me\\Desktop", false},
      {u"C:\\Users\\me", u"C:\\Users\\me\\Desktop", false},
      {u"D:\\Users\\me\\Desktop\\a.txt", u"C:\\Users\\me\\Desktop", false},
      {u"C:\\a.txt", u"C:\\", true},
      {u"C:\\a.txt", u"c:", true},
      {u"C:\\", u"C:", true},
      {u"C:", u"C:\\\\", true},
      {u"C:x", u"C:", false},
      {u"C:\\Été\\a", u"C:\\éTÉ", false},  // only ASCII letters fold
      {u"C:\\Été\\a", u"c:\\Été", true},
      {u"", u"C:\\", false},
      {u"C:\\a", u"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsUnderFolder(c.path, c.folder), c.under) << Utf16ToUtf8(c.path) << " in " << Utf16ToUtf8(c.folder);
  }
}

TEST(AsciiCaseCompareTest, FoldsOnlyAsciiLetters) {
  EXPECT_TRUE(EqualIgnoringAsciiCase(u"Readme.TXT", u"rEADME.txt"));
  EXPECT_FALSE(EqualIgnoringAsciiCase(u"Ä", u"ä"));
  EXPECT_FALSE(EqualIgnoringAsciiCase(u"[", u"{"));  // 0x5B and 0x7B differ by 32 but are no letters
  EXPECT_FALSE(EqualIgnoringAsciiCase(u"ab", u"abc"));
  EXPECT_TRUE(StartsWithIgnoringAsciiCase(u"C:\\Data\\x", u"c:\\data"));
  EXPECT_FALSE(StartsWithIgnoringAsciiCase(u"C:", u"C:\\"));
}

}  // namespace
}  // namespace quillmor
