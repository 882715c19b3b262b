// The set-up most settings tests share: the in-memory platform with a
// documents folder, so that the configuration directory is
// C:\Users\ada\Documents\Quillmor\config, the temporary directory C:\Temp
// and the local time 2026-03-14 09:26:53.589.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <thread>

#include "platform/sim/memory_file_system.h"
#include "platform/sim/test_env.h"
#include "platform/utf.h"

namespace quillmor {

inline constexpr std::u16string_view kDocuments = u"C:\\Users\\ada\\Documents";
inline constexpr std::u16string_view kConfigDir = u"C:\\Users\\ada\\Documents\\Quillmor\\config";

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() : files(&t.clock) {
    t.env.files = &files;
    t.system.documents = std::u16string(kDocuments);
    t.system.tempPath = u"C:\\Temp\\";
    t.clock.SetLocalTime(
        LocalTime{.year = 2026, .month = 3, .day = 14, .hour = 9, .minute = 26, .second = 53, .milliseconds = 589});
    files.AddDirectories(kDocuments);
    files.AddDirectories(u"C:\\Temp");
  }

  static std::u16string ConfigFile(std::u16string_view name) {
    std::u16string path;
    path.reserve(kConfigDir.size() + 1 + name.size());
    path.append(kConfigDir).append(u"\\").append(name);
    return path;
  }

  // Writes a settings file as a user's editor might: UTF-8, "\n" line ends.
  void PutConfigFile(std::u16string_view name, std::string_view text) { files.AddFile(ConfigFile(name), text); }

  // A file's text with the byte-order mark and the "\r" of each line end
  // removed; "<missing>" when there is no file.
  std::string ReadableText(std::u16string_view path) {
    const std::optional<std::string> bytes = files.Contents(path);
    if (!bytes) return "<missing>";
    std::string text = bytes->starts_with("\xEF\xBB\xBF") ? bytes->substr(3) : *bytes;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
      out.push_back(text[i]);
    }
    return out;
  }

  // Waits in real time, in short steps, for something another thread does.
  template <typename Condition>
  static bool Eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

  TestEnv t;
  MemoryFileSystem files;
  Env& env = t.env;
};

}  // namespace quillmor
