#include "settings/config_directory.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/win32_constants.h"
#include "tests/settings/settings_fixture.h"

namespace quillmor {
namespace {

struct FolderCase {
  const char* name;
  std::optional<std::u16string> documents;
  std::optional<std::u16string> localAppData;
  std::u16string tempPath;
  std::u16string expected;
  bool created;
};

class ConfigDirectoryTest : public SettingsTest {
 protected:
  ConfigDirectoryTest() { files.AddDirectories(u"C:\\Users\\ada\\AppData\\Local"); }
};

TEST_F(ConfigDirectoryTest, FirstFolderThatAnswersWins) {
  files.AddDrive(u'D', win32::kDriveFixed, VolumeInformation{u"NTFS", 1, 255, 0});
  files.AddDirectories(u"D:\\tmp");
  const std::u16string longTemp = u"D:\\" + std::u16string(256, u'x') + u"\\";
  const std::u16string temp259 = u"D:\\" + std::u16string(255, u'y') + u"\\";
  ASSERT_EQ(longTemp.size(), 260u);
  ASSERT_EQ(temp259.size(), 259u);
  files.AddDirectories(temp259);
  const FolderCase cases[] = {
      {"documents", u"C:\\Users\\ada\\Documents", u"C:\\Users\\ada\\AppData\\Local", u"D:\\tmp\\",
       u"C:\\Users\\ada\\Documents\\Quillmor\\config", true},
      {"local application data", std::nullopt, u"C:\\Users\\ada\\AppData\\Local", u"D:\\tmp\\",
       u"C:\\Users\\ada\\AppData\\Local\\Quillmor\\config", true},
      // The temporary path ends in a backslash already: no doubled one.
      {"temporary directory", std::nullopt, std::nullopt, u"D:\\tmp\\", u"D:\\tmp\\Quillmor\\config", true},
      {"temporary path of 259", std::nullopt, std::nullopt, temp259, temp259 + u"Quillmor\\config", true},
      {"temporary path of 260", std::nullopt, std::nullopt, longTemp, u"C:\\Quillmor\\config", false},
      {"no temporary path", std::nullopt, std::nullopt, u"", u"C:\\Quillmor\\config", false},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.name);
    t.system.documents = c.documents;
    t.system.localAppData = c.localAppData;
    t.system.tempPath = c.tempPath;
    EXPECT_EQ(ConfigDirectory(env), c.expected);
    EXPECT_EQ(files.IsDirectory(c.expected), c.created);
  }
}

TEST_F(ConfigDirectoryTest, ParentIsCreatedBeforeTheDirectory) {
  // The memory file system creates nothing without its parent, so both
  // levels existing afterwards means both were created, in order.
  EXPECT_EQ(ConfigDirectory(env), kConfigDir);
  EXPECT_TRUE(files.IsDirectory(u"C:\\Users\\ada\\Documents\\Quillmor"));
  EXPECT_TRUE(files.IsDirectory(kConfigDir));
}

TEST_F(ConfigDirectoryTest, AnExistingOrUncreatableDirectoryIsStillTheAnswer) {
  EXPECT_EQ(ConfigDirectory(env), kConfigDir);
  EXPECT_EQ(ConfigDirectory(env), kConfigDir);  // exists now: creation fails quietly

  t.system.documents = u"C:\\ReadOnly";
  files.AddDirectories(u"C:\\ReadOnly");
  files.RefuseWritesUnder(u"C:\\ReadOnly");
  EXPECT_EQ(ConfigDirectory(env), u"C:\\ReadOnly\\Quillmor\\config");
  EXPECT_FALSE(files.Exists(u"C:\\ReadOnly\\Quillmor"));
}

TEST_F(ConfigDirectoryTest, FilePathIsTheDirectoryABackslashAndTheName) {
  EXPECT_EQ(ConfigFilePath(env, u"window.ini"), u"C:\\Users\\ada\\Documents\\Quillmor\\config\\window.ini");
}

TEST_F(ConfigDirectoryTest, OverrideWinsAndIsCreated) {
  t.system.documents = u"C:\\Users\\ada\\Documents";
  SetConfigDirectoryOverride(u"C:\\elsewhere");
  EXPECT_EQ(ConfigDirectory(t.env), u"C:\\elsewhere");
  EXPECT_TRUE(files.IsDirectory(u"C:\\elsewhere"));
  SetConfigDirectoryOverride(u"");
  EXPECT_EQ(ConfigDirectory(t.env), u"C:\\Users\\ada\\Documents\\Quillmor\\config");
}

}  // namespace
}  // namespace quillmor
