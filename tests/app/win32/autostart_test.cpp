// Start at logon against real processes and a real registry: QuoteArgument
// against CommandLineToArgvW, RunHidden against a stand-in program, and the
// toggle's paths with schtasks replaced by it (and once with Wine's own).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/autostart.h"
#include "app/core/command_line_quote.h"
#include "app/run_hidden.h"
#include "app/win32_app.h"
#include "platform/thread.h"
#include "platform/win32/scoped_handle.h"
#include "tests/running_under_wine.h"
#include "tests/scratch_directory.h"

namespace quillmor {
namespace {

std::wstring Wide(std::u16string_view text) { return win32::Wide(text); }

// The arguments CommandLineToArgvW finds after the program name.
std::vector<std::u16string> SplitArguments(const std::u16string& commandLine) {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(Wide(commandLine).c_str(), &count);
  std::vector<std::u16string> arguments;
  for (int i = 1; argv != nullptr && i < count; ++i) arguments.push_back(win32::FromWide(argv[i]));
  LocalFree(argv);
  return arguments;
}

const std::vector<std::u16string>& TrickyArguments() {
  static const std::vector<std::u16string> arguments = {
      u"plain",
      u"two words",
      u"tab\there",
      u"say \"hi\"",
      u"\"",
      u"C:\\dir\\",
      u"C:\\Program Files\\",
      u"trailing two\\\\",
      u"a\\\"b",
      u"a\\\\\"b c",
      u"a\\\\\\\"b",
      u"\\\\server\\share\\x y",
      u"\"C:\\Program Files\\Q\\q.exe\" -hidden",
      u"é 中 \U0001F600",
  };
  return arguments;
}

TEST(QuoteArgumentWin32Test, EachQuotedArgumentSplitsBackToItself) {
  for (const std::u16string& argument : TrickyArguments()) {
    EXPECT_EQ(SplitArguments(u"prog " + QuoteArgument(argument)), std::vector<std::u16string>{argument})
        << testing::PrintToString(argument);
  }
  // An empty argument contributes nothing to the command line.
  EXPECT_TRUE(SplitArguments(u"prog " + QuoteArgument(u"")).empty());
  EXPECT_EQ(SplitArguments(BuildCommandLine(u"C:\\Program Files\\x.exe", TrickyArguments())), TrickyArguments());
}

TEST(QuoteArgumentWin32Test, TheTaskCommandAndATrailingBackslash) {
  const std::u16string task = AutostartTaskCommand(u"C:\\Program Files\\Q\\q.exe");
  const std::vector<std::u16string> create = CreateTaskArguments(task);
  const std::vector<std::u16string> split =
      SplitArguments(BuildCommandLine(u"C:\\Windows\\system32\\schtasks.exe", create));
  EXPECT_EQ(split, create);
  EXPECT_EQ(split.back(), u"\"C:\\Program Files\\Q\\q.exe\" -hidden");
  EXPECT_EQ(SplitArguments(u"prog " + QuoteArgument(u"C:\\Program Files\\Q\\") + u" next"),
            (std::vector<std::u16string>{u"C:\\Program Files\\Q\\", u"next"}));
}

// Under Wine: ntdll has wine_get_version.
std::u16string ThisFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::u16string folder = win32::FromWide(path);
  return folder.substr(0, folder.find_last_of(u'\\'));
}

// The stand-in for schtasks.exe (fake_schtasks.cpp) with a control folder of
// its own, and a Run key of this test's own under HKEY_CURRENT_USER.
class AutostartTest : public ::testing::Test {
 protected:
  AutostartTest() {
    const std::u16string id = Number(GetCurrentProcessId()) + u"-" + Number(++serial_);
    SetEnvironmentVariableW(L"QUILLMOR_FAKE_SCHTASKS", control_.path().c_str());
    runKey_ = u"Software\\QuillmorTests\\Run-" + id;
    paths.schtasks = ThisFolder() + u"\\fake-schtasks.exe";
    paths.runKey = runKey_;
  }
  ~AutostartTest() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, Wide(runKey_).c_str());
    SetEnvironmentVariableW(L"QUILLMOR_FAKE_SCHTASKS", nullptr);
  }

  static std::u16string Number(unsigned long value) {
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
  }

  // A file of the control folder.
  std::filesystem::path Control(const std::wstring& name) const { return control_.path() / name; }

  // VERB.exit (or VERB.sleep when `code` is negative) in the control folder.
  void Answer(const std::wstring& verb, long code) {
    std::ofstream(Control(verb + (code < 0 ? L".sleep" : L".exit"))) << (code < 0 ? 0 : code);
  }
  bool TaskFileExists() { return std::filesystem::exists(Control(L"task")); }

  // Each call's arguments, as the stand-in recorded them ("<a><b>").
  std::vector<std::string> Calls() {
    std::ifstream in(Control(L"calls.txt"));
    std::vector<std::string> calls;
    for (std::string line; std::getline(in, line);) calls.push_back(line);
    return calls;
  }
  std::vector<std::string> Verbs() {
    std::vector<std::string> verbs;
    for (const std::string& call : Calls()) verbs.push_back(call.substr(1, call.find('>') - 1));
    return verbs;
  }
  // The process id the stand-in wrote first, or 0 before it has.
  DWORD StandInPid() {
    std::ifstream in(Control(L"pid.txt"));
    unsigned long pid = 0;
    in >> pid;
    return pid;
  }

  void SetRunValue(DWORD type, const void* data, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, Wide(runKey_).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, L"Quillmor", 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  void SetRunString(const wchar_t* text) {
    SetRunValue(REG_SZ, text, static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
  }
  bool RunValueExists() {
    return RegGetValueW(HKEY_CURRENT_USER, Wide(runKey_).c_str(), L"Quillmor", RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
  }

  static std::u16string CreateFailed(std::u16string_view code) {
    return u"Failed to create startup task.\nTask exit code: " + std::u16string(code) +
           u"\nTip: run app as administrator and enable again.";
  }

  AutostartPaths paths;
  const ScratchDirectory control_{"quillmor-fake-schtasks"};

 private:
  static inline unsigned long serial_ = 0;
  std::u16string runKey_;
};

TEST_F(AutostartTest, RunHiddenPassesEveryArgumentIntactAndReportsTheExitCode) {
  Answer(L"query", 7);
  std::vector<std::u16string> arguments = {u"/Query"};
  arguments.insert(arguments.end(), TrickyArguments().begin(), TrickyArguments().end());
  uint32_t exitCode = 0;
  ASSERT_TRUE(RunHidden(paths.schtasks, arguments, exitCode, 60000));
  EXPECT_EQ(exitCode, 7u);
  ASSERT_EQ(Calls().size(), 1u);
  std::string expected;
  for (const std::u16string& argument : arguments) {
    std::wstring wide = Wide(argument);
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr, nullptr);
    expected += "<" + utf8 + ">";
  }
  EXPECT_EQ(Calls()[0], expected);
}

TEST_F(AutostartTest, RunHiddenThatCannotStartLeavesTheExitCodeAlone) {
  uint32_t exitCode = 12345;
  const std::vector<std::u16string> none;
  EXPECT_FALSE(RunHidden(ThisFolder() + u"\\no-such-program.exe", none, exitCode, 1000));
  EXPECT_EQ(exitCode, 12345u);
}

TEST_F(AutostartTest, RunHiddenEndsAProgramThatOutrunsTheTimeoutWith1460AndReports258) {
  Answer(L"query", -1);
  // The stand-in must be watched before the timeout ends it; a start slower
  // than the timeout gets a longer one on the next round.
  for (uint32_t timeoutMs = 2000; timeoutMs <= 64000; timeoutMs *= 4) {
    uint32_t exitCode = 0;
    bool ranToEnd = true;
    Thread run([&] {
      const std::vector<std::u16string> arguments = {u"/Query"};
      ranToEnd = RunHidden(paths.schtasks, arguments, exitCode, timeoutMs);
    });
    win32::ScopedHandle watched;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!watched.valid() && std::chrono::steady_clock::now() < deadline) {
      if (const DWORD pid = StandInPid()) {
        watched.Reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
      } else {
        Sleep(5);
      }
    }
    run.join();
    EXPECT_FALSE(ranToEnd);
    EXPECT_EQ(exitCode, 258u);
    if (!watched.valid()) {
      std::filesystem::remove(Control(L"pid.txt"));
      continue;
    }
    ASSERT_EQ(WaitForSingleObject(watched.get(), 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(watched.get(), &code));
    EXPECT_EQ(code, 1460u);
    return;
  }
  FAIL() << "the stand-in never started within the timeouts tried";
}

TEST_F(AutostartTest, EnableDisableCycleWithTheTaskCommandArrivingWhole) {
  SystemAutostart system(paths);
  EXPECT_FALSE(IsAutostartEnabled(system));
  EXPECT_FALSE(ToggleAutostart(system, false).has_value());
  EXPECT_TRUE(TaskFileExists());
  EXPECT_TRUE(IsAutostartEnabled(system));
  EXPECT_FALSE(ToggleAutostart(system, false).has_value());
  EXPECT_FALSE(TaskFileExists());
  EXPECT_FALSE(IsAutostartEnabled(system));

  EXPECT_EQ(Verbs(), (std::vector<std::string>{"/Query", "/Query", "/Create", "/Query", "/Query", "/Query", "/Delete",
                                               "/Query"}));
  std::wstring exe(MAX_PATH, L'\0');
  exe.resize(GetModuleFileNameW(nullptr, exe.data(), MAX_PATH));
  std::string exeUtf8(exe.begin(), exe.end());  // the build folder's path is ASCII
  EXPECT_EQ(Calls()[2], "</Create></F></TN><Quillmor_AutoStart></SC><ONLOGON></DELAY><0000:15></RL><HIGHEST></TR><\"" +
                            exeUtf8 + "\" -hidden>");
  EXPECT_EQ(Calls()[6], "</Delete></TN><Quillmor_AutoStart></F>");
}

TEST_F(AutostartTest, SchtasksThatCannotStartIsReportedAsAllOnes) {
  paths.schtasks = ThisFolder() + u"\\no-such-schtasks.exe";
  SystemAutostart system(paths);
  EXPECT_EQ(ToggleAutostart(system, false), CreateFailed(u"4294967295"));
}

TEST_F(AutostartTest, RefusedCreationReportsSchtasksOwnExitCode) {
  Answer(L"create", 5);
  SetRunValue(REG_SZ, L"", sizeof(wchar_t));  // empty: does not count, and stays when nothing replaced it
  SystemAutostart system(paths);
  EXPECT_EQ(ToggleAutostart(system, false), CreateFailed(u"5"));
  EXPECT_TRUE(RunValueExists());
}

TEST_F(AutostartTest, TaskCreatedButNotFoundIsReportedWithZero) {
  Answer(L"query", 1);
  SystemAutostart system(paths);
  EXPECT_EQ(ToggleAutostart(system, false), CreateFailed(u"0"));
  EXPECT_EQ(Verbs(), (std::vector<std::string>{"/Query", "/Create", "/Query"}));
}

TEST_F(AutostartTest, RunValueAloneCountsAsOnAndIsRemovedWithoutTouchingTasks) {
  SetRunString(L"\"C:\\Old\\Quillmor.exe\" -hidden");
  SystemAutostart system(paths);
  EXPECT_TRUE(system.IsRunValuePresent());
  EXPECT_TRUE(IsAutostartEnabled(system));
  EXPECT_FALSE(ToggleAutostart(system, false).has_value());
  EXPECT_FALSE(RunValueExists());
  EXPECT_EQ(Verbs(), (std::vector<std::string>{"/Query", "/Query"}));
}

TEST_F(AutostartTest, EmptyOrNonStringRunValueDoesNotCountAndCreatingTheTaskRemovesIt) {
  const DWORD number = 1;
  struct Case {
    const char* what;
    DWORD type;
    const void* data;
    DWORD bytes;
  };
  const Case cases[] = {
      {"empty string", REG_SZ, L"", sizeof(wchar_t)},
      {"no bytes at all", REG_SZ, L"", 0},
      {"a number", REG_DWORD, &number, sizeof number},
      {"binary", REG_BINARY, "x\0y", 3},
  };
  for (const Case& c : cases) {
    SetRunValue(c.type, c.data, c.bytes);
    SystemAutostart system(paths);
    EXPECT_FALSE(system.IsRunValuePresent()) << c.what;
    EXPECT_FALSE(IsAutostartEnabled(system)) << c.what;
    EXPECT_FALSE(ToggleAutostart(system, false).has_value()) << c.what << ": enabling";
    EXPECT_FALSE(RunValueExists()) << c.what << ": the task replaces the Run value";
    EXPECT_FALSE(ToggleAutostart(system, false).has_value()) << c.what << ": disabling";
  }
}

TEST_F(AutostartTest, DeletingAMissingRunValueCountsAsGone) {
  SystemAutostart system(paths);
  uint32_t error = 0;
  EXPECT_TRUE(system.DeleteRunValue(error));  // the key itself is missing
  EXPECT_EQ(error, 2u);
  SetRunString(L"x");
  EXPECT_TRUE(system.DeleteRunValue(error));
  EXPECT_EQ(error, 0u);
  EXPECT_TRUE(system.DeleteRunValue(error));  // the key exists, the value not
  EXPECT_EQ(error, 2u);
}

TEST_F(AutostartTest, FailureShowsAnErrorBox) {
  struct Recorder : MessageBoxes {
    int Show(HWND, std::u16string_view text, std::u16string_view title, UINT type) override {
      shown.push_back({std::u16string(text), std::u16string(title), type});
      return IDOK;
    }
    struct Box {
      std::u16string text, title;
      UINT type;
    };
    std::vector<Box> shown;
  } boxes;
  Answer(L"create", 1);
  SystemAutostart system(paths);
  ToggleAutostartWithMessage(system, boxes, nullptr, true);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, u"创建开机启动失败。\n计划任务退出码: 1\n建议：以管理员身份运行后重新开启。");
  EXPECT_EQ(boxes.shown[0].title, u"Error");  // no language installed: the English default
  EXPECT_EQ(boxes.shown[0].type, static_cast<UINT>(MB_ICONERROR));
  std::filesystem::remove(Control(L"create.exit"));
  ToggleAutostartWithMessage(system, boxes, nullptr, false);
  EXPECT_EQ(boxes.shown.size(), 1u) << "success shows nothing";
}

// Wine's schtasks.exe creates tasks only from XML: "/SC ONLOGON" exits 1,
// and "/Query" exits 0 whatever it is asked. On Windows the same calls
// create and find a real task, which a test must not do.
TEST_F(AutostartTest, WinesOwnSchtasksRefusesTheLogonTaskWithExitCode1) {
  if (!RunningUnderWine()) GTEST_SKIP() << "would create a real logon task";
  paths.schtasks = SystemSchtasksPath();
  SystemAutostart system(paths);
  EXPECT_EQ(EnableAutostart(system, false), CreateFailed(u"1"));
  // Its query always succeeds, so the task looks present and a toggle tries
  // to delete it, which fails with 1 as well (no Run value: registry 2).
  EXPECT_TRUE(IsStartupTaskPresent(system));
  EXPECT_EQ(ToggleAutostart(system, false), u"Failed to disable startup.\nTask exit code: 1\nRegistry error: 2");
}

}  // namespace
}  // namespace quillmor
