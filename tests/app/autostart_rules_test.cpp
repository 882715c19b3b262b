#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/core/autostart_rules.h"

namespace quillmor {
namespace {

// schtasks and the Run value as a test scripts them. Each verb ("/Create",
// "/Query", "/Delete") answers as told; every call is recorded.
class ScriptedAutostart : public AutostartSystem {
 public:
  struct Outcome {
    bool ranToEnd = true;
    uint32_t exitCode = 0;  // when it ran to its end, or 258 for a timeout
    bool started = true;
  };

  ScriptedAutostart() { outcomes[u"/Query"] = {true, 1}; }  // no task unless a test says so

  bool RunSchtasks(std::span<const std::u16string> arguments, uint32_t& exitCode, uint32_t timeoutMs) override {
    calls.emplace_back(arguments.begin(), arguments.end());
    timeouts.push_back(timeoutMs);
    const Outcome outcome = outcomes[arguments.empty() ? u"" : arguments[0]];
    if (!outcome.started) return false;
    exitCode = outcome.exitCode;
    return outcome.ranToEnd;
  }
  bool IsRunValuePresent() override { return runValue; }
  bool DeleteRunValue(uint32_t& error) override {
    ++runValueDeletes;
    error = deleteError;
    if (deleteError == 0) runValue = false;
    return deleteError == 0 || deleteError == 2;
  }
  std::u16string ExecutablePath() override { return u"C:\\Program Files\\Quillmor\\Quillmor.exe"; }

  std::vector<std::u16string> Verbs() const {
    std::vector<std::u16string> verbs;
    for (const auto& call : calls) verbs.push_back(call.empty() ? u"" : call[0]);
    return verbs;
  }

  std::map<std::u16string, Outcome> outcomes;
  bool runValue = false;
  uint32_t deleteError = 0;
  int runValueDeletes = 0;
  std::vector<std::vector<std::u16string>> calls;
  std::vector<uint32_t> timeouts;
};

using Verbs = std::vector<std::u16string>;

TEST(AutostartRulesTest, ArgumentListsAndTaskCommand) {
  const std::u16string command = AutostartTaskCommand(u"C:\\Program Files\\Q\\q.exe");
  EXPECT_EQ(command, u"\"C:\\Program Files\\Q\\q.exe\" -hidden");
  EXPECT_EQ(CreateTaskArguments(command),
            (std::vector<std::u16string>{u"/Create", u"/F", u"/TN", u"Quillmor_AutoStart", u"/SC", u"ONLOGON",
                                         u"/DELAY", u"0000:15", u"/RL", u"HIGHEST", u"/TR", command}));
  EXPECT_EQ(QueryTaskArguments(), (std::vector<std::u16string>{u"/Query", u"/TN", u"Quillmor_AutoStart"}));
  EXPECT_EQ(DeleteTaskArguments(), (std::vector<std::u16string>{u"/Delete", u"/TN", u"Quillmor_AutoStart", u"/F"}));
}

TEST(AutostartRulesTest, EnablingCreatesTheTaskThenRemovesTheRunValueAndLooksForTheTask) {
  ScriptedAutostart system;
  system.outcomes[u"/Create"] = {true, 0};
  system.outcomes[u"/Query"] = {true, 0};
  EXPECT_FALSE(EnableAutostart(system, false).has_value());
  EXPECT_EQ(system.Verbs(), (Verbs{u"/Create", u"/Query"}));
  EXPECT_EQ(system.timeouts, (std::vector<uint32_t>{15000, 10000}));
  EXPECT_EQ(system.calls[0].back(), u"\"C:\\Program Files\\Quillmor\\Quillmor.exe\" -hidden");
  EXPECT_EQ(system.runValueDeletes, 1);
}

TEST(AutostartRulesTest, ToggleEnablesWhenNeitherTaskNorRunValueIsThere) {
  ScriptedAutostart system;
  system.outcomes[u"/Create"] = {true, 0};
  ToggleAutostart(system, false);
  EXPECT_EQ(system.Verbs(), (Verbs{u"/Query", u"/Create", u"/Query"}));
}

TEST(AutostartRulesTest, EnablingFailuresReportTheTaskExitCode) {
  struct Case {
    const char* what;
    ScriptedAutostart::Outcome create;
    std::u16string_view reported;
  };
  const Case cases[] = {
      {"schtasks cannot be started", {false, 0, false}, u"4294967295"},
      {"refused", {true, 1}, u"1"},
      {"access denied", {true, 5}, u"5"},
      {"ran past its timeout", {false, 258}, u"258"},
  };
  for (const Case& c : cases) {
    ScriptedAutostart system;
    system.outcomes[u"/Create"] = c.create;
    const std::optional<std::u16string> message = EnableAutostart(system, false);
    ASSERT_TRUE(message.has_value()) << c.what;
    const std::u16string expected = u"Failed to create startup task.\nTask exit code: " + std::u16string(c.reported) +
                                    u"\nTip: run app as administrator and enable again.";
    EXPECT_EQ(*message, expected) << c.what;
    EXPECT_EQ(system.Verbs(), (Verbs{u"/Create"})) << c.what;
    EXPECT_EQ(system.runValueDeletes, 0) << c.what << ": the Run value stays when nothing replaced it";
  }
}

TEST(AutostartRulesTest, CreatedButNotFoundIsReportedWithExitCodeZero) {
  ScriptedAutostart system;
  system.outcomes[u"/Create"] = {true, 0};
  system.outcomes[u"/Query"] = {true, 1};
  EXPECT_EQ(EnableAutostart(system, false),
            u"Failed to create startup task.\nTask exit code: 0\nTip: run app as administrator and enable again.");
}

TEST(AutostartRulesTest, RunValueAloneCountsAsOnAndTogglingRemovesIt) {
  ScriptedAutostart system;
  system.runValue = true;
  EXPECT_TRUE(IsAutostartEnabled(system));
  EXPECT_FALSE(ToggleAutostart(system, false).has_value());
  EXPECT_EQ(system.Verbs(), (Verbs{u"/Query", u"/Query"})) << "no task, so no delete";
  EXPECT_FALSE(system.runValue);
  EXPECT_FALSE(IsAutostartEnabled(system));
}

TEST(AutostartRulesTest, DisablingDeletesThePresentTask) {
  ScriptedAutostart system;
  system.outcomes[u"/Query"] = {true, 0};
  system.outcomes[u"/Delete"] = {true, 0};
  system.deleteError = 2;  // no Run value: gone already
  EXPECT_FALSE(ToggleAutostart(system, false).has_value());
  EXPECT_EQ(system.Verbs(), (Verbs{u"/Query", u"/Delete"}));
  EXPECT_EQ(system.timeouts.back(), 10000u);
}

TEST(AutostartRulesTest, DisablingFailuresReportTheTaskCodeAndTheRegistryError) {
  ScriptedAutostart refused;
  refused.outcomes[u"/Query"] = {true, 0};
  refused.outcomes[u"/Delete"] = {true, 1};
  EXPECT_EQ(ToggleAutostart(refused, false), u"Failed to disable startup.\nTask exit code: 1\nRegistry error: 0");

  ScriptedAutostart locked;
  locked.runValue = true;
  locked.deleteError = 5;
  EXPECT_EQ(ToggleAutostart(locked, false), u"Failed to disable startup.\nTask exit code: 0\nRegistry error: 5");

  ScriptedAutostart hung;
  hung.outcomes[u"/Query"] = {true, 0};
  hung.outcomes[u"/Delete"] = {false, 258};
  hung.deleteError = 2;
  EXPECT_EQ(ToggleAutostart(hung, false), u"Failed to disable startup.\nTask exit code: 258\nRegistry error: 2");
}

TEST(AutostartRulesTest, QueryThatDoesNotFinishMeansNoTask) {
  ScriptedAutostart system;
  system.outcomes[u"/Query"] = {false, 258};
  EXPECT_FALSE(IsStartupTaskPresent(system));
  system.outcomes[u"/Query"] = {false, 0, false};
  EXPECT_FALSE(IsStartupTaskPresent(system));
}

TEST(AutostartRulesTest, ChineseMessages) {
  EXPECT_EQ(EnableFailedMessage(1, true), u"创建开机启动失败。\n计划任务退出码: 1\n建议：以管理员身份运行后重新开启。");
  EXPECT_EQ(DisableFailedMessage(4294967295u, 5, true),
            u"关闭开机启动失败。\n计划任务退出码: 4294967295\n注册表错误码: 5");
}

}  // namespace
}  // namespace quillmor
