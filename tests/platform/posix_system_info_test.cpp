#include "platform/posix/posix_system_info.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/env.h"
#include "platform/utf.h"
#include "platform/win32_constants.h"
#include "tests/scratch_directory.h"

namespace quillmor {
namespace {

// Sets environment variables for one test and puts the old values back.
class ScopedEnvironment {
 public:
  void Set(const char* name, const char* value) {
    if (!saved_.count(name)) {
      const char* old = std::getenv(name);
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

class PosixSystemInfoTest : public ::testing::Test {
 protected:
  PosixSystemInfoTest() {
    environment.Set("HOME", home.c_str());
    environment.Set("XDG_DATA_HOME", nullptr);
    environment.Set("TMPDIR", nullptr);
    environment.Set("QUILLMOR_DEBUG_OUTPUT", nullptr);
  }
  ScratchDirectory scratch{"quillmor-home"};
  const std::string home = scratch.path().string();
  ScopedEnvironment environment;
};

TEST_F(PosixSystemInfoTest, FoldersExistOrAreNotOffered) {
  std::u16string path;
  {
    PosixSystemInfo system;
    EXPECT_FALSE(system.DocumentsFolder(path));
    EXPECT_FALSE(system.LocalAppDataFolder(path));
    EXPECT_EQ(system.TempPath(), u"/tmp/");
  }
  std::filesystem::create_directories(home + "/Documents");
  std::filesystem::create_directories(home + "/.local/share");
  {
    PosixSystemInfo system;
    ASSERT_TRUE(system.DocumentsFolder(path));
    EXPECT_EQ(path, U16(home + "/Documents"));
    ASSERT_TRUE(system.LocalAppDataFolder(path));
    EXPECT_EQ(path, U16(home + "/.local/share"));
  }
  environment.Set("XDG_DATA_HOME", home.c_str());
  environment.Set("TMPDIR", "/var/tmp");
  {
    PosixSystemInfo system;
    ASSERT_TRUE(system.LocalAppDataFolder(path));
    EXPECT_EQ(path, U16(home));
    EXPECT_EQ(system.TempPath(), u"/var/tmp/");
  }
  environment.Set("XDG_DATA_HOME", "relative/ignored");
  {
    PosixSystemInfo system;
    ASSERT_TRUE(system.LocalAppDataFolder(path));
    EXPECT_EQ(path, U16(home + "/.local/share"));
  }
}

TEST_F(PosixSystemInfoTest, DebugOutputGoesToStderrOnlyWhenAsked) {
  {
    PosixSystemInfo quiet;
    ::testing::internal::CaptureStderr();
    quiet.DebugOutput(std::string_view("hidden\n"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  }
  environment.Set("QUILLMOR_DEBUG_OUTPUT", "1");
  PosixSystemInfo loud;
  ::testing::internal::CaptureStderr();
  loud.DebugOutput(std::string_view("[Quillmor] narrow\n"));
  loud.DebugOutput(std::u16string_view(u"[Quillmor] \u4e2d\n"));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[Quillmor] narrow\n[Quillmor] \xe4\xb8\xad\n");
}

TEST(PosixDefaultEnvTest, HasNoVolumeDevices) {
  uint32_t error = 0;
  EXPECT_EQ(DefaultEnv().volumes->Open(u"\\\\.\\C:", win32::kGenericRead, error), nullptr);
  EXPECT_EQ(error, win32::kErrorFileNotFound);
  EXPECT_EQ(DefaultEnv().text->AnsiCodePage(), 1252u);
  EXPECT_EQ(DefaultEnv().files->LogicalDrives(), 0u);
}

}  // namespace
}  // namespace quillmor
