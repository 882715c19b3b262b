// The two diagnostic logs: the message log in the temporary directory and the
// timing log in the configuration directory.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/thread.h"
#include "settings/message_log.h"
#include "settings/perf_log.h"
#include "tests/settings/settings_fixture.h"

namespace quillmor {
namespace {

using DiagnosticLogTest = SettingsTest;

TEST_F(DiagnosticLogTest, MessageLogLivesInTheTemporaryDirectory) {
  const std::u16string path259 = u"C:\\" + std::u16string(255, u't') + u"\\";
  const std::u16string path260 = u"C:\\" + std::u16string(256, u't') + u"\\";
  const struct {
    std::u16string temp, expected;
  } cases[] = {
      {u"C:\\Temp\\", u"C:\\Temp\\Quillmor_gdi.log"},
      {u"", u".\\Quillmor_gdi.log"},
      {path259, path259 + u"Quillmor_gdi.log"},
      {path260, u".\\Quillmor_gdi.log"},
  };
  for (const auto& c : cases) {
    t.system.tempPath = c.temp;
    EXPECT_EQ(MessageLogPath(env), c.expected) << c.temp.size();
  }
}

TEST_F(DiagnosticLogTest, MessageLinesCarryTimeAndObjectCounts) {
  t.system.gdiObjects = 31;
  t.system.userObjects = 4000000000u;
  LogMessage(env, u"WM_CREATE begin");
  t.clock.SetLocalTime(
      LocalTime{.year = 2027, .month = 1, .day = 2, .hour = 3, .minute = 4, .second = 5, .milliseconds = 6});
  t.system.gdiObjects = 32;
  LogMessage(env);
  EXPECT_EQ(files.Contents(u"C:\\Temp\\Quillmor_gdi.log"),
            "\xEF\xBB\xBF[2026-03-14 09:26:53.589] GDI=31 USER=4000000000 WM_CREATE begin\r\n"
            "[2027-01-02 03:04:05.006] GDI=32 USER=4000000000 \r\n");
}

TEST_F(DiagnosticLogTest, EmptyTemporaryPathWritesBesideTheProgram) {
  t.system.tempPath = u"";
  LogMessage(env, u"WM_DESTROY end");
  EXPECT_NE(ReadableText(u".\\Quillmor_gdi.log").find("WM_DESTROY end"), std::string::npos);
}

TEST_F(DiagnosticLogTest, UnwritableLogsAreSkippedQuietly) {
  files.RefuseWritesUnder(u"C:\\Temp");
  LogMessage(env, u"lost");
  EXPECT_FALSE(files.Exists(u"C:\\Temp\\Quillmor_gdi.log"));

  files.RefuseWritesUnder(kDocuments);
  LogMetric(env, u"lost too");
  EXPECT_FALSE(files.Exists(ConfigFile(u"perf_metrics.log")));
}

TEST_F(DiagnosticLogTest, TimingLogLinesAreTimeStampedInTheConfigurationDirectory) {
  LogMetric(env, u"cache_save ms=5 path=C:\\x entries=3 bytes=10");
  LogMetric(env, u"sort col=1 type=name rows=2 total_ms=1");
  EXPECT_EQ(files.Contents(ConfigFile(u"perf_metrics.log")),
            "\xEF\xBB\xBF[2026-03-14 09:26:53.589] cache_save ms=5 path=C:\\x entries=3 bytes=10\r\n"
            "[2026-03-14 09:26:53.589] sort col=1 type=name rows=2 total_ms=1\r\n");
}

TEST_F(DiagnosticLogTest, ConcurrentWritersKeepLinesWholeAndOneByteOrderMark) {
  constexpr int kThreads = 4;
  constexpr int kLines = 50;
  std::vector<Thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      for (int n = 0; n < kLines; ++n) {
        const std::u16string text = u"writer=" + U16(std::to_string(i)) + u" n=" + U16(std::to_string(n));
        LogMetric(env, text);
        LogMessage(env, text);
      }
    });
  }
  for (auto& th : threads) th.join();
  for (const std::u16string& path : {ConfigFile(u"perf_metrics.log"), std::u16string(u"C:\\Temp\\Quillmor_gdi.log")}) {
    const std::optional<std::string> bytes = files.Contents(path);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->find("\xEF\xBB\xBF"), 0u);
    EXPECT_EQ(bytes->find("\xEF\xBB\xBF", 1), std::string::npos);
    const std::string text = ReadableText(path);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), kThreads * kLines);
    for (int i = 0; i < kThreads; ++i) {
      EXPECT_NE(text.find("writer=" + std::to_string(i) + " n=" + std::to_string(kLines - 1) + "\n"),
                std::string::npos);
    }
  }
}

}  // namespace
}  // namespace quillmor
